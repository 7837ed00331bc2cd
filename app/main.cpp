#include "orvqtquelvane.h"

#include "controlregistry.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The package in the working directory, as in the build tree; else the one
// installed beside the program's prefix.
QString packagePath()
{
    const QString local = QStringLiteral("./Quelvane.data");
    if (QFileInfo::exists(local))
        return local;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quelvane/Quelvane.data");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    OrvQtLib::initialize();
    const QString day = packagePath();
    OrvQtLib::loadSkinPackage(day);
    OrvQtQuelvane window;
    window.setSkinPackages(day, QFileInfo(day).dir().filePath(QStringLiteral("QuelvaneNight.data")));
    window.show();
    return app.exec();
}
