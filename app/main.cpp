#include "orvqtquelvane.h"

#include "controlregistry.h"

#include <QApplication>
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
    OrvQtLib::loadSkinPackage(packagePath());
    OrvQtQuelvane window;
    window.show();
    return app.exec();
}
