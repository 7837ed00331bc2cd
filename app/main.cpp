#include "orvqtquelvane.h"

#include "controlregistry.h"

#include <QApplication>
#include <QMessageBox>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    OrvQtLib::initialize();
    // The package in the working directory, as in the build tree; else the
    // one installed beside the program's prefix.
    QString day;
    const QString problem = loadMonitorSkin({QStringLiteral("./Quelvane.data"),
                                             QCoreApplication::applicationDirPath()
                                                 + QStringLiteral("/../share/quelvane/Quelvane.data")},
                                            &day);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "quelvane: %s\n", qUtf8Printable(problem));
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            QMessageBox::critical(nullptr, QStringLiteral("Quelvane"), problem);
        return 1;
    }
    OrvQtQuelvane window;
    window.setSkinPackages(day, QFileInfo(day).dir().filePath(QStringLiteral("QuelvaneNight.data")));
    window.show();
    return app.exec();
}
