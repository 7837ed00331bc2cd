#include "orvqtlib.h"
#include "testsupport.h"

#include <QApplication>
#include <QCommonStyle>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000;
const QRgb Green = 0xff00ff00;
const QRgb Black = 0xff000000;
const QRgb Grey = 0xff808080;

// Counts the messages Qt prints while it lives; the toolkit's reports of
// what it clamped go to its own category and are not counted.
class MessageCounter
{
public:
    MessageCounter() { s_count = 0; m_previous = qInstallMessageHandler(&count); }
    ~MessageCounter() { qInstallMessageHandler(m_previous); }
    int messages() const { return s_count; }

private:
    static void count(QtMsgType, const QMessageLogContext &context, const QString &)
    {
        if (qstrcmp(context.category, "orvqtlib.skin") != 0)
            ++s_count;
    }
    static inline int s_count = 0;
    QtMessageHandler m_previous;
};

std::unique_ptr<QWidget> create(const char *type, const QByteArray &element)
{
    return std::unique_ptr<QWidget>(createControl(type, parseJson(element), nullptr));
}

// Draws nothing; remembers the rectangle of the last spin box it was given.
class SpinBoxRecorder : public QCommonStyle
{
public:
    mutable QRect drawn;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *,
                            const QWidget *) const override
    {
        if (control == CC_SpinBox)
            drawn = option->rect;
    }
};

// A parent that counts the presses reaching it.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class TestSmallControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void groupBoxLines_data();
    void groupBoxLines();
    void groupBoxTitleHeldToWidth();
    void lcdColours_data();
    void lcdColours();
    void lcdColourSurvivesOtherActiveWindow();
    void lcdDigitCountClamped_data();
    void lcdDigitCountClamped();
    void spinBoxIsFramelessQSpinBox();
    void hugeSpinBoxDrawnWhereReached_data();
    void hugeSpinBoxDrawnWhereReached();
    void pressesOverBars_data();
    void pressesOverBars();
};

void TestSmallControls::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestSmallControls::groupBoxLines_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<int>("bottom");

    QTest::newRow("empty title, hex colour") << QByteArray(R"({"text": "", "color": "ff0000"})") << Red << 79;
    QTest::newRow("title hidden, colour as a number")
        << QByteArray(R"({"text": "Title", "showText": false, "color": 4294901760, "size": 5})") << Red << 75;
    QTest::newRow("colour without text: black") << QByteArray(R"({"color": "ff0000", "size": 5})") << Black << 79;
    QTest::newRow("hostile inset clamped") << QByteArray(R"({"text": "", "color": 65280, "size": -3000000000})")
                                           << Green << 79;
}

void TestSmallControls::groupBoxLines()
{
    QFETCH(QByteArray, attr);
    QFETCH(QRgb, color);
    QFETCH(int, bottom);

    auto box = create("groupbox", R"({"w": 120, "h": 80, "attr": )" + attr + "}");
    QVERIFY(qobject_cast<OrvQGroupBox *>(box.get()));
    box->resize(120, 80);
    const QImage image = renderOf(*box);
    const QRect lines = boxOf(image, color);
    QCOMPARE(lines.left(), 0);
    QCOMPARE(lines.right(), 118);
    QCOMPARE(lines.bottom(), bottom);
    // The top line leaves a 4-pixel gap from x 5 to 9 for an empty or hidden title.
    const int y0 = lines.top();
    QCOMPARE(image.pixel(5, y0), color);
    QCOMPARE(qAlpha(image.pixel(6, y0)), 0);
    QCOMPARE(qAlpha(image.pixel(8, y0)), 0);
    QCOMPARE(image.pixel(9, y0), color);
}

void TestSmallControls::groupBoxTitleHeldToWidth()
{
    OrvQGroupBox box;
    box.impl()->setTitle(QString(100000, QLatin1Char('W')));
    const QRect title = box.impl()->titleRect(QRect(0, 0, 200, 50));
    QVERIFY(title.width() <= 200);
    QVERIFY(title.height() <= 50);
}

void TestSmallControls::lcdColours_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QRgb>("digits");
    QTest::addColumn<QRgb>("background"); // 0: transparent

    QTest::newRow("no colour: black on transparent") << QByteArray(R"({"attr": {"text": "88"}})") << Black << 0u;
    QTest::newRow("colour 65280: green") << QByteArray(R"({"attr": {"text": "88", "color": 65280}})") << Green
                                         << 0u;
    QTest::newRow("colour as hex text") << QByteArray(R"({"attr": {"text": "88", "color": "00ff00"}})") << Green
                                        << 0u;
    QTest::newRow("unsigned colour does not throw")
        << QByteArray(R"({"attr": {"text": "88", "color": 4294901760}})") << Red << 0u;
    QTest::newRow("background style")
        << QByteArray(R"({"style": [["grey", 0, 0]], "attr": {"text": "88", "color": 65280}})") << Green << Grey;
}

void TestSmallControls::lcdColours()
{
    QFETCH(QByteArray, element);
    QFETCH(QRgb, digits);
    QFETCH(QRgb, background);

    auto lcd = create("qtlcdnumber", element);
    QVERIFY(qobject_cast<OrvQLCDNumber *>(lcd.get()));
    lcd->resize(100, 40);
    const QImage image = renderOf(*lcd);
    QVERIFY(boxOf(image, digits).width() > 20);
    QCOMPARE(image.pixel(1, 1), background);
}

void TestSmallControls::lcdColourSurvivesOtherActiveWindow()
{
    auto lcd = create("qtlcdnumber", R"({"attr": {"text": "88", "color": 65280}})");
    lcd->resize(100, 40);
    lcd->show();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(!lcd->isActiveWindow());
    QVERIFY(boxOf(lcd->grab().toImage().convertToFormat(QImage::Format_ARGB32), Green).width() > 20);
    QCOMPARE(boxOf(lcd->grab().toImage().convertToFormat(QImage::Format_ARGB32), Black), QRect());
}

void TestSmallControls::lcdDigitCountClamped_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("digits");

    QTest::newRow("in range") << QByteArray(R"({"digitCount": 8})") << 8;
    QTest::newRow("too many") << QByteArray(R"({"digitCount": 500})") << OrvQLCDNumberImpl::MaxDigitCount;
    QTest::newRow("negative") << QByteArray(R"({"digitCount": -4})") << 0;
    QTest::newRow("wrong type") << QByteArray(R"({"digitCount": "8", "text": [1]})") << 5;
}

void TestSmallControls::lcdDigitCountClamped()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, digits);

    MessageCounter counter;
    auto lcd = create("qtlcdnumber", R"({"attr": )" + attr + "}");
    renderOf(*lcd);
    QCOMPARE(qobject_cast<QLCDNumber *>(lcd.get())->digitCount(), digits);
    QCOMPARE(counter.messages(), 0);
}

void TestSmallControls::spinBoxIsFramelessQSpinBox()
{
    for (const char *type : {"qtspinbox", "spinbox", "dnumedit"}) {
        auto made = create(type, R"({"w": 80, "h": 24, "attr": {"text": "x"}})");
        auto *spin = qobject_cast<OrvQSpinBox *>(made.get());
        QVERIFY(spin);
        QSpinBox plain;
        plain.setFrame(false);
        plain.setStyleSheet(QStringLiteral("background-color: rgba(0, 0, 0, 0);"));
        for (QSpinBox *box : {static_cast<QSpinBox *>(spin), &plain}) {
            box->resize(80, 24);
            box->setValue(41);
            QTest::keyClick(box, Qt::Key_Up);
        }
        QCOMPARE(spin->value(), 42);
        QVERIFY(!spin->hasFrame());
        QCOMPARE(renderOf(*spin), renderOf(plain));
    }
}

// Qt's styles draw a spin box through a pixmap of its whole size: one
// millions of pixels long is drawn as the part the painter reaches, with a
// margin of 64 pixels.
void TestSmallControls::hugeSpinBoxDrawnWhereReached_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QRect>("drawn");
    QTest::newRow("ordinary: whole") << QSize(80, 24) << 0 << QRect(0, 0, 80, 24);
    QTest::newRow("millions wide") << QSize(8100010, 24) << 0 << QRect(0, 0, 264, 24);
    QTest::newRow("seen from its middle") << QSize(8100010, 24) << 4000000 << QRect(3999936, 0, 328, 24);
}

void TestSmallControls::hugeSpinBoxDrawnWhereReached()
{
    QFETCH(QSize, size);
    QFETCH(int, shift);
    QFETCH(QRect, drawn);
    CScrollBarStyle style;
    auto *recorder = new SpinBoxRecorder;
    style.setBaseStyle(recorder);
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.translate(-shift, 0);
    QStyleOptionSpinBox option;
    option.rect = QRect(QPoint(), size);
    style.drawComplexControl(QStyle::CC_SpinBox, &option, &painter);
    QCOMPARE(recorder->drawn, drawn);
    QCOMPARE(option.rect, QRect(QPoint(), size));
}

void TestSmallControls::pressesOverBars_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<int>("parentPresses");
    QTest::addColumn<QRgb>("pixel");

    QTest::newRow("splitter without style") << QByteArray("splitter") << QByteArray("[]") << 0 << 0u;
    QTest::newRow("splitter with a bar style") << QByteArray("qtsplitter") << QByteArray(R"([["red", 0, 0]])") << 0
                                               << Red;
    QTest::newRow("canvas passes presses on") << QByteArray("canvas") << QByteArray(R"([["red", 0, 0]])") << 2
                                              << 0u;
}

void TestSmallControls::pressesOverBars()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, style);
    QFETCH(int, parentPresses);
    QFETCH(QRgb, pixel);

    PressCounter parent;
    QWidget *bar = createControl(type.constData(), parseJson(R"({"style": )" + style + "}"), &parent);
    QVERIFY(bar);
    bar->resize(10, 60);
    QCOMPARE(renderOf(*bar).pixel(5, 30), pixel);
    for (QEvent::Type event : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        QMouseEvent press(event, QPoint(5, 30), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &press);
    }
    QCOMPARE(parent.presses, parentPresses);
}

QTEST_MAIN(TestSmallControls)
#include "tst_smallcontrols.moc"
