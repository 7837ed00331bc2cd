#include "orvqtquelvane.h"

#include "controlregistry.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    OrvQtLib::initialize();
    OrvQtLib::loadSkinPackage(QStringLiteral("./Quelvane.data"));
    OrvQtQuelvane window;
    window.show();
    return app.exec();
}
