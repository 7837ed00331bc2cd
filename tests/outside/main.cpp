#include <orvqtlib/orvqtlib.h>
#include <window.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class Panel : public OrvQtLib::OrvQControl<QWidget>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    QString typeName() const override { return QStringLiteral("panel"); }
};

} // namespace

int main(int argc, char **argv)
{
    if (hostWindowCount() != 1)
        return 3;
    QApplication app(argc, argv);
    OrvQtLib::initialize();
    OrvQtLib::registerControl("panel", &OrvQtLib::createControlOf<Panel>, true);

    QTemporaryDir dir;
    QFile description(dir.filePath("Outside.json"));
    if (!description.open(QIODevice::WriteOnly))
        return 2;
    description.write(R"({"elements":[{"type":"panel","name":"p","layout":{"type":1,"x":4,"y":4,"r":4,"b":4}}]})");
    description.close();
    QDir::setCurrent(dir.path());

    QWidget window;
    window.resize(200, 100);
    QWidget *panel = OrvQtLib::loadWindowLayout(&window, "Outside");
    if (!panel || panel->objectName() != QLatin1String("p") || panel->geometry() != QRect(4, 4, 192, 92))
        return 1;
    return 0;
}

#include "main.moc"
