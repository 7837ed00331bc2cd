#include "orvqtlib.h"
#include "testsupport.h"

#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QColor Background(0xe8, 0xea, 0xee);

template <class Control>
Control *childNamed(QWidget &window, const char *name)
{
    return window.findChild<Control *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

int countNear(const QImage &image, const QRect &area, QRgb color, int tolerance)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - qRed(color)) <= tolerance && qAbs(qGreen(p) - qGreen(color)) <= tolerance
                && qAbs(qBlue(p) - qBlue(color)) <= tolerance)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestControlsRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void registeredNames_data();
    void registeredNames();
    void windowRenders_data();
    void windowRenders();
    void windowText();
    void badKeysAreHarmless_data();
    void badKeysAreHarmless();

private:
    QImage renderWindow();

    std::unique_ptr<QWidget> m_window;
    QImage m_render;
};

void TestControlsRender::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));

    m_window = std::make_unique<QWidget>();
    m_window->resize(340, 166);
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, Background);
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
    QVERIFY(loadWindowLayout(m_window.get(), QStringLiteral("controls")));

    // Check three of them with real clicks, so both looks are on show.
    for (const char *name : {"plainCheck", "skinCheck", "radioB"}) {
        auto *button = childNamed<QAbstractButton>(*m_window, name);
        QVERIFY2(button, name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 10));
        QVERIFY2(button->isChecked(), name);
    }

    m_render = QImage(m_window->size(), QImage::Format_ARGB32);
    m_window->render(&m_render);
    // Set ORV_RENDER_OUT to a file name to look at the picture.
    const QString out = qEnvironmentVariable("ORV_RENDER_OUT");
    if (!out.isEmpty())
        QVERIFY(m_render.save(out));
}

void TestControlsRender::registeredNames_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("typeName");

    QTest::newRow("qtbutton") << QByteArray("qtbutton") << QStringLiteral("qtbutton");
    QTest::newRow("button") << QByteArray("button") << QStringLiteral("qtbutton");
    QTest::newRow("qtprogressbar") << QByteArray("qtprogressbar") << QStringLiteral("qtprogressbar");
    QTest::newRow("progressbar") << QByteArray("progressbar") << QStringLiteral("qtprogressbar");
    QTest::newRow("qtcheckbox") << QByteArray("qtcheckbox") << QStringLiteral("qtcheckbox");
    QTest::newRow("checkbox") << QByteArray("checkbox") << QStringLiteral("qtcheckbox");
    QTest::newRow("qtradiobox") << QByteArray("qtradiobox") << QStringLiteral("qtradiobox");
    QTest::newRow("radio") << QByteArray("radio") << QStringLiteral("qtradiobox");
    QTest::newRow("radiobox") << QByteArray("radiobox") << QStringLiteral("qtradiobox");
}

void TestControlsRender::registeredNames()
{
    QFETCH(QByteArray, type);
    QFETCH(QString, typeName);

    QWidget parent;
    QWidget *widget = createControl(type.constData(), parseJson("{}"), &parent);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &parent);
    IOrvQControlBase *control = qobject_cast<IOrvQControlBase *>(widget);
    QVERIFY(control);
    QCOMPARE(control->typeName(), typeName);
}

void TestControlsRender::windowRenders_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QRgb>("color");

    QTest::newRow("button face") << QPoint(60, 12) << qRgb(0x2d, 0x6c, 0xdf);
    QTest::newRow("button icon, left with offset 6") << QPoint(19, 24) << qRgb(255, 255, 0);
    QTest::newRow("rounded corner shows the window") << QPoint(10, 10) << Background.rgb();
    QTest::newRow("disabled button face") << QPoint(170, 12) << qRgb(0xb0, 0xb0, 0xb0);
    QTest::newRow("framed button border") << QPoint(230, 20) << qRgb(0x2d, 0x6c, 0xdf);
    QTest::newRow("framed button face") << QPoint(300, 12) << qRgb(0xf0, 0xf0, 0xf0);
    QTest::newRow("progress chunk, 40 of 100") << QPoint(15, 54) << qRgb(0x20, 0xc0, 0x40);
    QTest::newRow("progress chunk ends at 80") << QPoint(89, 54) << qRgb(0x20, 0xc0, 0x40);
    QTest::newRow("progress groove after it") << QPoint(90, 54) << qRgb(0x30, 0x30, 0x30);
    QTest::newRow("full progress") << QPoint(328, 68) << qRgb(0x20, 0xc0, 0x40);
    QTest::newRow("built-in checked mark outline") << QPoint(11, 85) << qRgb(0xcc, 0xcc, 0xcc);
    QTest::newRow("built-in unchecked mark outline") << QPoint(11, 109) << qRgb(0xcc, 0xcc, 0xcc);
    QTest::newRow("built-in unchecked mark inside") << QPoint(18, 116) << Background.rgb();
    QTest::newRow("checked background") << QPoint(325, 84) << qRgb(0xdf, 0xf5, 0xe1);
    QTest::newRow("checked skinned icon") << QPoint(177, 91) << qRgb(0, 160, 160);
    QTest::newRow("unchecked skinned icon") << QPoint(177, 115) << qRgb(255, 128, 0);
    QTest::newRow("unchecked has no background") << QPoint(325, 108) << Background.rgb();
    QTest::newRow("unchecked radio") << QPoint(17, 146) << qRgb(230, 230, 230);
    QTest::newRow("checked radio") << QPoint(177, 146) << qRgb(200, 30, 30);
}

void TestControlsRender::windowRenders()
{
    QFETCH(QPoint, pos);
    QFETCH(QRgb, color);
    QCOMPARE(QColor(m_render.pixel(pos)), QColor(color));
}

void TestControlsRender::windowText()
{
    // The window's controls and their texts, as drawn.
    auto *radioA = childNamed<OrvQRadioButton>(*m_window, "radioA");
    auto *radioB = childNamed<OrvQRadioButton>(*m_window, "radioB");
    QVERIFY(radioA && radioB);
    QVERIFY(!radioA->isChecked());
    QCOMPARE(childNamed<OrvQProgressBar>(*m_window, "progress")->value(), 40);
    QCOMPARE(childNamed<OrvQPushButton>(*m_window, "okButton")->text(), QStringLiteral("OK"));
    QCOMPARE(childNamed<OrvQPushButton>(*m_window, "offButton")->geometry(), QRect(120, 10, 100, 30));

    QVERIFY(countNear(m_render, QRect(40, 16, 40, 18), qRgb(255, 255, 255), 40) > 10);     // "OK"
    QVERIFY(countNear(m_render, QRect(95, 52, 30, 18), qRgb(255, 255, 255), 40) > 10);     // "40%"
    QVERIFY(countNear(m_render, QRect(130, 16, 80, 18), qRgb(0x60, 0x60, 0x60), 30) > 5);  // disabled text
    QVERIFY(countNear(m_render, QRect(26, 82, 120, 20), qRgb(255, 0, 0), 60) > 10);        // checked text
    QVERIFY(countNear(m_render, QRect(26, 106, 120, 20), qRgb(255, 0, 0), 60) == 0);       // unchecked text
    QVERIFY(countNear(m_render, QRect(26, 106, 120, 20), qRgb(0, 0, 0), 60) > 10);
    // The radio's text starts two pixels after its 14-pixel icon.
    QCOMPARE(countNear(m_render, QRect(24, 136, 2, 20), qRgb(0, 0, 0), 60), 0);
    QVERIFY(countNear(m_render, QRect(26, 136, 40, 20), qRgb(0, 0, 0), 60) > 10);
}

void TestControlsRender::badKeysAreHarmless_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("element");

    const QByteArray wrongTypes = R"({"style": {"a": 1, "b": [null, 0, 0], "c": ["red", 0, 1e300]},
        "attr": {"text": [1], "val": 1e300, "iconHor": "x", "iconVer": 1e20, "iconX": -2147483648,
                 "iconY": 2147483647, "txtX": 2147483647, "txtY": -2147483648, "showText": {},
                 "iconPath": [], "siconPath": 3, "hotIconPath": null, "pushlike": "yes"}})";
    const QByteArray notObjects = R"({"style": "red", "attr": [1, 2]})";
    for (const char *type : {"button", "progressbar", "checkbox", "radio"}) {
        QTest::newRow(QByteArray(type).append(": wrong types")) << QByteArray(type) << wrongTypes;
        QTest::newRow(QByteArray(type).append(": not objects")) << QByteArray(type) << notObjects;
        QTest::newRow(QByteArray(type).append(": not an object")) << QByteArray(type) << QByteArray("[1]");
    }
}

void TestControlsRender::badKeysAreHarmless()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, element);

    QWidget parent;
    QWidget *widget = createControl(type.constData(), parseJson(element), &parent);
    QVERIFY(widget);
    widget->resize(120, 24);
    QImage image(widget->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget->render(&image);
    for (int state = 0; state < 4; ++state) {
        controlInterface(widget)->impl()->setState(OrvQControlState(state));
        widget->render(&image);
    }
}

QTEST_MAIN(TestControlsRender)
#include "tst_controlsrender.moc"
