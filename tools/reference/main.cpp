// orvq-reference FILE: writes the control reference (docs/controls.md).

#include "controlreference.h"

#include "controlregistry.h"

#include <QApplication>
#include <QSaveFile>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    OrvQtLib::initialize();
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(OrvQtLib::Tools::controlReference().toUtf8());
    return file.commit() ? 0 : 1;
}
