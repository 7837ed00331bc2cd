// orvq-reference FILE: writes the control reference (docs/controls.md).
// orvq-reference --guide FILE: rewrites the generated tables of the format
// guide (docs/skin-format.md) in place.

#include "controlreference.h"
#include "skinformatguide.h"

#include "controlregistry.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool guide = args.size() == 3 && args.at(1) == QLatin1String("--guide");
    if (args.size() != 2 && !guide)
        return 2;
    OrvQtLib::initialize();
    QByteArray text;
    if (guide) {
        QFile current(args.at(2));
        if (!current.open(QIODevice::ReadOnly))
            return 1;
        text = OrvQtLib::Tools::updateSkinFormatGuide(QString::fromUtf8(current.readAll())).toUtf8();
    } else {
        text = OrvQtLib::Tools::controlReference().toUtf8();
    }
    QSaveFile file(args.last());
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(text);
    return file.commit() ? 0 : 1;
}
