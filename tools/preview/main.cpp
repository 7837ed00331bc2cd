// orvq-preview PACKAGE DESCRIPTION [-o out.png] [--size WxH] [--scale F]
//              [--state NAME=hover|pressed|disabled ...] [--check NAME ...]
// Renders a description of a skin package offscreen into a PNG, with item
// views showing sample rows.

#include "skinpreview.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: orvq-preview PACKAGE DESCRIPTION [-o out.png] [--size WxH] [--scale F] "
                           "[--state NAME=hover|pressed|disabled ...] [--check NAME ...]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // No display is needed, nor used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window is shown at the asked scale, as on such a screen; Qt reads
    // the factor when the application starts.
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--scale") == 0 && OrvQtLib::Tools::parseScaleOption(QString::fromLocal8Bit(argv[i + 1])) > 0)
            qputenv("QT_SCALE_FACTOR", argv[i + 1]);
    }
    QApplication app(argc, argv);

    OrvQtLib::Tools::PreviewRequest request;
    QString output;
    if (!OrvQtLib::Tools::parsePreviewArguments(QCoreApplication::arguments().mid(1), &request, &output))
        return usage();
    if (output.isEmpty())
        output = QFileInfo(request.description).completeBaseName() + QStringLiteral(".png");

    QString error;
    bool unreadable = false;
    const QImage image = OrvQtLib::Tools::renderPreview(request, &error, &unreadable);
    if (image.isNull()) {
        QTextStream(stderr) << "orvq-preview: " << error << '\n';
        return unreadable ? 2 : 1;
    }
    if (!image.save(output, "PNG")) {
        QTextStream(stderr) << "orvq-preview: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
