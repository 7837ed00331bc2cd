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
    QStringList args = QCoreApplication::arguments().mid(1);

    OrvQtLib::Tools::PreviewRequest request;
    QStringList positional;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg.startsWith(QLatin1Char('-'))) {
            if (!OrvQtLib::Tools::takePreviewOption(arg, args, &request))
                return usage();
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2)
        return usage();
    request.package = positional[0];
    request.description = positional[1];

    OrvQtLib::initialize();
    OrvQtLib::Tools::LiveView view(request);
    view.setWindowTitle(QStringLiteral("%1 - %2").arg(request.description, request.package));
    view.show();
    return app.exec();
}
