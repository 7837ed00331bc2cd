#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

class First : public OrvQControl<QWidget>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    QString typeName() const override { return QStringLiteral("first"); }
};

class Second : public OrvQControl<QWidget>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    QString typeName() const override { return QStringLiteral("second"); }
};

QWidget *createNothing()
{
    return nullptr;
}

QWidget *createPlainWidget()
{
    return new QWidget;
}

} // namespace

class TestControlRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void createParentsAndLoads();
    void namesAreCaseSensitive();
    void lastRegistrationWins();
    void nullArgumentsIgnored();
    void creatorReturningNull();
    void plainWidgetIsNotLoaded();
    void exposedTypes();
    void initializeTwiceKeepsRegistry();
    void layoutToolPaths_data();
    void layoutToolPaths();
};

void TestControlRegistry::initTestCase()
{
    initialize();
    registerControl("first", &createControlOf<First>, true);
}

void TestControlRegistry::createParentsAndLoads()
{
    QWidget parent;
    QWidget *widget = createControl("first", parseJson(R"({"name":"made","x":1,"y":2,"w":3,"h":4})"), &parent);
    QVERIFY(qobject_cast<First *>(widget));
    QCOMPARE(widget->parentWidget(), &parent);
    QCOMPARE(widget->objectName(), QStringLiteral("made"));
    QCOMPARE(controlInterface(widget)->layoutType(), int(LayoutFixed));
}

void TestControlRegistry::namesAreCaseSensitive()
{
    QWidget parent;
    QVERIFY(!createControl("First", Json::Value(), &parent));
    QVERIFY(!createControl("FIRST", Json::Value(), &parent));
    QVERIFY(!createControl("", Json::Value(), &parent));
    QVERIFY(!createControl(nullptr, Json::Value(), &parent));
    QVERIFY(parent.children().isEmpty());
}

void TestControlRegistry::lastRegistrationWins()
{
    registerControl("swapped", &createControlOf<First>, false);
    registerControl("swapped", &createControlOf<Second>, false);
    std::unique_ptr<QWidget> widget(createControl("swapped", Json::Value(), nullptr));
    QVERIFY(qobject_cast<Second *>(widget.get()));
}

void TestControlRegistry::nullArgumentsIgnored()
{
    registerControl(nullptr, &createControlOf<First>, true);
    registerControl("nocreator", nullptr, true);
    QVERIFY(!createControl("nocreator", Json::Value(), nullptr));
    QCOMPARE(OrvQtLib::exposedTypes().count("nocreator"), size_t(0));
}

void TestControlRegistry::creatorReturningNull()
{
    registerControl("nothing", &createNothing, false);
    QVERIFY(!createControl("nothing", Json::Value(), nullptr));
}

void TestControlRegistry::plainWidgetIsNotLoaded()
{
    registerControl("plain", &createPlainWidget, false);
    QWidget parent;
    QWidget *widget = createControl("plain", parseJson(R"({"name":"ignored"})"), &parent);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &parent);
    QVERIFY(widget->objectName().isEmpty());
}

void TestControlRegistry::exposedTypes()
{
    registerControl("hiddentype", &createControlOf<First>, false);
    registerControl("showntype", &createControlOf<First>, true);
    registerControl("showntype", &createControlOf<Second>, false); // once exposed, stays exposed
    QCOMPARE(OrvQtLib::exposedTypes().count("hiddentype"), size_t(0));
    QCOMPARE(OrvQtLib::exposedTypes().count("showntype"), size_t(1));
}

void TestControlRegistry::initializeTwiceKeepsRegistry()
{
    registerControl("custom", &createControlOf<Second>, false);
    const bool preview = isPreviewMode();
    initialize();
    std::unique_ptr<QWidget> widget(createControl("custom", Json::Value(), nullptr));
    QVERIFY(qobject_cast<Second *>(widget.get()));
    QCOMPARE(isPreviewMode(), preview);
    QVERIFY(loadSkinPackage(QStringLiteral("/nonexistent/package.data")) == false);
}

void TestControlRegistry::layoutToolPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("tool");
    QTest::newRow("emulator") << "C:/Tools/OrvantaQtEmulator.exe" << true;
    QTest::newRow("designer in a folder name") << "/opt/Formwright/bin/run" << true;
    QTest::newRow("case differs") << "/opt/formwright/bin/run" << false;
    QTest::newRow("ordinary program") << "/usr/bin/quelvane" << false;
}

void TestControlRegistry::layoutToolPaths()
{
    QFETCH(QString, path);
    QFETCH(bool, tool);
    QCOMPARE(isLayoutToolPath(path), tool);
}

QTEST_MAIN(TestControlRegistry)
#include "tst_controlregistry.moc"
