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
    QStringList args = QCoreApplication::arguments().mid(1);

    OrvQtLib::Tools::PreviewRequest request;
    QString output;
    QStringList positional;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("-o") && !args.isEmpty()) {
            output = args.takeFirst();
        } else if (arg == QLatin1String("--size") && !args.isEmpty()) {
            request.size = OrvQtLib::Tools::parseSizeOption(args.takeFirst());
            if (!request.size.isValid())
                return usage();
        } else if (arg == QLatin1String("--scale") && !args.isEmpty()) {
            request.scale = OrvQtLib::Tools::parseScaleOption(args.takeFirst());
            if (request.scale <= 0)
                return usage();
        } else if (arg == QLatin1String("--state") && !args.isEmpty()) {
            std::pair<QString, OrvQtLib::OrvQControlState> state;
            if (!OrvQtLib::Tools::parseStateOption(args.takeFirst(), &state))
                return usage();
            request.states.push_back(state);
        } else if (arg == QLatin1String("--check") && !args.isEmpty()) {
            request.checked.append(args.takeFirst());
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return usage();
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2)
        return usage();
    request.package = positional[0];
    request.description = positional[1];
    if (output.isEmpty())
        output = QFileInfo(request.description).completeBaseName() + QStringLiteral(".png");

    QString error;
    const QImage image = OrvQtLib::Tools::renderPreview(request, &error);
    if (image.isNull()) {
        QTextStream(stderr) << "orvq-preview: " << error << '\n';
        return 1;
    }
    if (!image.save(output, "PNG")) {
        QTextStream(stderr) << "orvq-preview: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
