#include "orvqtlib.h"
#include "testsupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <json/reader.h>

#include <limits>
#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// Records the state it is drawn in and how often it was drawn.
class ProbeImpl : public OrvQControlBaseImpl
{
public:
    using OrvQControlBaseImpl::OrvQControlBaseImpl;
    void draw(QPainter *, const QRect &) override
    {
        ++draws;
        drawnState = state();
    }
    int draws = 0;
    OrvQControlState drawnState = StateNormal;
};

class Probe : public OrvQControl<QWidget, ProbeImpl>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    static QString staticTypeName() { return QStringLiteral("probe"); }
    QString typeName() const override { return staticTypeName(); }
};

// A button that may be deleted by its own clicked handler.
class ProbeButton : public OrvQControl<QPushButton, ProbeImpl>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
public:
    QString typeName() const override { return QStringLiteral("probebutton"); }
};

} // namespace

class TestControlBase : public QObject
{
    Q_OBJECT

private slots:
    void interfaceCasts();
    void layoutRules_data();
    void layoutRules();
    void layoutRect_data();
    void layoutRect();
    void fillKeepsMarginsOnResize();
    void managedLeavesGeometryButLaysOutChildren();
    void setters();
    void layoutData_data();
    void layoutData();
    void noParentNoLayout();
    void commonKeys_data();
    void commonKeys();
    void wronglyTypedKeys_data();
    void wronglyTypedKeys();
    void attributeKinds();
    void attributeTableEdges();
    void visualStates();
    void paintSettlesDisabledState();
    void handlerMayDeleteWidget();
    void gbkText();
    void skinText_data();
    void skinText();
};

void TestControlBase::interfaceCasts()
{
    Probe probe;
    QObject *object = &probe;
    QVERIFY(qobject_cast<IOrvQControlBase *>(object));
    QCOMPARE(controlInterface(object), static_cast<IOrvQControlBase *>(&probe));
    QCOMPARE(probe.impl()->widget(), &probe);
    QCOMPARE(probe.controlBase()->widget(), &probe);
    QCOMPARE(probe.layoutType(), int(LayoutNone));
    QWidget plain;
    QVERIFY(!controlInterface(&plain));
}

void TestControlBase::layoutRules_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QSize>("parentSize");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("no layout: x y w h") << QByteArray(R"({"x":10,"y":20,"w":100,"h":30})") << QSize(300, 200) << QRect(10, 20, 100, 30);
    QTest::newRow("anchor r stretches") << QByteArray(R"({"w":50,"layout":{"type":0,"x":7,"r":5}})") << QSize(300, 200) << QRect(7, 0, 288, 0);
    QTest::newRow("anchor b stretches") << QByteArray(R"({"w":40,"layout":{"type":0,"y":10,"b":20}})") << QSize(300, 100) << QRect(0, 10, 40, 70);
    QTest::newRow("anchor centre") << QByteArray(R"({"w":100,"h":10,"layout":{"type":0,"hor":1,"x":4}})") << QSize(301, 50) << QRect(104, 0, 100, 10);
    QTest::newRow("anchor right") << QByteArray(R"({"w":50,"h":10,"layout":{"type":0,"hor":2,"x":10}})") << QSize(200, 50) << QRect(140, 0, 50, 10);
    QTest::newRow("anchor bottom") << QByteArray(R"({"w":5,"h":40,"layout":{"type":0,"ver":2,"y":5}})") << QSize(20, 100) << QRect(0, 55, 5, 40);
    QTest::newRow("anchor vcentre") << QByteArray(R"({"w":5,"h":41,"layout":{"type":0,"ver":1,"y":2}})") << QSize(20, 100) << QRect(0, 31, 5, 41);
    QTest::newRow("centre of wider child truncates toward zero") << QByteArray(R"({"w":301,"h":1,"layout":{"type":0,"hor":1}})") << QSize(100, 10) << QRect(-100, 0, 301, 1);
    QTest::newRow("centred stretch ignores x for width") << QByteArray(R"({"layout":{"type":0,"hor":1,"x":3,"r":10}})") << QSize(200, 10) << QRect(8, 0, 190, 0);
    QTest::newRow("explicit wType 0 wins over r") << QByteArray(R"({"w":30,"layout":{"type":0,"r":5,"wType":0}})") << QSize(200, 10) << QRect(0, 0, 5, 0);
    QTest::newRow("explicit hType 1 without b") << QByteArray(R"({"h":30,"layout":{"type":0,"y":4,"hType":1}})") << QSize(10, 100) << QRect(0, 4, 0, 66);
    QTest::newRow("unknown wType gives width 0") << QByteArray(R"({"w":30,"h":3,"layout":{"type":0,"wType":2}})") << QSize(200, 10) << QRect(0, 0, 0, 3);
    QTest::newRow("fill") << QByteArray(R"({"layout":{"type":1,"x":2,"y":3,"r":4,"b":5}})") << QSize(100, 50) << QRect(2, 3, 94, 42);
    QTest::newRow("fixed through layout takes x y w h") << QByteArray(R"({"x":5,"y":6,"w":7,"h":8,"layout":{"type":3}})") << QSize(100, 50) << QRect(5, 6, 7, 8);
}

void TestControlBase::layoutRules()
{
    QFETCH(QByteArray, element);
    QFETCH(QSize, parentSize);
    QFETCH(QRect, geometry);

    QWidget parent;
    parent.resize(parentSize);
    auto *probe = new Probe;
    probe->setParent(&parent);
    probe->setGeometry(1, 2, 3, 4);
    QVERIFY(probe->loadFromJson(parseJson(element.constData())));
    QCOMPARE(probe->geometry(), QRect(1, 2, 3, 4)); // nothing applied before the layout pass
    probe->controlBase()->applyLayout();
    QCOMPARE(probe->geometry(), geometry);
    if (probe->layoutType() == LayoutFixed) {
        QCOMPARE(probe->minimumSize(), geometry.size());
        QCOMPARE(probe->maximumSize(), geometry.size());
    }
}

void TestControlBase::layoutRect_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QRect>("rect");
    const int max = QWIDGETSIZE_MAX;
    const int min = -QWIDGETSIZE_MAX;

    QTest::newRow("stretch past the int range clamps")
        << QByteArray(R"({"layout":{"type":0,"r":-2147483648}})") << QRect(0, 0, max, 0);
    QTest::newRow("right-aligned far left clamps")
        << QByteArray(R"({"w":2147483647,"layout":{"type":0,"hor":2,"x":2147483647}})") << QRect(min, 0, max, 0);
    QTest::newRow("fill with extreme margins")
        << QByteArray(R"({"layout":{"type":1,"x":2147483647,"r":-2147483648}})") << QRect(max, 0, 101, 100);
    QTest::newRow("fixed at the int limits")
        << QByteArray(R"({"x":2147483647,"y":-2147483648,"w":2147483647,"h":5})") << QRect(max, min, max, 5);
    QTest::newRow("centre with extreme offset")
        << QByteArray(R"({"w":-2147483648,"layout":{"type":0,"hor":1,"x":2147483647}})") << QRect(max, 0, min, 0);
}

void TestControlBase::layoutRect()
{
    QFETCH(QByteArray, element);
    QFETCH(QRect, rect);

    Probe probe;
    probe.loadFromJson(parseJson(element.constData()));
    const std::optional<QRect> computed = probe.controlBase()->layoutRect(QSize(100, 100));
    QVERIFY(computed);
    QCOMPARE(computed->x(), rect.x());
    QCOMPARE(computed->y(), rect.y());
    QCOMPARE(computed->width(), rect.width());
    QCOMPARE(computed->height(), rect.height());
}

void TestControlBase::fillKeepsMarginsOnResize()
{
    QWidget parent;
    parent.resize(100, 50);
    auto *probe = new Probe;
    probe->setParent(&parent);
    probe->loadFromJson(parseJson(R"({"layout":{"type":1,"x":2,"y":3,"r":4,"b":5}})"));
    probe->controlBase()->applyLayout();
    parent.resize(300, 200);
    probe->controlBase()->applyLayout();
    QCOMPARE(probe->geometry(), QRect(2, 3, 294, 192));
}

void TestControlBase::managedLeavesGeometryButLaysOutChildren()
{
    QWidget root;
    root.resize(200, 200);
    auto *managed = new Probe;
    managed->setParent(&root);
    managed->loadFromJson(parseJson(R"({"x":1,"y":1,"w":1,"h":1,"layout":{"type":2}})"));
    managed->setGeometry(10, 10, 80, 60);
    auto *child = new Probe;
    child->setParent(managed);
    child->loadFromJson(parseJson(R"({"layout":{"type":1,"x":1,"y":1,"r":1,"b":1}})"));
    auto *odd = new Probe; // kinds above 3 behave like managed
    odd->setParent(&root);
    odd->loadFromJson(parseJson(R"({"layout":{"type":7}})"));
    odd->setGeometry(5, 6, 7, 8);

    managed->controlBase()->applyLayout();
    odd->controlBase()->applyLayout();
    QCOMPARE(managed->geometry(), QRect(10, 10, 80, 60));
    QCOMPARE(child->geometry(), QRect(1, 1, 78, 58));
    QCOMPARE(odd->geometry(), QRect(5, 6, 7, 8));
    QCOMPARE(odd->layoutType(), 7);
}

void TestControlBase::setters()
{
    QWidget parent;
    parent.resize(100, 100);
    auto *probe = new Probe;
    probe->setParent(&parent);

    probe->setFixedLayout(1, 2, 30, 40); // applied at once
    QCOMPARE(probe->geometry(), QRect(1, 2, 30, 40));
    QCOMPARE(probe->maximumSize(), QSize(30, 40));

    probe->setMinimumSize(0, 0);
    probe->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    probe->setFillLayout(5, 5, 5, 5); // waits for the layout pass
    QCOMPARE(probe->geometry(), QRect(1, 2, 30, 40));
    probe->controlBase()->applyLayout();
    QCOMPARE(probe->geometry(), QRect(5, 5, 90, 90));

    OrvQLayoutParams params;
    params.p1 = 2;
    params.p5 = 10;
    params.p7 = 20;
    params.p8 = 5;
    probe->setAnchorLayout(params);
    QCOMPARE(*probe->layoutData(), params);
    probe->controlBase()->applyLayout();
    QCOMPARE(probe->geometry(), QRect(70, 0, 20, 5));

    probe->setManagedLayout(1, 2, 3, 4, 5, 6);
    QCOMPARE(probe->layoutType(), int(LayoutManaged));
    QCOMPARE(probe->layoutData()->p6, 6);
    QCOMPARE(probe->layoutData()->p7, 20); // left as it was
}

void TestControlBase::layoutData_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<bool>("hasData");
    QTest::newRow("fixed") << QByteArray("{}") << true;
    QTest::newRow("anchor") << QByteArray(R"({"layout":{}})") << true;
    QTest::newRow("managed") << QByteArray(R"({"layout":{"type":2}})") << true;
    QTest::newRow("kind 4") << QByteArray(R"({"layout":{"type":4}})") << false;
}

void TestControlBase::layoutData()
{
    QFETCH(QByteArray, element);
    QFETCH(bool, hasData);
    Probe probe;
    QVERIFY(!probe.layoutData());
    probe.loadFromJson(parseJson(element.constData()));
    QCOMPARE(probe.layoutData() != nullptr, hasData);
}

void TestControlBase::noParentNoLayout()
{
    Probe probe;
    probe.loadFromJson(parseJson(R"({"layout":{"type":1,"x":3}})"));
    probe.setGeometry(7, 7, 7, 7);
    auto *child = new Probe;
    child->setParent(&probe);
    child->loadFromJson(parseJson(R"({"layout":{"type":1,"x":1}})"));
    child->setGeometry(1, 1, 1, 1);
    probe.controlBase()->applyLayout();
    QCOMPARE(probe.geometry(), QRect(7, 7, 7, 7));
    QCOMPARE(child->geometry(), QRect(1, 1, 1, 1)); // children are not visited either
}

void TestControlBase::commonKeys_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("plain") << QByteArray(R"({"name":"a"})") << "a" << "" << false << true;
    QTest::newRow("hidden") << QByteArray(R"({"visibility":false})") << "" << "" << true << true;
    QTest::newRow("visible again") << QByteArray(R"({"visibility":true})") << "" << "" << false << true;
    QTest::newRow("disabled") << QByteArray(R"({"enable":false})") << "" << "" << false << false;
    QTest::newRow("UTF-8 name") << QByteArray("{\"name\":\"\xc3\xa9t\xc3\xa9\"}") << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << "" << false << true;
    QTest::newRow("GBK tool tip") << QByteArray("{\"tooltip\":\"\xc4\xe3\xba\xc3\"}") << "" << QString::fromUtf8("\xe4\xbd\xa0\xe5\xa5\xbd") << false << true;
}

void TestControlBase::commonKeys()
{
    QFETCH(QByteArray, element);
    QFETCH(QString, name);
    QFETCH(QString, toolTip);
    QFETCH(bool, hidden);
    QFETCH(bool, enabled);

    QWidget parent;
    auto *probe = new Probe;
    probe->setParent(&parent);
    probe->hide();
    QVERIFY(probe->loadFromJson(parseJson(element.constData())));
    QCOMPARE(probe->objectName(), name);
    QCOMPARE(probe->toolTip(), toolTip);
    QCOMPARE(probe->isHidden(), hidden);
    QCOMPARE(probe->isEnabled(), enabled);
}

void TestControlBase::wronglyTypedKeys_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRect>("geometry");

    // Each bad value behaves as if the key were absent.
    QTest::newRow("w as text") << QByteArray(R"({"x":1,"y":2,"w":"wide","h":4})") << int(LayoutFixed) << QRect(1, 2, 0, 4);
    QTest::newRow("x as object") << QByteArray(R"({"x":{},"y":2,"w":3,"h":4})") << int(LayoutFixed) << QRect(0, 2, 3, 4);
    QTest::newRow("h out of range") << QByteArray(R"({"x":1,"y":2,"w":3,"h":1e300})") << int(LayoutFixed) << QRect(1, 2, 3, 0);
    QTest::newRow("layout as text") << QByteArray(R"({"x":1,"y":2,"w":3,"h":4,"layout":"fill"})") << int(LayoutFixed) << QRect(1, 2, 3, 4);
    QTest::newRow("layout as array") << QByteArray(R"({"x":1,"y":2,"w":3,"h":4,"layout":[1]})") << int(LayoutFixed) << QRect(1, 2, 3, 4);
    QTest::newRow("type as text") << QByteArray(R"({"w":3,"h":4,"layout":{"type":"fill"}})") << int(LayoutAnchor) << QRect(0, 0, 3, 4);
    QTest::newRow("negative type") << QByteArray(R"({"w":3,"h":4,"layout":{"type":-1}})") << int(LayoutAnchor) << QRect(0, 0, 3, 4);
    QTest::newRow("anchor keys of bad types") << QByteArray(R"({"w":3,"h":4,"layout":{"type":0,"x":[],"r":"x","hor":null,"wType":{}}})") << int(LayoutAnchor) << QRect(0, 0, 3, 4);
    QTest::newRow("fill keys of bad types") << QByteArray(R"({"layout":{"type":1,"x":"a","y":true,"r":[],"b":2.5}})") << int(LayoutFill) << QRect(0, 1, 100, 47);
}

void TestControlBase::wronglyTypedKeys()
{
    QFETCH(QByteArray, element);
    QFETCH(int, kind);
    QFETCH(QRect, geometry);

    QWidget parent;
    parent.resize(100, 50);
    auto *probe = new Probe;
    probe->setParent(&parent);
    probe->loadFromJson(parseJson(element.constData()));
    QCOMPARE(probe->layoutType(), kind);
    probe->controlBase()->applyLayout();
    QCOMPARE(probe->geometry(), geometry);

    // The other common keys of wrong types change nothing either.
    auto *other = new Probe;
    other->setParent(&parent);
    other->setObjectName("kept");
    other->setToolTip("kept");
    other->loadFromJson(parseJson(R"({"name":{},"tooltip":[1],"visibility":"no","enable":[false]})"));
    QCOMPARE(other->objectName(), QStringLiteral("kept"));
    QCOMPARE(other->toolTip(), QStringLiteral("kept"));
    QVERIFY(!other->isHidden());
    QVERIFY(other->isEnabled());
}

void TestControlBase::attributeKinds()
{
    Probe probe;
    QVERIFY(probe.loadFromJson(parseJson(R"({"attr":{"a":1,"b":3000000000,"c":1.5,"d":["x","y"],"e":true,
        "f":"text","g":-5,"h":1e40,"i":["x",2]}})")));
    const auto &table = probe.impl()->attributes();
    QCOMPARE(table.value("a").kind, int(OrvQAttrValue::Int));
    QCOMPARE(table.value("a").value.toInt(), 1);
    QCOMPARE(table.value("b").kind, int(OrvQAttrValue::UInt));
    QCOMPARE(table.value("b").value.toUInt(), 3000000000u);
    QCOMPARE(table.value("c").kind, int(OrvQAttrValue::Double));
    QCOMPARE(table.value("c").value.toDouble(), 1.5);
    QCOMPARE(table.value("d").kind, int(OrvQAttrValue::TextList));
    QCOMPARE(table.value("d").count, 2);
    QCOMPARE(table.value("d").value.toStringList(), QStringList({"x", "y"}));
    QCOMPARE(table.value("e").kind, int(OrvQAttrValue::Bool));
    QCOMPARE(table.value("e").value.toBool(), true);
    QCOMPARE(table.value("f").kind, int(OrvQAttrValue::Text));
    QCOMPARE(table.value("f").value.toString(), QStringLiteral("text"));
    QCOMPARE(table.value("g").kind, int(OrvQAttrValue::Int));
    QCOMPARE(table.value("h").kind, int(OrvQAttrValue::Double));
    QCOMPARE(table.value("i").value.toStringList(), QStringList({"x", "2"}));

    // A second load replaces members of the same name and keeps the others.
    probe.impl()->loadAttributes(parseJson(R"({"attr":{"a":"now text"}})"));
    QCOMPARE(table.value("a").kind, int(OrvQAttrValue::Text));
    QCOMPARE(table.value("b").kind, int(OrvQAttrValue::UInt));
}

void TestControlBase::attributeTableEdges()
{
    Probe probe;
    QVERIFY(!probe.impl()->loadAttributes(Json::Value()));
    QVERIFY(probe.impl()->loadAttributes(parseJson(R"({"attr":[1,2]})")));
    QVERIFY(probe.impl()->loadAttributes(parseJson(R"({"attr":{"n":null,"o":{},"e":[],"k":[1]}})")));
    QVERIFY(probe.impl()->attributes().isEmpty());
}

void TestControlBase::visualStates()
{
    QWidget parent;
    parent.resize(100, 100);
    auto *probe = new Probe;
    probe->setParent(&parent);
    probe->setGeometry(0, 0, 50, 50);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    ProbeImpl *impl = probe->impl();

    // Every transition repaints at once, not at the next event-loop turn.
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(probe, &enter);
    QCOMPARE(impl->state(), StateHover);
    QCOMPARE(impl->drawnState, StateHover);

    int draws = impl->draws;
    QTest::mousePress(probe, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(impl->state(), StatePressed);
    QVERIFY(impl->draws > draws);
    QCOMPARE(impl->drawnState, StatePressed);

    QTest::mouseRelease(probe, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(impl->drawnState, StateNormal);

    probe->setEnabled(false);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(probe, &leave);
    QCOMPARE(impl->state(), StateDisabled);
}

void TestControlBase::paintSettlesDisabledState()
{
    Probe probe;
    probe.resize(10, 10);
    ProbeImpl *impl = probe.impl();

    probe.setEnabled(false);
    impl->setState(StateHover);
    probe.grab();
    QCOMPARE(impl->drawnState, StateDisabled);

    probe.setEnabled(true);
    probe.grab();
    QCOMPARE(impl->drawnState, StateNormal);

    impl->setState(StatePressed); // an enabled widget keeps any other state
    probe.grab();
    QCOMPARE(impl->drawnState, StatePressed);
}

void TestControlBase::handlerMayDeleteWidget()
{
    QWidget parent;
    parent.resize(100, 100);
    QPointer<ProbeButton> button = new ProbeButton;
    button->setParent(&parent);
    button->setGeometry(0, 0, 50, 50);
    connect(button.data(), &QPushButton::clicked, button.data(), [&button] { delete button.data(); });
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QTest::mouseClick(button.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(button.isNull()); // and the release was not forwarded to a dead Impl
}

void TestControlBase::gbkText()
{
    QCOMPARE(fromGbk(static_cast<const char *>(nullptr)), QString());
    QCOMPARE(fromGbk("plain"), QStringLiteral("plain"));
    QCOMPARE(fromGbk("\xce\xa2\xc8\xed\xd1\xc5\xba\xda"), OrvQFontStyle::defaultFamily());
}

void TestControlBase::skinText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QString yaHei = OrvQFontStyle::defaultFamily();
    QTest::newRow("UTF-8") << QByteArray("SpO\xe2\x82\x82 37 \xc2\xb0" "C") << QStringLiteral("SpO\u2082 37 \u00b0C");
    QTest::newRow("GBK") << QByteArray("\xce\xa2\xc8\xed\xd1\xc5\xba\xda") << yaHei;
    // One sequence that is not UTF-8 makes the whole text GBK.
    QTest::newRow("mixed") << QByteArray("SpO\xe2\x82\x82 \xce\xa2\xc8\xed")
                           << fromGbk("SpO\xe2\x82\x82 \xce\xa2\xc8\xed");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << fromGbk("\xc0\xaf");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << fromGbk("\xed\xa0\x80");
    QTest::newRow("cut short") << QByteArray("ab\xe2\x82") << fromGbk("ab\xe2\x82");
}

void TestControlBase::skinText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    initialize(); // the built-in controls, last in this file
    QCOMPARE(fromSkinText(bytes), expected);
    // The readers every text key goes through, a tool tip and a font family.
    const std::string text = bytes.toStdString();
    QCOMPARE(jsonToGbk(Json::Value(text)), std::optional<QString>(expected));
    Json::Value element(Json::objectValue);
    element["tooltip"] = text;
    element["attr"]["text"] = text;
    for (const char *type : {"qtlabel", "qtdedit"}) {
        std::unique_ptr<QWidget> widget(createControl(type, element, nullptr));
        QVERIFY(widget);
        QCOMPARE(widget->toolTip(), expected);
        QCOMPARE(widget->property("text").toString(), expected);
    }
    Json::Value font(Json::objectValue);
    font["type"] = 2;
    font["family"] = text;
    QCOMPARE(readFontStyle(font).family, expected);
}

QTEST_MAIN(TestControlBase)
#include "tst_controlbase.moc"
