#include "orvqtlib.h"
#include "testsupport.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// The solid icons of the test package.
const QRgb Off = 0xffff8000;
const QRgb OffHot = 0xff800080;
const QRgb On = 0xff00a0a0;
const QRgb OnHot = 0xff000080;

template <class Control>
std::unique_ptr<Control> makeControl(const QByteArray &element, const QSize &size = QSize(100, 20))
{
    auto control = std::make_unique<Control>();
    control->loadFromJson(parseJson(element));
    control->resize(size);
    return control;
}

template <class Control>
QImage lookIn(Control &control, int state)
{
    control.setEnabled(state != StateDisabled);
    control.impl()->setState(OrvQControlState(state));
    return renderOf(control);
}

void sendEnter(QWidget *widget)
{
    QEvent event(QEvent::Enter);
    QApplication::sendEvent(widget, &event);
}

// Leftmost column holding a dark text pixel, or -1.
int textLeft(const QImage &image)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qAlpha(image.pixel(x, y)) >= 128 && qGray(image.pixel(x, y)) < 100)
                return x;
    return -1;
}

QImage builtIn(const char *name)
{
    const QImage *image = OrvQResourceManager::instance().image(QLatin1String(name));
    return image ? image->convertToFormat(QImage::Format_ARGB32) : QImage();
}

// A rect record as a colour, 0 when it draws nothing.
QRgb lookOf(const OrvQRectStyle &style)
{
    return style.nonEmpty ? style.color.rgba() : 0;
}

QRgb lookOf(const OrvQFontStyle &style)
{
    return style.color.isValid() ? style.color.rgba() : 0;
}

} // namespace

class TestCheckBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builtInMarksWithoutStyle();
    void wholeControlTakesTheClick_data();
    void wholeControlTakesTheClick();
    void textStart_data();
    void textStart();
    void icons_data();
    void icons();
    void styleTables_data();
    void styleTables();
    void iconAlignmentKeys();
    void textKey();
    void publicOperations();
    void radioRelease_data();
    void radioRelease();
    void radioLook();
    void deletedByClickedHandler();
};

void TestCheckBox::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestCheckBox::builtInMarksWithoutStyle()
{
    OrvQCheckBox box;
    QCOMPARE(box.typeName(), QStringLiteral("qtcheckbox"));
    box.resize(100, 20);

    // The 16 x 16 mark sits at the left, centred vertically; nothing else is drawn.
    QImage image = renderOf(box);
    QCOMPARE(image.copy(0, 2, 16, 16), builtIn("IDB_UNCHECK"));
    QImage clear(84, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QCOMPARE(image.copy(16, 0, 84, 20), clear);
    box.setChecked(true);
    image = renderOf(box);
    QCOMPARE(image.copy(0, 2, 16, 16), builtIn("IDB_CHECKED"));

    // Hovered, the copied hover names show the same marks.
    sendEnter(&box);
    QCOMPARE(renderOf(box).copy(0, 2, 16, 16), builtIn("IDB_CHECKED"));

    // Disabled, no mark at all.
    QImage disabled = lookIn(box, StateDisabled);
    QCOMPARE(disabled.pixel(1, 3), 0u);
}

void TestCheckBox::wholeControlTakesTheClick_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("toggles");

    QTest::newRow("on the mark") << QPoint(8, 10) << true;
    QTest::newRow("far right, where the skin may draw text") << QPoint(95, 10) << true;
    QTest::newRow("bottom edge") << QPoint(50, 19) << true;
    QTest::newRow("released outside") << QPoint(150, 10) << false;
}

void TestCheckBox::wholeControlTakesTheClick()
{
    QFETCH(QPoint, pos);
    QFETCH(bool, toggles);

    auto box = makeControl<OrvQCheckBox>(R"({"attr": {"text": "On"}})");
    QSignalSpy clicked(box.get(), &QAbstractButton::clicked);
    QSignalSpy toggled(box.get(), &QAbstractButton::toggled);
    QTest::mousePress(box.get(), Qt::LeftButton, {}, pos.x() < 100 ? pos : QPoint(50, 10));
    QCOMPARE(box->impl()->state(), StatePressed);
    QTest::mouseRelease(box.get(), Qt::LeftButton, {}, pos);
    QCOMPARE(box->isChecked(), toggles);
    QCOMPARE(clicked.count(), toggles ? 1 : 0);
    QCOMPARE(toggled.count(), toggles ? 1 : 0);
    QCOMPARE(box->impl()->state(), StateNormal);
}

void TestCheckBox::textStart_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("left");

    QTest::newRow("after the built-in mark") << QByteArray("{}") << 16;
    QTest::newRow("after the mark and its offset") << QByteArray(R"({"iconX": 5})") << 21;
    QTest::newRow("after a skinned mark") << QByteArray(R"({"iconPath": "images/off.png"})") << 12;
    QTest::newRow("centred mark: text from 0") << QByteArray(R"({"iconHor": 1})") << 0;
    QTest::newRow("icon hidden") << QByteArray(R"({"showIcon": false})") << 0;
    QTest::newRow("no unchecked icon") << QByteArray(R"({"iconPath": ""})") << 0;
    QTest::newRow("missing image") << QByteArray(R"({"iconPath": "images/nosuch.png"})") << 0;
}

void TestCheckBox::textStart()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, left);

    Json::Value element = parseJson(R"({"style": [["white", 0, 0], ["fontBlack", 0, 8]]})");
    element["attr"] = parseJson(attr);
    element["attr"]["text"] = "MMM";
    OrvQCheckBox box;
    box.loadFromJson(element);
    box.resize(120, 20);
    const int found = textLeft(renderOf(box));
    QVERIFY2(found >= left && found <= left + 3, qPrintable(QString::number(found)));
}

void TestCheckBox::icons_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QList<QRgb>>("unchecked"); // icon colour in states 0 to 3
    QTest::addColumn<QList<QRgb>>("checked");

    QTest::newRow("four icons")
        << QByteArray(R"({"iconPath": "images/off.png", "hotIconPath": "images/offhot.png",
                          "siconPath": "images/on.png", "sHotIconPath": "images/onhot.png"})")
        << QList<QRgb>{Off, OffHot, Off, 0} << QList<QRgb>{On, OnHot, On, 0};
    QTest::newRow("hover icons not given follow the icons")
        << QByteArray(R"({"iconPath": "images/off.png", "siconPath": "images/on.png"})")
        << QList<QRgb>{Off, Off, Off, 0} << QList<QRgb>{On, On, On, 0};
    QTest::newRow("empty hover icons follow the icons")
        << QByteArray(R"({"iconPath": "images/off.png", "hotIconPath": "",
                          "siconPath": "images/on.png", "sHotIconPath": ""})")
        << QList<QRgb>{Off, Off, Off, 0} << QList<QRgb>{On, On, On, 0};
    QTest::newRow("showIcon false")
        << QByteArray(R"({"iconPath": "images/off.png", "siconPath": "images/on.png", "showIcon": false})")
        << QList<QRgb>{0, 0, 0, 0} << QList<QRgb>{0, 0, 0, 0};
}

void TestCheckBox::icons()
{
    QFETCH(QByteArray, attr);
    QFETCH(QList<QRgb>, unchecked);
    QFETCH(QList<QRgb>, checked);

    auto box = makeControl<OrvQCheckBox>(R"({"attr": )" + attr + "}");
    for (int state = 0; state < 4; ++state) {
        box->setChecked(false);
        // The 12 x 12 icons sit at (0, 4).
        QCOMPARE(lookIn(*box, state).pixel(6, 10), unchecked[state]);
        box->setChecked(true);
        QCOMPARE(lookIn(*box, state).pixel(6, 10), checked[state]);
    }
}

void TestCheckBox::styleTables_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QList<QRgb>>("unchecked");
    QTest::addColumn<QList<QRgb>>("checked");
    QTest::addColumn<QRgb>("uncheckedFont");
    QTest::addColumn<QRgb>("checkedFont");

    const QRgb white = 0xffffffff;
    const QRgb red = 0xffff0000;
    const QRgb green = 0xff00ff00;
    const QRgb blue = 0xff0000ff;
    const QRgb yellow = 0xffffff00;
    const QRgb black = 0xff000000;
    const QList<QRgb> none{0, 0, 0, 0};

    QTest::newRow("check box defaults") << QByteArray("checkbox") << QByteArray("[]") << none << none << 0u << 0u;
    QTest::newRow("radio defaults: checked records are drawn")
        << QByteArray("radio") << QByteArray("[]") << none << QList<QRgb>{white, white, white, white} << 0u << 0u;
    QTest::newRow("fan-out of 0 and 4, later states win")
        << QByteArray("qtcheckbox")
        << QByteArray(R"([["red", 0, 0], ["green", 0, 2], ["blue", 0, 4], ["yellow", 0, 7], ["nosuch", 0, 5]])")
        << QList<QRgb>{red, red, green, red} << QList<QRgb>{blue, blue, blue, yellow} << 0u << 0u;
    QTest::newRow("fan-out overwrites earlier states")
        << QByteArray("radiobox") << QByteArray(R"([["green", 0, 1], ["red", 0, 0], ["yellow", 0, 6], ["blue", 0, 4]])")
        << QList<QRgb>{red, red, red, red} << QList<QRgb>{blue, blue, blue, blue} << 0u << 0u;
    QTest::newRow("check box: index 8 is the unchecked font only")
        << QByteArray("checkbox") << QByteArray(R"([["fontRed", 0, 8]])") << none << none << red << 0u;
    QTest::newRow("radio: index 8 is both fonts")
        << QByteArray("radio") << QByteArray(R"([["fontRed", 0, 8]])") << none
        << QList<QRgb>{white, white, white, white} << red << red;
    QTest::newRow("radio: index 9 after 8")
        << QByteArray("qtradiobox") << QByteArray(R"([["fontRed", 0, 8], ["fontBlack", 0, 9]])") << none
        << QList<QRgb>{white, white, white, white} << red << black;
    QTest::newRow("radio: index 9 before 8 is overwritten")
        << QByteArray("radio") << QByteArray(R"([["fontBlack", 0, 9], ["fontRed", 0, 8]])") << none
        << QList<QRgb>{white, white, white, white} << red << red;
    QTest::newRow("empty clears a drawn record")
        << QByteArray("radio") << QByteArray(R"([["empty", 0, 4], ["green", 0, 5]])") << none
        << QList<QRgb>{0, green, 0, 0} << 0u << 0u;
}

void TestCheckBox::styleTables()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, style);
    QFETCH(QList<QRgb>, unchecked);
    QFETCH(QList<QRgb>, checked);
    QFETCH(QRgb, uncheckedFont);
    QFETCH(QRgb, checkedFont);

    QWidget parent;
    QWidget *widget = createControl(type.constData(), parseJson(R"({"style": )" + style + "}"), &parent);
    QVERIFY(widget);
    auto *impl = qobject_cast<OrvQTwoStateButtonImpl *>(controlInterface(widget)->impl());
    QVERIFY(impl);
    QCOMPARE(bool(qobject_cast<OrvQRadioButton *>(widget)), type.contains("radio"));
    for (int state = 0; state < 4; ++state) {
        QCOMPARE(lookOf(impl->rectStyle(false, state)), unchecked[state]);
        QCOMPARE(lookOf(impl->rectStyle(true, state)), checked[state]);
    }
    QCOMPARE(lookOf(impl->fontStyle(false)), uncheckedFont);
    QCOMPARE(lookOf(impl->fontStyle(true)), checkedFont);
}

void TestCheckBox::iconAlignmentKeys()
{
    // The radio reads -1 as "keep"; the check box stores what it is given.
    auto radio = makeControl<OrvQRadioButton>(R"({"attr": {"iconHor": -1, "iconVer": -1, "iconX": 3}})");
    QCOMPARE(radio->impl()->iconAlign().hor, 0);
    QCOMPARE(radio->impl()->iconAlign().ver, 1);
    QCOMPARE(radio->impl()->iconAlign().x, 3);
    radio = makeControl<OrvQRadioButton>(R"({"attr": {"iconHor": 2, "iconVer": 0}})");
    QCOMPARE(radio->impl()->iconAlign().hor, 2);
    QCOMPARE(radio->impl()->iconAlign().ver, 0);

    auto box = makeControl<OrvQCheckBox>(R"({"attr": {"iconHor": -1}})");
    QCOMPARE(box->impl()->iconAlign().hor, -1);
    QCOMPARE(box->impl()->iconAlign().ver, 1);
}

void TestCheckBox::textKey()
{
    OrvQCheckBox box;
    box.setText(QStringLiteral("before"));
    box.loadFromJson(parseJson(R"({"style": []})"));
    QCOMPARE(box.text(), QStringLiteral("before"));
    box.loadFromJson(parseJson(R"({"attr": {"showText": false}})"));
    QCOMPARE(box.text(), QString());
    QVERIFY(!box.impl()->showText());

    OrvQRadioButton radio;
    radio.loadFromJson(parseJson(R"({"attr": {"text": "Adult", "pushlike": true}})"));
    QCOMPARE(radio.text(), QStringLiteral("Adult"));
    QVERIFY(radio.impl()->pushLike());
    QCOMPARE(radio.typeName(), QStringLiteral("qtradiobox"));
}

void TestCheckBox::publicOperations()
{
    OrvQCheckBox box;
    OrvQRectStyle red;
    red.color = Qt::red;
    OrvQRectStyle green;
    green.color = Qt::green;

    box.setUncheckedStyle(4, red);
    box.setUncheckedStyle(2, green);
    box.setUncheckedStyle(5, green);  // no such index
    box.setUncheckedStyle(-1, green);
    box.setCheckedStyle(1, green);
    const QList<QRgb> unchecked{0xffff0000, 0xffff0000, 0xff00ff00, 0xffff0000};
    for (int state = 0; state < 4; ++state) {
        QCOMPARE(lookOf(box.impl()->rectStyle(false, state)), unchecked[state]);
        QCOMPARE(lookOf(box.impl()->rectStyle(true, state)), state == 1 ? 0xff00ff00u : 0u);
    }

    // The icons change, their hover names do not.
    box.setUncheckedIcon(QStringLiteral("images/off.png"));
    box.setCheckedIcon(QStringLiteral("images/on.png"));
    QCOMPARE(box.impl()->uncheckedHotIcon(), QStringLiteral("IDB_UNCHECK"));
    QCOMPARE(box.impl()->checkedHotIcon(), QStringLiteral("IDB_CHECKED"));
    box.resize(100, 20);
    QCOMPARE(renderOf(box).pixel(6, 10), Off);
    box.setChecked(true);
    QCOMPARE(renderOf(box).pixel(6, 10), On);

    box.setText(QStringLiteral("MMM"));
    box.setShowText(false);
    QCOMPARE(textLeft(renderOf(box)), -1);
}

void TestCheckBox::radioRelease_data()
{
    QTest::addColumn<int>("radios");         // in one parent
    QTest::addColumn<int>("checkedBefore");  // -1: none
    QTest::addColumn<int>("clickedIndex");
    QTest::addColumn<QList<bool>>("checkedAfter");
    QTest::addColumn<int>("toggles");        // of the clicked one

    QTest::newRow("lone radio checks") << 1 << -1 << 0 << QList<bool>{true} << 1;
    QTest::newRow("lone radio unchecks") << 1 << 0 << 0 << QList<bool>{false} << 1;
    QTest::newRow("one of two stays checked") << 2 << 0 << 0 << QList<bool>{true, false} << 0;
    QTest::newRow("one of two takes the check") << 2 << 0 << 1 << QList<bool>{false, true} << 1;
}

void TestCheckBox::radioRelease()
{
    QFETCH(int, radios);
    QFETCH(int, checkedBefore);
    QFETCH(int, clickedIndex);
    QFETCH(QList<bool>, checkedAfter);
    QFETCH(int, toggles);

    QWidget parent;
    QList<OrvQRadioButton *> buttons;
    for (int i = 0; i < radios; ++i) {
        buttons.append(new OrvQRadioButton(&parent));
        buttons.last()->setGeometry(0, 20 * i, 100, 20);
    }
    if (checkedBefore >= 0)
        buttons[checkedBefore]->setChecked(true);

    OrvQRadioButton *radio = buttons[clickedIndex];
    QSignalSpy clicked(radio, &QAbstractButton::clicked);
    QSignalSpy pressed(radio, &QAbstractButton::pressed);
    QSignalSpy toggled(radio, &QAbstractButton::toggled);

    QTest::mousePress(radio, Qt::LeftButton, {}, QPoint(50, 10));
    QCOMPARE(radio->impl()->state(), StatePressed);
    QCOMPARE(radio->isChecked(), checkedBefore == clickedIndex);
    QTest::mouseRelease(radio, Qt::LeftButton, {}, QPoint(50, 10));
    QCOMPARE(radio->impl()->state(), StateNormal);

    for (int i = 0; i < radios; ++i)
        QCOMPARE(buttons[i]->isChecked(), checkedAfter[i]);
    QCOMPARE(toggled.count(), toggles);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(pressed.count(), 0);
}

void TestCheckBox::radioLook()
{
    // A checked radio without styles paints a plain white record over its icon.
    auto radio = makeControl<OrvQRadioButton>(R"({"attr": {"iconPath": "images/off.png",
        "siconPath": "images/on.png", "hotIconPath": "images/offhot.png"}})");
    QCOMPARE(renderOf(*radio).pixel(6, 10), Off);
    sendEnter(radio.get());
    QCOMPARE(renderOf(*radio).pixel(6, 10), OffHot);
    radio->setChecked(true);
    // No checked hover icon: the checked icon shows while hovered.
    QCOMPARE(renderOf(*radio).pixel(6, 10), 0xffffffffu);

    radio = makeControl<OrvQRadioButton>(R"({"style": [["empty", 0, 4]], "attr": {"iconPath": "images/off.png",
        "siconPath": "images/on.png"}})");
    radio->setChecked(true);
    QCOMPARE(renderOf(*radio).pixel(6, 10), On);
    sendEnter(radio.get());
    QCOMPARE(renderOf(*radio).pixel(6, 10), On);

    // The text starts two pixels after the icon, unless the radio is push-like.
    const QByteArray texted = R"({"style": [["fontBlack", 0, 8]], "attr": {"text": "MMM", "iconPath": "images/off.png")";
    radio = makeControl<OrvQRadioButton>(texted + "}}", QSize(120, 20));
    int left = textLeft(renderOf(*radio));
    QVERIFY2(left >= 14 && left <= 17, qPrintable(QString::number(left)));
    radio = makeControl<OrvQRadioButton>(texted + R"(, "pushlike": true}})", QSize(120, 20));
    left = textLeft(renderOf(*radio));
    QVERIFY2(left >= 0 && left <= 3, qPrintable(QString::number(left)));
}

void TestCheckBox::deletedByClickedHandler()
{
    QWidget parent;
    QPointer<OrvQCheckBox> box = new OrvQCheckBox(&parent);
    box->resize(100, 20);
    connect(box.data(), &QAbstractButton::clicked, box.data(), [&] { delete box.data(); });
    QTest::mousePress(box.data(), Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(box.data(), Qt::LeftButton, {}, QPoint(50, 10));
    QVERIFY(box.isNull());

}

QTEST_MAIN(TestCheckBox)
#include "tst_checkbox.moc"
