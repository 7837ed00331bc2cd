// orvq-lupdate PACKAGE -ts FILE.ts: writes the user-visible texts of a skin
// package's descriptions into a Qt Linguist TS file, merging with the file
// when it exists. Exit status 1 on failure, 2 on misuse.

#include "tsupdate.h"

#include "controlregistry.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() != 3 || args.at(1) != QLatin1String("-ts")) {
        err << "usage: orvq-lupdate PACKAGE -ts FILE.ts\n";
        return 2;
    }
    OrvQtLib::initialize();
    OrvQtLib::Tools::TsContexts contexts;
    QString error;
    if (!OrvQtLib::Tools::collectPackageTexts(args.at(0), &contexts, &error)
        || !OrvQtLib::Tools::writeTsFile(contexts, args.at(2), &error)) {
        err << "orvq-lupdate: " << error << '\n';
        return 1;
    }
    return 0;
}
