#include "orvqtlib.h"
#include "testsupport.h"

#include <QPainter>
#include <QTest>

#include <limits>
#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Groove = 0xff303030;
const QRgb Chunk = 0xff20c040;

const char *const Styled = R"({"style": [["groove", 0, 0], ["chunk", 0, 2], ["fontWhite", 0, 4]]})";

std::unique_ptr<OrvQProgressBar> makeBar(const QByteArray &element, const QSize &size)
{
    auto bar = std::make_unique<OrvQProgressBar>();
    bar->loadFromJson(parseJson(element));
    bar->resize(size);
    return bar;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestProgressBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void chunkExtents_data();
    void chunkExtents();
    void percentText_data();
    void percentText();
    void loadKeys();
    void styleSlots();
    void lookIgnoresState();
    void repaintsOnValueChanged();
};

void TestProgressBar::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestProgressBar::chunkExtents_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value"); // INT_MIN: never set
    QTest::addColumn<QRect>("chunk");

    const int H = Qt::Horizontal;
    const int V = Qt::Vertical;
    const int unset = std::numeric_limits<int>::min();
    QTest::newRow("value 0") << H << QSize(200, 20) << 0 << 100 << 0 << QRect();
    QTest::newRow("value 100 fills the groove") << H << QSize(200, 20) << 0 << 100 << 100 << QRect(0, 0, 200, 20);
    QTest::newRow("value 40") << H << QSize(200, 20) << 0 << 100 << 40 << QRect(0, 0, 80, 20);
    QTest::newRow("length truncates") << H << QSize(50, 10) << 0 << 100 << 33 << QRect(0, 0, 16, 10);
    QTest::newRow("vertical 50 of 100, height 81") << V << QSize(20, 81) << 0 << 100 << 50 << QRect(0, 41, 20, 40);
    QTest::newRow("vertical full") << V << QSize(20, 81) << 0 << 100 << 100 << QRect(0, 0, 20, 81);
    QTest::newRow("range from 50: a quarter") << H << QSize(200, 20) << 50 << 150 << 75 << QRect(0, 0, 50, 20);
    QTest::newRow("range from 100: maximum fills") << H << QSize(200, 20) << 100 << 150 << 150 << QRect(0, 0, 200, 20);
    QTest::newRow("range from 100: minimum is empty") << H << QSize(200, 20) << 100 << 150 << 100 << QRect();
    QTest::newRow("negative range: half") << H << QSize(200, 20) << -100 << 0 << -50 << QRect(0, 0, 100, 20);
    QTest::newRow("vertical range from 50") << V << QSize(20, 80) << 50 << 150 << 125 << QRect(0, 20, 20, 60);
    QTest::newRow("never set: below the minimum") << H << QSize(200, 20) << 0 << 100 << unset << QRect();
    QTest::newRow("maximum equals minimum") << H << QSize(200, 20) << 5 << 5 << 5 << QRect();
    QTest::newRow("busy range 0 to 0") << H << QSize(200, 20) << 0 << 0 << 7 << QRect();
    QTest::newRow("full int range in 64 bits") << H << QSize(200, 20) << std::numeric_limits<int>::min()
                                               << std::numeric_limits<int>::max()
                                               << 0 << QRect(0, 0, 100, 20);
}

void TestProgressBar::chunkExtents()
{
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QRect, chunk);

    auto bar = makeBar(Styled, size);
    bar->setOrientation(Qt::Orientation(orientation));
    bar->setRange(minimum, maximum);
    if (value != std::numeric_limits<int>::min()) {
        bar->setValue(value);
        QCOMPARE(bar->value(), value);
    }
    const QRect computed = bar->impl()->chunkRect(size);
    if (chunk.isEmpty())
        QVERIFY(computed.isEmpty());
    else
        QCOMPARE(computed, chunk);

    const QImage image = renderOf(*bar);
    QCOMPARE(boxOf(image, Chunk), chunk);
    if (chunk.size() != size)
        QCOMPARE(image.pixel(size.width() - 1, 0), Groove);
}

void TestProgressBar::percentText_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text"); // empty: none drawn
    QTest::addColumn<bool>("reset");

    QTest::newRow("value 0") << QByteArray(R"({"showText": true})") << 0 << 100 << QStringLiteral("0%") << false;
    QTest::newRow("value 29") << QByteArray(R"({"showText": true, "val": 29})") << 0 << 100 << QStringLiteral("29%") << false;
    // The percentage of the range, not the value.
    QTest::newRow("battery 5 of 0 to 5") << QByteArray(R"({"showText": true, "val": 5})") << 0 << 5
                                         << QStringLiteral("100%") << false;
    QTest::newRow("range from 50") << QByteArray(R"({"showText": true, "val": 100})") << 50 << 150
                                   << QStringLiteral("50%") << false;
    QTest::newRow("showText off") << QByteArray(R"({"val": 42})") << 0 << 100 << QString() << false;
    QTest::newRow("maximum equals minimum") << QByteArray(R"({"showText": true})") << 0 << 0 << QString() << false;
    // reset() puts the value below the minimum again.
    QTest::newRow("reset value") << QByteArray(R"({"showText": true, "val": 42})") << 0 << 100 << QString() << true;
}

void TestProgressBar::percentText()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QFETCH(bool, reset);

    const QSize size(120, 20);
    auto bar = makeBar(R"({"style": [["groove", 0, 0], ["empty", 0, 2], ["fontWhite", 0, 4]], "attr": )" + attr + "}", size);
    const int value = bar->value();
    bar->setRange(minimum, maximum);
    bar->setValue(value);
    if (reset)
        bar->reset();
    const QImage image = renderOf(*bar);

    // The same text drawn on the groove alone.
    OrvQRectStyle groove;
    QVERIFY(OrvQResourceManager::instance().rectStyle(QStringLiteral("groove"), groove));
    OrvQFontStyle font;
    QVERIFY(OrvQResourceManager::instance().fontStyle(QStringLiteral("fontWhite"), font));
    QImage expected(size, QImage::Format_ARGB32);
    expected.fill(Qt::transparent);
    {
        QPainter painter(&expected);
        OrvQControlBaseImpl::drawBackground(&painter, groove, QRect(QPoint(), size));
        if (!text.isEmpty())
            OrvQControlBaseImpl::drawStyledText(&painter, text, font, 0, 0, size.width(), size.height(), true);
    }
    QCOMPARE(image, expected);
}

void TestProgressBar::loadKeys()
{
    // Without "attr" the bar keeps QProgressBar's unset value.
    auto bar = makeBar(R"({"style": [["chunk", 0, 2]]})", QSize(100, 10));
    QCOMPARE(bar->value(), -1);
    QVERIFY(!bar->impl()->showText());
    QVERIFY(boxOf(renderOf(*bar), Chunk).isNull());

    bar = makeBar(R"({"attr": {}})", QSize(100, 10));
    QCOMPARE(bar->value(), 0);

    bar = makeBar(R"({"attr": {"val": 55, "showText": true}})", QSize(100, 10));
    QCOMPARE(bar->value(), 55);
    QVERIFY(bar->impl()->showText());

    bar = makeBar(R"({"attr": {"val": "many", "showText": "yes"}})", QSize(100, 10));
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->impl()->showText());

    QCOMPARE(bar->typeName(), QStringLiteral("qtprogressbar"));
}

void TestProgressBar::styleSlots()
{
    // Only indexes 0, 2 and 4 are slots; a later entry of a slot wins.
    auto bar = makeBar(R"({"style": [["red", 0, 1], ["blue", 0, 3], ["red", 0, 5], ["green", 0, 0],
        ["groove", 0, 0], ["red", 0, 2], ["fontRed", 0, 4]], "attr": {"val": 50}})", QSize(100, 10));
    QCOMPARE(bar->impl()->grooveStyle().color, QColor(Groove));
    QCOMPARE(bar->impl()->chunkStyle().color, QColor(Qt::red));
    QCOMPARE(bar->impl()->textStyle().color, QColor(Qt::red));

    const QImage image = renderOf(*bar);
    QCOMPARE(image.pixel(10, 5), 0xffff0000u);
    QCOMPARE(image.pixel(90, 5), Groove);

    // Without styles both records are plain white rectangles.
    auto plain = makeBar(R"({"attr": {"val": 50}})", QSize(100, 10));
    QCOMPARE(renderOf(*plain).pixel(90, 5), 0xffffffffu);
}

void TestProgressBar::lookIgnoresState()
{
    auto bar = makeBar(QByteArray(R"({"style": [["groove", 0, 0], ["chunk", 0, 2], ["fontWhite", 0, 4]],
        "attr": {"val": 30, "showText": true}})"), QSize(120, 20));
    const QImage normal = renderOf(*bar);
    bar->impl()->setState(StateHover);
    QCOMPARE(renderOf(*bar), normal);
    bar->setEnabled(false);
    QCOMPARE(renderOf(*bar), normal);
}

void TestProgressBar::repaintsOnValueChanged()
{
    // A step too small for QProgressBar's own repaint test, on a wide bar
    // where it moves the chunk by five pixels.
    auto bar = makeBar(Styled, QSize(1000, 12));
    bar->setRange(0, 1000);
    bar->setValue(0);
    bar->show();
    QVERIFY(QTest::qWaitForWindowExposed(bar.get()));

    PaintCounter counter;
    bar->installEventFilter(&counter);
    QCoreApplication::processEvents();
    const int before = counter.paints;
    bar->setValue(5);
    QTRY_VERIFY(counter.paints > before);
    QCOMPARE(boxOf(bar->grab().toImage(), Chunk), QRect(0, 0, 5, 12));
}

QTEST_MAIN(TestProgressBar)
#include "tst_progressbar.moc"
