// orvq-live PACKAGE_OR_FOLDER DESCRIPTION [--size WxH]
//           [--state NAME=hover|pressed|disabled ...] [--check NAME ...]
// Shows a description of a skin package and rebuilds it on every save of
// the package or of a file under the folder.

#include "controlregistry.h"
#include "liveview.h"

#include <QApplication>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: orvq-live PACKAGE_OR_FOLDER DESCRIPTION [--size WxH] "
                           "[--state NAME=hover|pressed|disabled ...] [--check NAME ...]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    OrvQtLib::Tools::PreviewRequest request;
    if (!OrvQtLib::Tools::parsePreviewArguments(QCoreApplication::arguments().mid(1), &request))
        return usage();

    OrvQtLib::initialize();
    OrvQtLib::Tools::LiveView view(request);
    view.setWindowTitle(QStringLiteral("%1 - %2").arg(request.description, request.package));
    view.show();
    return app.exec();
}
