#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// A Qt base that records which of its handlers ran.
class RecordingBase : public QWidget
{
public:
    QStringList *log = nullptr;
    bool deleteSelf = false;

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        log->append(QStringLiteral("base"));
        if (deleteSelf)
            delete this;
    }
    void paintEvent(QPaintEvent *) override { log->append(QStringLiteral("base")); }
};

class RecordingImpl : public OrvQControlBaseImpl
{
public:
    using OrvQControlBaseImpl::OrvQControlBaseImpl;
    QStringList *log = nullptr;
    bool deleteWidget = false;
    void mousePress(QMouseEvent *) override
    {
        log->append(QStringLiteral("impl"));
        if (deleteWidget)
            delete m_widget;
    }
    void paint(QWidget *, QPaintEvent *) override { log->append(QStringLiteral("impl")); }
};

template <const OrvQEventRoutes &Routes>
class Routed : public OrvQControl<RecordingBase, RecordingImpl, Routes>
{
public:
    QString typeName() const override { return QStringLiteral("routed"); }
};

template <OrvQRoute R>
constexpr OrvQEventRoutes RoutesOf = OrvQEventRoutes().withPress(R).withPaint(R);

using Factory = QWidget *(*)(QStringList *log, bool baseDeletes, bool implDeletes);

template <OrvQRoute R>
QWidget *makeRouted(QStringList *log, bool baseDeletes, bool implDeletes)
{
    auto *widget = new Routed<RoutesOf<R>>;
    widget->log = log;
    widget->deleteSelf = baseDeletes;
    widget->impl()->log = log;
    widget->impl()->deleteWidget = implDeletes;
    return widget;
}

// Holds whatever a table of keys writes.
struct Target {
    bool flag = false;
    int number = -1;
    QString text = QStringLiteral("kept");
    QString follower;
    QColor colour;
};

const OrvQKeyTable<Target> &targetKeys()
{
    using Key = OrvQKey<Target>;
    static const OrvQKeyTable<Target> keys{
        Key::flag("flag", &Target::flag, true, ""),
        Key::number("number", &Target::number, std::nullopt, 0, 100, ""),
        Key::gbkText("text", &Target::text, std::nullopt, ""),
        // Follows "text" unless given: depends on the row before it.
        Key::custom({"follower", OrvQKeyType::Text, {}, 0, 0, ""},
                    [](Target &t, const QVariant &v) { t.follower = v.isValid() ? v.toString() : t.text; }, true),
        Key::custom({"colour", OrvQKeyType::Color, {}, 0, 0, ""},
                    [](Target &t, const QVariant &v) { t.colour = v.value<QColor>(); }),
    };
    return keys;
}

} // namespace

Q_DECLARE_METATYPE(Factory)

class TestControlKeys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initialize(); }
    void routes_data();
    void routes();
    void boundedInt_data();
    void boundedInt();
    void colour_data();
    void colour();
    void keyTable_data();
    void keyTable();
    void schemas();
};

void TestControlKeys::routes_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<bool>("baseDeletes");
    QTest::addColumn<bool>("implDeletes");
    QTest::addColumn<QStringList>("order");

    const QStringList both{QStringLiteral("base"), QStringLiteral("impl")};
    const QStringList reversed{QStringLiteral("impl"), QStringLiteral("base")};
    QTest::newRow("nothing") << &makeRouted<OrvQRoute::Nothing> << false << false << QStringList();
    QTest::newRow("base only") << &makeRouted<OrvQRoute::BaseOnly> << false << false << QStringList(both.mid(0, 1));
    QTest::newRow("impl only") << &makeRouted<OrvQRoute::ImplOnly> << false << false << QStringList(both.mid(1));
    QTest::newRow("base then impl") << &makeRouted<OrvQRoute::BaseThenImpl> << false << false << both;
    QTest::newRow("impl then base") << &makeRouted<OrvQRoute::ImplThenBase> << false << false << reversed;
    QTest::newRow("base deletes the widget") << &makeRouted<OrvQRoute::BaseThenImpl> << true << false
                                             << QStringList(both.mid(0, 1));
    QTest::newRow("impl deletes the widget") << &makeRouted<OrvQRoute::ImplThenBase> << false << true
                                             << QStringList(reversed.mid(0, 1));
}

void TestControlKeys::routes()
{
    QFETCH(Factory, make);
    QFETCH(bool, baseDeletes);
    QFETCH(bool, implDeletes);
    QFETCH(QStringList, order);

    QStringList log;
    QPointer<QWidget> widget = make(&log, baseDeletes, implDeletes);
    if (!baseDeletes && !implDeletes) {
        widget->resize(10, 10);
        widget->grab();
        QCOMPARE(log, order);
        log.clear();
    }
    QTest::mousePress(widget.data(), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(log, order);
    QCOMPARE(widget.isNull(), baseDeletes || implDeletes);
    delete widget;
}

void TestControlKeys::boundedInt_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // -999: absent

    QTest::newRow("in range") << QByteArray("5") << 5;
    QTest::newRow("below") << QByteArray("-3") << 0;
    QTest::newRow("above the int range") << QByteArray("3000000000") << 100;
    QTest::newRow("far below") << QByteArray("-1e300") << 0;
    QTest::newRow("fraction") << QByteArray("7.9") << 7;
    QTest::newRow("boolean converts") << QByteArray("true") << 1;
    QTest::newRow("text is absent") << QByteArray(R"("5")") << -999;
    QTest::newRow("array is absent") << QByteArray("[5]") << -999;
    QTest::newRow("null is absent") << QByteArray("null") << -999;
}

void TestControlKeys::boundedInt()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const Json::Value object = parseJson(R"({"k": )" + value + "}");
    QCOMPARE(readBoundedInt(object, "k", -999, 0, 100), expected);
}

void TestControlKeys::colour_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QColor>("expected"); // invalid: absent

    QTest::newRow("hex text, opaque") << QByteArray(R"("ff0000")") << QColor(255, 0, 0);
    QTest::newRow("int") << QByteArray("65280") << QColor(0, 255, 0);
    QTest::newRow("unsigned, alpha ignored") << QByteArray("4278190335") << QColor(0, 0, 255);
    QTest::newRow("negative int") << QByteArray("-16776961") << QColor(0, 0, 255);
    QTest::newRow("boolean is absent") << QByteArray("true") << QColor();
    QTest::newRow("object is absent") << QByteArray("{}") << QColor();
}

void TestControlKeys::colour()
{
    QFETCH(QByteArray, value);
    QFETCH(QColor, expected);
    const Json::Value object = parseJson(R"({"k": )" + value + "}");
    QCOMPARE(readColor(object, "k").value_or(QColor()), expected);
}

void TestControlKeys::keyTable_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("follower");

    QTest::newRow("no attr: nothing applies") << QByteArray("{}") << false << -1 << "kept" << "";
    QTest::newRow("empty attr: fallbacks and followers") << QByteArray(R"({"attr": {}})") << true << -1 << "kept"
                                                         << "kept";
    QTest::newRow("values") << QByteArray(R"({"attr": {"flag": false, "number": 250, "text": "t", "follower": "f"}})")
                            << false << 100 << "t" << "f";
    QTest::newRow("a later row sees an earlier one") << QByteArray(R"({"attr": {"text": "t"}})") << true << -1 << "t"
                                                     << "t";
    QTest::newRow("wrong types count as absent")
        << QByteArray(R"({"attr": {"flag": [], "number": "9", "text": {}, "follower": null}})") << true << -1 << "kept"
        << "kept";
}

void TestControlKeys::keyTable()
{
    QFETCH(QByteArray, element);
    QFETCH(bool, flag);
    QFETCH(int, number);
    QFETCH(QString, text);
    QFETCH(QString, follower);

    Target target;
    applyAttrKeys(parseJson(element), targetKeys(), target);
    QCOMPARE(target.flag, flag);
    QCOMPARE(target.number, number);
    QCOMPARE(target.text, text);
    QCOMPARE(target.follower, follower);
}

void TestControlKeys::schemas()
{
    // What a type reads comes from its tables: the same for an alias.
    const auto schema = controlSchema("switch");
    QVERIFY(schema);
    QStringList keys;
    for (const OrvQKeyInfo &key : schema->keys)
        keys << QLatin1String(key.name);
    QCOMPARE(keys, QStringList({"leftText", "rightText", "thumbW", "thumbH", "speed", "on", "margin"}));
    QCOMPARE(schema->styleSlots.size(), size_t(7));
    QVERIFY(controlSchema("qtpicture")->styleSlots.empty());
    QVERIFY(!controlSchema("nosuch"));
}

QTEST_MAIN(TestControlKeys)
#include "tst_controlkeys.moc"
