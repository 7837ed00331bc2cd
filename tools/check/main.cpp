// orvq-check PACKAGE [DESCRIPTION...]: what a skin package (a zip file or a
// folder holding an unpacked one) holds that the toolkit will ignore, misread
// or refuse, one line each. Exit status 0 when there are no errors (warnings
// or not), 1 when there are, 2 on misuse or when the input is no package.

#include "skinchecker.h"

#include "controlregistry.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Image readers complain about the broken images this tool is run to
    // find; its own lines say it better.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-'))) {
        QTextStream(stderr) << "usage: orvq-check PACKAGE [DESCRIPTION...]\n";
        return 2;
    }
    OrvQtLib::initialize();
    const QString package = args.takeFirst();
    const std::vector<OrvQtLib::Tools::SkinFinding> findings = OrvQtLib::Tools::checkSkinPackage(package, args);
    for (const OrvQtLib::Tools::SkinFinding &finding : findings)
        out << OrvQtLib::Tools::formatFinding(finding) << '\n';
    return OrvQtLib::Tools::exitStatus(findings);
}
