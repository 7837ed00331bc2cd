#include "orvqtlib.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace OrvQtLib;

namespace {

QStringList callLog;

class ProbeImpl : public OrvQControlBaseImpl
{
public:
    using OrvQControlBaseImpl::OrvQControlBaseImpl;
    void loadFinished() override { callLog << QStringLiteral("finished:") + widget()->objectName(); }
};

// Logs the calls the loader makes, with the parent each load sees.
class Probe : public OrvQControl<QWidget, ProbeImpl>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    Probe() { callLog << QStringLiteral("create"); }
    QString typeName() const override { return QStringLiteral("probe"); }

protected:
    bool loadControlKeys(const Json::Value &element) override
    {
        const QWidget *parent = parentWidget();
        callLog << QStringLiteral("load:%1 in %2").arg(objectName(), parent ? parent->objectName() : QStringLiteral("-"));
        loadedParentSize = parent ? parent->size() : QSize();
        return OrvQControl::loadControlKeys(element);
    }

public:
    QSize loadedParentSize;
};

QWidget *createPlainWidget()
{
    return new QWidget;
}

// Loads another description into itself while its own is being built.
class NestedLoader : public OrvQControl<QWidget, OrvQControlBaseImpl>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    QString typeName() const override { return QStringLiteral("nestedloader"); }

protected:
    bool loadControlKeys(const Json::Value &element) override
    {
        loadWindowLayout(this, QStringLiteral("Big"));
        return OrvQControl::loadControlKeys(element);
    }
};

// A dialog-like target that takes the window keys.
class KeyWindow : public QWidget, public OrvQWindowKeyTarget
{
public:
    void setDraggable(bool on) override { calls << QStringLiteral("drag=%1").arg(on); }
    void setResizable(bool on) override { calls << QStringLiteral("resize=%1").arg(on); }
    void setMinHeight(int h) override { calls << QStringLiteral("minH=%1").arg(h); }
    void setMinWidth(int w) override { calls << QStringLiteral("minW=%1").arg(w); }
    void setOnlyDragCaption(bool on) override { calls << QStringLiteral("caption=%1").arg(on); }
    QStringList calls;
};

} // namespace

class TestWindowLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void callOrder();
    void layoutAfterSubtree();
    void resultIsLastElement_data();
    void resultIsLastElement();
    void skippingRules();
    void badDocuments_data();
    void badDocuments();
    void fileNames_data();
    void fileNames();
    void documentEndsAtNul();
    void windowKeys_data();
    void windowKeys();
    void windowKeysOnlyForWindows();
    void transparentWindow();
    void deepNesting();
    void packageDescriptionsAreKept();
    void nestedLoadPushesOutItsOwnDescription();
    void documentCacheLimit();
    void skinLog();

private:
    void write(const QString &name, const QByteArray &content);
    QTemporaryDir m_dir;
    QString m_oldCurrent;
};

void TestWindowLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir.path()); // descriptions on disk are found relative to it
    initialize();
    registerControl("probe", &createControlOf<Probe>, true);
    registerControl("plainwidget", &createPlainWidget, true);
}

void TestWindowLoader::init()
{
    callLog.clear();
}

void TestWindowLoader::cleanupTestCase()
{
    QDir::setCurrent(m_oldCurrent);
}

void TestWindowLoader::write(const QString &name, const QByteArray &content)
{
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void TestWindowLoader::callOrder()
{
    write("Order.json", R"({"elements":[
        {"type":"probe","name":"a","child":[
            {"type":"probe","name":"b","child":[{"type":"probe","name":"c"}]},
            {"type":"probe","name":"d"}]},
        {"type":"probe","name":"e"}]})");
    QWidget target;
    target.setObjectName("target");
    QWidget *result = loadWindowLayout(&target, "Order");
    QVERIFY(result);
    QCOMPARE(result->objectName(), QStringLiteral("e"));
    const QStringList expected = {
        "create", "load:a in target",
        "create", "load:b in a",
        "create", "load:c in b", "finished:c",
        "finished:b",
        "create", "load:d in a", "finished:d",
        "finished:a",
        "create", "load:e in target", "finished:e",
    };
    QCOMPARE(callLog, expected);
}

void TestWindowLoader::layoutAfterSubtree()
{
    write("Layout.json", R"({"elements":[
        {"type":"probe","name":"outer","layout":{"type":1,"x":10,"y":10,"r":10,"b":10},"child":[
            {"type":"probe","name":"inner","layout":{"type":1,"x":5,"y":5,"r":5,"b":5}}]},
        {"type":"probe","name":"fixed","x":10,"y":20,"w":100,"h":30}]})");
    QWidget target;
    target.resize(200, 100);
    QVERIFY(loadWindowLayout(&target, "Layout"));
    auto *outer = target.findChild<QWidget *>("outer");
    auto *inner = target.findChild<QWidget *>("inner");
    auto *fixed = target.findChild<QWidget *>("fixed");
    QCOMPARE(outer->geometry(), QRect(10, 10, 180, 80));
    QCOMPARE(inner->geometry(), QRect(5, 5, 170, 70));
    QCOMPARE(fixed->geometry(), QRect(10, 20, 100, 30));
    QCOMPARE(fixed->maximumSize(), QSize(100, 30));
}

void TestWindowLoader::resultIsLastElement_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("result"); // object name, or empty for null
    QTest::addColumn<int>("built");

    QTest::newRow("last built") << QByteArray(R"({"elements":[{"type":"probe","name":"x"},{"type":"probe","name":"y"}]})") << "y" << 2;
    QTest::newRow("last unregistered") << QByteArray(R"({"elements":[{"type":"probe","name":"x"},{"type":"nosuch"}]})") << "" << 1;
    QTest::newRow("last is a scroll bar") << QByteArray(R"({"elements":[{"type":"probe","name":"x"},{"type":"qtscrollbar"}]})") << "" << 1;
    QTest::newRow("last is not an object") << QByteArray(R"({"elements":[{"type":"probe","name":"x"},7]})") << "" << 1;
    QTest::newRow("plain widget last") << QByteArray(R"({"elements":[{"type":"plainwidget"}]})") << "" << 1;
}

void TestWindowLoader::resultIsLastElement()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, result);
    QFETCH(int, built);

    write("Result.json", document);
    QWidget target;
    QWidget *widget = loadWindowLayout(&target, "Result");
    if (result.isEmpty() && built == 1 && document.contains("plainwidget")) {
        QVERIFY(widget);
        QVERIFY(!controlInterface(widget));
    } else if (result.isEmpty()) {
        QVERIFY(!widget);
    } else {
        QVERIFY(widget);
        QCOMPARE(widget->objectName(), result);
    }
    QCOMPARE(target.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), built);
}

void TestWindowLoader::skippingRules()
{
    write("Skip.json", R"({"elements":[
        {"name":"notype","child":[{"type":"probe","name":"lost1"}]},
        {"type":5,"name":"numbertype"},
        {"type":"Probe","name":"wrongcase"},
        {"type":"qtscrollbar","child":[{"type":"probe","name":"lost2"}]},
        "text", [], null,
        {"type":"probe","name":"objectchild","child":{"type":"probe","name":"lost3"}},
        {"type":"probe","name":"badentries","child":[1,"x",{"name":"lost4"},{"type":"probe","name":"kept"}]}
    ]})");
    QWidget target;
    target.setObjectName("target");
    QWidget *last = loadWindowLayout(&target, "Skip");
    QVERIFY(last);
    QCOMPARE(last->objectName(), QStringLiteral("badentries"));
    QStringList names;
    for (QWidget *w : target.findChildren<QWidget *>())
        names << w->objectName();
    names.sort();
    QCOMPARE(names, QStringList({"badentries", "kept", "objectchild"}));
    QVERIFY(callLog.contains("finished:objectchild"));
}

void TestWindowLoader::badDocuments_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("syntax error") << QByteArray(R"({"elements":[{"type":"probe"})");
    QTest::newRow("no elements") << QByteArray(R"({"w":3})");
    QTest::newRow("empty elements") << QByteArray(R"({"elements":[]})");
    QTest::newRow("elements as object") << QByteArray(R"({"elements":{"type":"probe"}})");
    QTest::newRow("elements as text") << QByteArray(R"({"elements":"probe"})");
    QTest::newRow("root is an array") << QByteArray(R"([{"elements":[{"type":"probe"}]}])");
    QTest::newRow("root is a number") << QByteArray("42");
    QTest::newRow("nesting beyond the parser") << QByteArray(20000, '[');
    QTest::newRow("only a NUL") << QByteArray(1, '\0');
}

void TestWindowLoader::badDocuments()
{
    QFETCH(QByteArray, document);
    write("Bad.json", document);
    QWidget target;
    QVERIFY(!loadWindowLayout(&target, "Bad"));
    QVERIFY(target.children().isEmpty());
}

void TestWindowLoader::fileNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("found");
    QTest::newRow("extension appended") << "Named.json" << "Named" << true;
    QTest::newRow("extension given") << "Named.json" << "Named.json" << true;
    QTest::newRow("capital extension gets another") << "Caps.JSON.json" << "Caps.JSON" << true;
    QTest::newRow("capital extension alone is not found") << "Alone.JSON" << "Alone.JSON" << false;
    QTest::newRow(".json inside the name is kept") << "odd.json.bak" << "odd.json.bak" << true;
    QTest::newRow("missing") << "Other.json" << "Missing" << false;
}

void TestWindowLoader::fileNames()
{
    QFETCH(QString, file);
    QFETCH(QString, request);
    QFETCH(bool, found);
    write(file, R"({"elements":[{"type":"probe","name":"here"}]})");
    QWidget target;
    QCOMPARE(loadWindowLayout(&target, request) != nullptr, found);
    QFile::remove(m_dir.filePath(file));
}

void TestWindowLoader::documentEndsAtNul()
{
    QByteArray content = R"(// comments are allowed
        {"elements":[{"type":"probe","name":"beforenul"}]})";
    content.append('\0');
    content.append("this is not JSON");
    write("Nul.json", content);
    QWidget target;
    QWidget *widget = loadWindowLayout(&target, "Nul");
    QVERIFY(widget);
    QCOMPARE(widget->objectName(), QStringLiteral("beforenul"));
}

void TestWindowLoader::windowKeys_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("all keys") << QByteArray(R"("w":320,"h":240,"drag":true,"resize":false,"minH":100,"minW":200,"onlyDragCaption":true)")
                              << QSize(320, 240) << QStringList({"drag=1", "resize=0", "minH=100", "minW=200", "caption=1"});
    QTest::newRow("width only") << QByteArray(R"("w":150)") << QSize(150, 50) << QStringList();
    QTest::newRow("wrong types are ignored") << QByteArray(R"("w":"wide","h":[],"drag":"yes","resize":{},"minH":"x","minW":null,"onlyDragCaption":[1])")
                                             << QSize(100, 50) << QStringList();
}

void TestWindowLoader::windowKeys()
{
    QFETCH(QByteArray, keys);
    QFETCH(QSize, size);
    QFETCH(QStringList, calls);

    write("Window.json", "{" + keys + R"(,"elements":[{"type":"probe","name":"filler","layout":{"type":1}}]})");
    KeyWindow window;
    window.setGeometry(7, 8, 100, 50);
    QVERIFY(loadWindowLayout(&window, "Window"));
    QCOMPARE(window.size(), size);
    QCOMPARE(window.pos(), QPoint(7, 8));
    QCOMPARE(window.calls, calls);
    // The window is resized before its controls are built and laid out.
    auto *filler = window.findChild<Probe *>("filler");
    QCOMPARE(filler->loadedParentSize, size);
    QCOMPARE(filler->size(), size);
}

void TestWindowLoader::windowKeysOnlyForWindows()
{
    write("Plain.json", R"({"w":500,"h":400,"trans":true,"elements":[{"type":"probe"}]})");
    QWidget target;
    target.resize(100, 50);
    QVERIFY(loadWindowLayout(&target, "Plain"));
    QCOMPARE(target.size(), QSize(100, 50));
    QVERIFY(!(target.windowFlags() & Qt::FramelessWindowHint));
}

void TestWindowLoader::transparentWindow()
{
    write("Trans.json", R"({"trans":true,"elements":[{"type":"probe"}]})");
    write("Opaque.json", R"({"trans":false,"elements":[{"type":"probe"}]})");
    KeyWindow window;
    QVERIFY(loadWindowLayout(&window, "Trans"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(loadWindowLayout(&window, "Opaque")); // false does not clear the flag
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
}

void TestWindowLoader::deepNesting()
{
    // Deep but parseable: every level is built and laid out.
    const int depth = 200;
    QByteArray document = R"({"elements":[)";
    for (int i = 0; i < depth; ++i)
        document += R"({"type":"probe","layout":{"type":1,"x":1},"child":[)";
    for (int i = 0; i < depth; ++i)
        document += "]}";
    document += "]}";
    write("Deep.json", document);
    QWidget target;
    target.resize(1000, 10);
    QVERIFY(loadWindowLayout(&target, "Deep"));
    const QList<Probe *> probes = target.findChildren<Probe *>();
    QCOMPARE(probes.size(), depth);
}

void TestWindowLoader::packageDescriptionsAreKept()
{
    const QByteArray kept = R"({"elements":[{"type":"probe","name":"first","child":[{"type":"probe","name":"inner"}]},
                                            {"type":"probe","name":"second"}]})";
    const QByteArray package = TestSupport::ZipWriter()
                                   .stored("Kept.json", kept)
                                   .stored("Broken.json", R"({"elements":[)")
                                   .archive();
    OrvQResourceManager &manager = OrvQResourceManager::instance();
    manager.loadPackageFromMemory(package.constData(), package.size());
    // A description on disk of the same name is not what the loader takes.
    write("Broken.json", R"({"elements":[{"type":"probe","name":"disk"}]})");

    const std::shared_ptr<const Json::Value> document = manager.jsonDocument("kept.JSON");
    QVERIFY(document);
    QCOMPARE(manager.jsonDocument("Kept.json"), document);
    bool found = false;
    QVERIFY(!manager.jsonDocument("Broken.json", &found));
    QVERIFY(found);
    QVERIFY(!manager.jsonDocument("Absent.json", &found));
    QVERIFY(!found);

    for (int round = 0; round < 2; ++round) {
        QWidget target;
        target.setObjectName("target");
        callLog.clear();
        QWidget *last = loadWindowLayout(&target, "Kept");
        QVERIFY(last);
        QCOMPARE(last->objectName(), QStringLiteral("second"));
        QCOMPARE(callLog.filter("load:"), QStringList({"load:first in target", "load:inner in first",
                                                       "load:second in target"}));
    }
    QWidget target;
    QVERIFY(!loadWindowLayout(&target, "Broken"));
    QVERIFY(target.children().isEmpty());
}

void TestWindowLoader::nestedLoadPushesOutItsOwnDescription()
{
    // Keeping "Big" pushes "Outer" out of the cache while "Outer" is still
    // being built; the rest of "Outer" must still come from a live tree.
    registerControl("nestedloader", &createControlOf<NestedLoader>, true);
    const QByteArray outer = R"({"elements":[{"type":"nestedloader","name":"nested"},
        {"type":"probe","name":"after","attr":{"padding":")" + QByteArray(8192, 'o') + R"("},
         "child":[{"type":"probe","name":"deep"}]}]})";
    const int padding = 64 * 1024;
    const QByteArray big = R"({"elements":[{"type":"probe","name":"big","attr":{"padding":")"
                         + QByteArray(padding, 'x') + R"("}}]})";
    const QByteArray package = TestSupport::ZipWriter()
                                   .stored("Outer.json", outer)
                                   .deflated("Big.json", big)
                                   .archive();
    OrvQResourceManager &manager = OrvQResourceManager::instance();
    manager.loadPackageFromMemory(package.constData(), package.size());
    // Room for "Big" alone, not for both.
    manager.setDocumentCacheLimit(padding + 5 * 1024);

    for (int round = 0; round < 2; ++round) {
        const std::weak_ptr<const Json::Value> outerTree = manager.jsonDocument("Outer.json");
        QVERIFY(!outerTree.expired());
        QWidget target;
        QWidget *last = loadWindowLayout(&target, "Outer");
        QVERIFY(last);
        QCOMPARE(last->objectName(), QStringLiteral("after"));
        QVERIFY(target.findChild<QWidget *>("big"));
        QVERIFY(target.findChild<QWidget *>("deep"));
        QVERIFY(outerTree.expired());
    }
    manager.setDocumentCacheLimit(DefaultDocumentCacheLimit);
}

void TestWindowLoader::documentCacheLimit()
{
    const QByteArray package = TestSupport::ZipWriter()
                                   .stored("Small1.json", R"({"elements":[{"type":"probe","name":"one"}]})")
                                   .stored("Small2.json", R"({"elements":[{"type":"probe","name":"two"}]})")
                                   .archive();
    OrvQResourceManager &manager = OrvQResourceManager::instance();
    manager.loadPackageFromMemory(package.constData(), package.size());

    const std::weak_ptr<const Json::Value> first = manager.jsonDocument("Small1.json");
    const std::weak_ptr<const Json::Value> second = manager.jsonDocument("Small2.json");
    QVERIFY(!first.expired() && !second.expired());
    QCOMPARE(manager.jsonDocument("Small1.json"), first.lock());

    // Lowering the limit drops the least recently used first.
    const quint64 limit = manager.documentCacheLimit();
    manager.jsonDocument("Small1.json");
    manager.setDocumentCacheLimit(1200);
    QVERIFY(!first.expired());
    QVERIFY(second.expired());

    // With no room nothing is kept, and loads still build.
    manager.setDocumentCacheLimit(0);
    QVERIFY(first.expired());
    QVERIFY(manager.jsonDocument("Small2.json") != manager.jsonDocument("Small2.json"));
    QWidget target;
    QVERIFY(loadWindowLayout(&target, "Small2"));
    manager.setDocumentCacheLimit(limit);
}

void TestWindowLoader::skinLog()
{
    // Every cause twice over; each is written once.
    const QByteArray main = R"({"elements": [
        {"type": "qtnothing"}, {"type": "qtnothing", "child": [{"type": "qtlabel"}]},
        {"type": "qtlabel", "style": [["logUndefined", 0, 0]]},
        {"type": "qtlabel", "style": [["logUndefined", 0, 0], ["logText", 0, 0]]},
        {"type": "qtpicture", "w": 8, "h": 8, "attr": {"path": "images/logMissing.png"}},
        {"type": "qtpicture", "w": 8, "h": 8, "attr": {"path": "images/logBroken.png"}},
        {"type": "qtslider", "attr": {"thumbW": 1e12}}, {"type": "qtslider", "attr": {"thumbW": -3}}]})";
    const QByteArray package = TestSupport::ZipWriter()
                                   .stored("style.json", R"({"style": [{"type": 2, "name": "logText"}]})")
                                   .stored("LogMain.json", main)
                                   .stored("LogBroken.json", "{\n  \"elements\": [\n    {\"type\": }]}")
                                   .stored("images/logBroken.png", "not an image")
                                   .archive();
    const QStringList expected{
        R"(unknown control type "qtnothing": skipped with its children)",
        R"(font style "logUndefined" is not defined)",
        R"(image "images/logMissing.png" is neither in the package nor on disk)",
        R"(image "images/logBroken.png" does not decode)",
        R"("thumbW" 1e+12 is held to 16777215)",
        R"(description "LogBroken.json" does not parse: line 3, column 14: )",
        R"(description "LogAbsent.json" cannot be read: not in the package, nor at )",
        QStringLiteral(R"(skin package "%1" cannot be read: no such file)").arg(m_dir.filePath("absent.data")),
        QStringLiteral(R"(skin package "%1" cannot be read: not a zip archive)").arg(m_dir.filePath("junk.data")),
    };
    write(QStringLiteral("junk.data"), "junk");
    TestSupport::SkinLogCapture log;
    QVERIFY(OrvQResourceManager::instance().loadPackageFromMemory(package.constData(), package.size()));
    for (int round = 0; round < 2; ++round) {
        QWidget window;
        QVERIFY(loadWindowLayout(&window, QStringLiteral("LogMain")));
        TestSupport::renderOf(window);
        QVERIFY(!loadWindowLayout(&window, QStringLiteral("LogBroken")));
        QVERIFY(!loadWindowLayout(&window, QStringLiteral("LogAbsent")));
    }
    for (const QString &name : {m_dir.filePath("absent.data"), m_dir.filePath("junk.data")})
        QVERIFY(!loadSkinPackage(name));
    for (const QString &line : expected)
        QVERIFY2(log.lines.filter(line).size() == 1, qPrintable(line + QStringLiteral(" in:\n") + log.lines.join('\n')));
    QCOMPARE(log.lines.size(), expected.size());

    // A hostile package writes a bounded number of lines.
    log.lines.clear();
    QByteArray many = R"({"elements": [)";
    for (int i = 0; i < 200; ++i)
        many += QByteArray(i ? "," : "") + R"({"type": "qtnothing)" + QByteArray::number(i) + R"("})";
    many += "]}";
    const QByteArray hostile = TestSupport::ZipWriter().stored("LogMany.json", many).archive();
    OrvQResourceManager::instance().loadPackageFromMemory(hostile.constData(), hostile.size());
    QWidget window;
    loadWindowLayout(&window, QStringLiteral("LogMany"));
    QCOMPARE(log.lines.size(), MaxSkinReportsPerLoad + 1);
    QVERIFY(log.lines.last().contains(QLatin1String("the rest are not reported")));
}

QTEST_MAIN(TestWindowLoader)
#include "tst_windowloader.moc"
