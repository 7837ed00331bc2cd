#include "orvqtlib.h"
#include "testsupport.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Yellow = 0xffffff00; // images/icon.png
const QRgb Magenta = 0xffff00ff; // images/hot.png
const QRgb Grey = 0xff808080;

std::unique_ptr<OrvQPushButton> makeButton(const QByteArray &element)
{
    auto button = std::make_unique<OrvQPushButton>();
    button->resize(100, 30);
    button->loadFromJson(parseJson(element));
    button->resize(100, 30);
    return button;
}

// The look in one visual state; the disabled state comes from the widget.
QImage lookIn(OrvQPushButton &button, int state)
{
    button.setEnabled(state != StateDisabled);
    button.impl()->setState(OrvQControlState(state));
    return renderOf(button);
}

void sendEnter(QWidget *widget)
{
    QEvent event(QEvent::Enter);
    QApplication::sendEvent(widget, &event);
}

void sendLeave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestPushButton : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultLook();
    void clickShowsNormalUntilReentered();
    void styleSlots_data();
    void styleSlots();
    void fontSlotsFanOut();
    void hotIcon_data();
    void hotIcon();
    void iconPlacement_data();
    void iconPlacement();
    void textOffsetAndShowText_data();
    void textOffsetAndShowText();
    void disabledLook();
    void attrKeys();
    void deletedByClickedHandler();
};

void TestPushButton::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestPushButton::defaultLook()
{
    OrvQPushButton button;
    QCOMPARE(button.typeName(), QStringLiteral("qtbutton"));
    QVERIFY(button.testAttribute(Qt::WA_MouseTracking));
    button.resize(100, 30);

    QImage image = lookIn(button, StateNormal);
    QCOMPARE(image.pixel(50, 15), 0xfff5f5f5u);
    QCOMPARE(image.pixel(0, 0), 0xffccccccu);
    QCOMPARE(image.pixel(99, 29), 0xffccccccu);

    image = lookIn(button, StateHover);
    QCOMPARE(image.pixel(50, 15), 0xffedfbffu);
    QCOMPARE(image.pixel(0, 15), 0xffccccccu);

    // The disabled record is a plain default one: white, no border line.
    image = lookIn(button, StateDisabled);
    QCOMPARE(image.pixel(50, 15), 0xffffffffu);
    QCOMPARE(image.pixel(0, 0), 0xffffffffu);
}

void TestPushButton::clickShowsNormalUntilReentered()
{
    auto button = makeButton(R"({"style": [["red", 0, 0], ["green", 0, 1], ["blue", 0, 2]]})");
    QSignalSpy clicked(button.get(), &QPushButton::clicked);

    sendEnter(button.get());
    QCOMPARE(button->impl()->state(), StateHover);
    QCOMPARE(renderOf(*button).pixel(50, 15), 0xff00ff00u);

    QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(50, 15));
    QCOMPARE(button->impl()->state(), StatePressed);
    QCOMPARE(renderOf(*button).pixel(50, 15), 0xff0000ffu);

    QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(50, 15));
    QCOMPARE(clicked.count(), 1);
    // The pointer is still over the button, yet it looks normal.
    QCOMPARE(button->impl()->state(), StateNormal);
    QCOMPARE(renderOf(*button).pixel(50, 15), 0xffff0000u);

    sendLeave(button.get());
    QCOMPARE(renderOf(*button).pixel(50, 15), 0xffff0000u);
    sendEnter(button.get());
    QCOMPARE(renderOf(*button).pixel(50, 15), 0xff00ff00u);
}

void TestPushButton::styleSlots_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QList<QRgb>>("looks"); // centre colour in states 0 to 3

    const QList<QRgb> defaults{0xfff5f5f5, 0xffedfbff, 0xfff5f5f5, 0xffffffff};
    QTest::newRow("index 0 fans out") << QByteArray(R"([["red", 0, 0]])")
                                      << QList<QRgb>{0xffff0000, 0xffff0000, 0xffff0000, 0xffff0000};
    QTest::newRow("state entry before index 0 is overwritten")
        << QByteArray(R"([["green", 0, 3], ["red", 0, 0]])")
        << QList<QRgb>{0xffff0000, 0xffff0000, 0xffff0000, 0xffff0000};
    QTest::newRow("state entry after index 0 survives")
        << QByteArray(R"([["red", 0, 0], ["green", 0, 3], ["blue", 0, 1]])")
        << QList<QRgb>{0xffff0000, 0xff0000ff, 0xffff0000, 0xff00ff00};
    QTest::newRow("later entry of a slot wins")
        << QByteArray(R"([["red", 0, 2], ["green", 0, 2]])")
        << QList<QRgb>{0xfff5f5f5, 0xffedfbff, 0xff00ff00, 0xffffffff};
    QTest::newRow("object form in member order")
        << QByteArray(R"({"b": ["red", 0, 0], "a": ["green", 0, 1]})")
        << QList<QRgb>{0xffff0000, 0xffff0000, 0xffff0000, 0xffff0000};
    QTest::newRow("unknown name changes nothing") << QByteArray(R"([["nosuch", 0, 0], ["nosuch", 0, 1]])")
                                                  << defaults;
    QTest::newRow("other indexes change nothing") << QByteArray(R"([["red", 0, 8], ["red", 0, -1]])")
                                                  << defaults;
    QTest::newRow("malformed entries are skipped")
        << QByteArray(R"([["red"], "red", [1, 0, 0], ["red", 0, "1"], ["green", 0, 1]])")
        << QList<QRgb>{0xfff5f5f5, 0xff00ff00, 0xfff5f5f5, 0xffffffff};
    // "empty" leaves nothing drawn: the transparent render shows through.
    QTest::newRow("empty at index 0 clears every state") << QByteArray(R"([["empty", 0, 0]])")
                                                         << QList<QRgb>{0, 0, 0, 0};
}

void TestPushButton::styleSlots()
{
    QFETCH(QByteArray, style);
    QFETCH(QList<QRgb>, looks);

    auto button = makeButton(R"({"style": )" + style + "}");
    for (int state = 0; state < 4; ++state)
        QCOMPARE(lookIn(*button, state).pixel(50, 15), looks[state]);
}

void TestPushButton::fontSlotsFanOut()
{
    auto button = makeButton(R"({"style": [["fontRed", 0, 6], ["fontBlack", 0, 4], ["fontWhite", 0, 5]]})");
    QCOMPARE(button->impl()->fontStyle(StateNormal).color, QColor(Qt::black));
    QCOMPARE(button->impl()->fontStyle(StateHover).color, QColor(Qt::white));
    QCOMPARE(button->impl()->fontStyle(StatePressed).color, QColor(Qt::black));
    QCOMPARE(button->impl()->fontStyle(StateDisabled).color, QColor(Qt::black));

    // Without font entries every state keeps the centred record default.
    OrvQPushButton plain;
    for (int state = 0; state < 4; ++state)
        QCOMPARE(plain.impl()->fontStyle(state).hor, 1);
}

void TestPushButton::hotIcon_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QRgb>("normal");
    QTest::addColumn<QRgb>("hover");

    QTest::newRow("icon and hot icon")
        << QByteArray(R"({"iconPath": "images/icon.png", "hotIconPath": "images/hot.png"})") << Yellow << Magenta;
    QTest::newRow("no hot icon keeps the icon") << QByteArray(R"({"iconPath": "images/icon.png"})") << Yellow
                                                << Yellow;
    QTest::newRow("only a hot icon") << QByteArray(R"({"hotIconPath": "images/hot.png"})") << Grey << Magenta;
    QTest::newRow("hasIcon false")
        << QByteArray(R"({"iconPath": "images/icon.png", "hotIconPath": "images/hot.png", "hasIcon": false})")
        << Grey << Grey;
    QTest::newRow("missing image draws nothing") << QByteArray(R"({"iconPath": "images/nosuch.png"})") << Grey
                                                 << Grey;
}

void TestPushButton::hotIcon()
{
    QFETCH(QByteArray, attr);
    QFETCH(QRgb, normal);
    QFETCH(QRgb, hover);

    auto button = makeButton(R"({"style": [["grey", 0, 0]], "attr": )" + attr + "}");
    // Centred 8 x 8 icon in 100 x 30: (46, 11) to (53, 18).
    QCOMPARE(renderOf(*button).pixel(50, 15), normal);
    sendEnter(button.get());
    QCOMPARE(renderOf(*button).pixel(50, 15), hover);
    sendLeave(button.get());
    QCOMPARE(renderOf(*button).pixel(50, 15), normal);
}

void TestPushButton::iconPlacement_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QRect>("icon");

    QTest::newRow("default centre") << QByteArray("{}") << QRect(46, 11, 8, 8);
    QTest::newRow("left top") << QByteArray(R"({"iconHor": 0, "iconVer": 0})") << QRect(0, 0, 8, 8);
    QTest::newRow("right bottom") << QByteArray(R"({"iconHor": 2, "iconVer": 2})") << QRect(92, 22, 8, 8);
    QTest::newRow("offsets") << QByteArray(R"({"iconHor": 0, "iconX": 5, "iconY": -3})") << QRect(5, 8, 8, 8);
    QTest::newRow("unknown code puts it at 0") << QByteArray(R"({"iconHor": 7, "iconX": 3})")
                                               << QRect(3, 11, 8, 8);
}

void TestPushButton::iconPlacement()
{
    QFETCH(QByteArray, attr);
    QFETCH(QRect, icon);

    Json::Value element = parseJson(R"({"style": [["grey", 0, 0]]})");
    element["attr"] = parseJson(attr);
    element["attr"]["iconPath"] = "images/icon.png";
    OrvQPushButton button;
    button.loadFromJson(element);
    button.resize(100, 30);
    QCOMPARE(boxOf(renderOf(button), Yellow), icon);
}

void TestPushButton::textOffsetAndShowText_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("minLeft"); // -1: no text drawn

    QTest::newRow("text at the left") << QByteArray(R"({"text": "MMM"})") << 0;
    QTest::newRow("text offset") << QByteArray(R"({"text": "MMM", "txtX": 40, "txtY": 2})") << 40;
    QTest::newRow("showText false") << QByteArray(R"({"text": "MMM", "showText": false})") << -1;
}

void TestPushButton::textOffsetAndShowText()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, minLeft);

    auto button = makeButton(R"({"style": [["white", 0, 0], ["fontBlack", 0, 4]], "attr": )" + attr + "}");
    const QRect text = boxOf(renderOf(*button), 0xff000000, 100);
    if (minLeft < 0) {
        QVERIFY(text.isNull());
    } else {
        QVERIFY(!text.isNull());
        QVERIFY2(text.left() >= minLeft && text.left() <= minLeft + 3, qPrintable(QString::number(text.left())));
    }
    // The hidden text still sizes the button.
    QPushButton reference(QStringLiteral("MMM"));
    QCOMPARE(button->sizeHint().width(), reference.sizeHint().width());
}

void TestPushButton::disabledLook()
{
    auto button = makeButton(R"({"enable": false,
        "style": [["blue", 0, 0], ["grey", 0, 3], ["fontWhite", 0, 4], ["fontRed", 0, 7]],
        "attr": {"text": "MMMM"}})");
    QVERIFY(!button->isEnabled());
    QImage image = renderOf(*button);
    QCOMPARE(button->impl()->state(), StateDisabled);
    QCOMPARE(image.pixel(1, 1), Grey);
    QVERIFY(!boxOf(image, 0xffff0000, 60).isNull());
    QVERIFY(boxOf(image, 0xffffffff, 60).isNull());

    // Enabled again, the next paint leaves the disabled state by itself.
    button->setEnabled(true);
    image = renderOf(*button);
    QCOMPARE(button->impl()->state(), StateNormal);
    QCOMPARE(image.pixel(1, 1), 0xff0000ffu);
    QVERIFY(boxOf(image, 0xffff0000, 60).isNull());
    QVERIFY(!boxOf(image, 0xffffffff, 60).isNull());
}

void TestPushButton::attrKeys()
{
    OrvQPushButton button;
    button.setText(QStringLiteral("before"));
    button.loadFromJson(parseJson(R"({"style": []})"));
    QCOMPARE(button.text(), QStringLiteral("before"));

    // An "attr" object without "text" clears the text.
    button.loadFromJson(parseJson(R"({"attr": {"iconPath": {}, "hasIcon": "no"}})"));
    QCOMPARE(button.text(), QString());
    QVERIFY(button.impl()->hasIcon());
    QVERIFY(button.impl()->iconPath().isEmpty());

    button.loadFromJson(parseJson(R"({"attr": {"text": "Start", "txtX": 3, "txtY": 4, "hasIcon": false}})"));
    QCOMPARE(button.text(), QStringLiteral("Start"));
    QCOMPARE(button.impl()->textOffset(), QPoint(3, 4));
    QVERIFY(!button.impl()->hasIcon());

    // Offsets far outside any widget are held to widget coordinates.
    button.loadFromJson(parseJson(R"({"attr": {"txtX": 2147483647, "txtY": -2147483648, "iconX": 2147483647}})"));
    QCOMPARE(button.impl()->textOffset(), QPoint(QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX));
    QCOMPARE(button.impl()->iconAlign().x, QWIDGETSIZE_MAX);
}

void TestPushButton::deletedByClickedHandler()
{
    QWidget parent;
    QPointer<OrvQPushButton> button = new OrvQPushButton(&parent);
    button->resize(100, 30);
    connect(button.data(), &QPushButton::clicked, button.data(), [&] { delete button.data(); });

    QTest::mousePress(button.data(), Qt::LeftButton, {}, QPoint(50, 15));
    QTest::mouseRelease(button.data(), Qt::LeftButton, {}, QPoint(50, 15));
    QVERIFY(button.isNull());
}

QTEST_MAIN(TestPushButton)
#include "tst_pushbutton.moc"
