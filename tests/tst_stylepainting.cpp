#include "controlbase.h"
#include "jsonreaders.h"
#include "resourcemanager.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace OrvQtLib;
using Impl = OrvQControlBaseImpl;

namespace {

QImage canvas(int w = 200, int h = 100)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Bounding box of every pixel that is not fully transparent.
QRect paintedBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

OrvQRectStyle solid(const QColor &fill)
{
    OrvQRectStyle style;
    style.color = fill;
    style.border = false;
    return style;
}

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor black(0, 0, 0);

} // namespace

class TestStylePainting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void testSolidFill();
    void testEmptyRecordDrawsNothing();
    void testBorders_data();
    void testBorders();
    void testGradientNotRepaintedByBorder();
    void testGradientFromStyleJson();
    void testTranslucentFillNotDoubled();
    void testRoundedCornersLeftUnpainted();
    void testStripRepaintMatchesWhole_data();
    void testStripRepaintMatchesWhole();
    void testDegenerateRectsDrawNothing_data();
    void testDegenerateRectsDrawNothing();

    void testNineGridParts_data();
    void testNineGridParts();
    void testNineGridTiledCentre();
    void testNineGridOversizedMargins();
    void testNineGridMissingImage();

    void testImageAligned_data();
    void testImageAligned();

    void testTextEliding_data();
    void testTextEliding();
    void testTextInsetAndAlignment();
    void testTextDrawnAsQt_data();
    void testTextDrawnAsQt();
    void testVerticalText();
    void testHugeVerticalTextIsBounded();
    void testTextSize();

private:
    QString writeImage(const QString &name, const QImage &image);

    QTemporaryDir m_dir;
    QString m_grid;   // 12 x 12, one colour per nine-grid part
    QString m_marked; // as m_grid with a marker pixel at the centre's corner
    QString m_square; // 10 x 10 opaque green
};

// The nine parts of a 12 x 12 image with margins 4, each its own colour.
static QColor partColour(int px, int py)
{
    static const QColor colours[3][3] = {
        {QColor(10, 0, 0), QColor(20, 0, 0), QColor(30, 0, 0)},
        {QColor(40, 0, 0), QColor(50, 0, 0), QColor(60, 0, 0)},
        {QColor(70, 0, 0), QColor(80, 0, 0), QColor(90, 0, 0)},
    };
    return colours[py][px];
}

QString TestStylePainting::writeImage(const QString &name, const QImage &image)
{
    const QString path = m_dir.filePath(name);
    if (!image.save(path, "PNG"))
        return QString();
    return path;
}

void TestStylePainting::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage grid(12, 12, QImage::Format_ARGB32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            grid.setPixelColor(x, y, partColour(x / 4, y / 4));
    m_grid = writeImage("grid.png", grid);
    grid.setPixelColor(4, 4, blue);
    m_marked = writeImage("marked.png", grid);
    QImage square(10, 10, QImage::Format_ARGB32);
    square.fill(green);
    m_square = writeImage("square.png", square);
    QVERIFY(!m_grid.isEmpty() && !m_marked.isEmpty() && !m_square.isEmpty());
    // Absolute paths as names: the manager's disk fallback finds them.
    QVERIFY(OrvQResourceManager::instance().image(m_grid));
}

void TestStylePainting::testSolidFill()
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawBackground(&painter, solid(red), QRect(10, 20, 30, 40));
    }
    QCOMPARE(paintedBox(image), QRect(10, 20, 30, 40));
    QCOMPARE(image.pixelColor(25, 40), red);
}

void TestStylePainting::testEmptyRecordDrawsNothing()
{
    OrvQRectStyle style = solid(red);
    style.nonEmpty = false;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawBackground(&painter, style, 0, 0, 50, 50);
    }
    QVERIFY(paintedBox(image).isNull());
}

void TestStylePainting::testBorders_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("top");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("bottom");
    QTest::addColumn<QVector<QPoint>>("onBorder");
    QTest::addColumn<QVector<QPoint>>("onFill");

    // Rectangle (10, 20, 100, 30) with a 1-pixel border.
    QTest::newRow("left only") << true << false << false << false
                               << QVector<QPoint>{{10, 20}, {10, 35}, {10, 49}}
                               << QVector<QPoint>{{11, 20}, {109, 35}, {50, 49}};
    QTest::newRow("bottom only") << false << false << false << true
                                 << QVector<QPoint>{{10, 49}, {60, 49}, {109, 49}}
                                 << QVector<QPoint>{{10, 48}, {10, 20}, {109, 20}};
    QTest::newRow("top and right") << false << true << true << false
                                   << QVector<QPoint>{{10, 20}, {109, 20}, {109, 49}}
                                   << QVector<QPoint>{{10, 49}, {10, 21}, {108, 35}};
    QTest::newRow("all four") << true << true << true << true
                              << QVector<QPoint>{{10, 20}, {109, 20}, {10, 49}, {109, 49}, {60, 49}}
                              << QVector<QPoint>{{11, 21}, {108, 48}, {60, 35}};
}

void TestStylePainting::testBorders()
{
    QFETCH(bool, left);
    QFETCH(bool, top);
    QFETCH(bool, right);
    QFETCH(bool, bottom);
    QFETCH(QVector<QPoint>, onBorder);
    QFETCH(QVector<QPoint>, onFill);

    OrvQRectStyle style = solid(red);
    style.border = true;
    style.borderSize = 1;
    style.borderColor = black;
    style.leftBorder = left;
    style.topBorder = top;
    style.rightBorder = right;
    style.bottomBorder = bottom;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawColorRect(&painter, style, 10, 20, 100, 30);
    }
    QCOMPARE(paintedBox(image), QRect(10, 20, 100, 30));
    for (const QPoint &p : onBorder)
        QCOMPARE(image.pixelColor(p), black);
    for (const QPoint &p : onFill)
        QCOMPARE(image.pixelColor(p), red);
}

void TestStylePainting::testGradientNotRepaintedByBorder()
{
    OrvQRectStyle style = solid(red);
    style.color2 = blue;
    style.gradient = true;
    style.border = true;
    style.borderSize = 1;
    QImage image = canvas();
    {
        QPainter painter(&image);
        painter.setBrush(green); // left over from earlier painting
        Impl::drawColorRect(&painter, style, 0, 0, 101, 20);
    }
    const QColor leftEnd = image.pixelColor(1, 10);
    const QColor rightEnd = image.pixelColor(99, 10);
    QVERIFY(leftEnd.red() > 240 && leftEnd.blue() < 15);
    QVERIFY(rightEnd.blue() > 240 && rightEnd.red() < 15);
    QCOMPARE(image.pixelColor(50, 10).green(), 0);
}

// "gradient" and "clr2" reach the painter: left edge "clr", right edge "clr2".
void TestStylePainting::testGradientFromStyleJson()
{
    const QByteArray record = R"({"type": 1, "drawImg": false, "clr": "ffff0000", "clr2": "ff0000ff", "gradient": true})";
    Json::Value json;
    QVERIFY(parseJsonDocument(record.constData(), size_t(record.size()), json));
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawBackground(&painter, readRectStyle(json), 0, 0, 101, 20);
    }
    QVERIFY(image.pixelColor(0, 10).red() > 240);
    QVERIFY(image.pixelColor(100, 10).blue() > 240);
}

void TestStylePainting::testTranslucentFillNotDoubled()
{
    OrvQRectStyle style = solid(QColor(255, 0, 0, 100));
    style.border = true;
    style.borderSize = 1;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawColorRect(&painter, style, 0, 0, 50, 50);
    }
    QCOMPARE(image.pixelColor(25, 25).alpha(), 100);
}

void TestStylePainting::testRoundedCornersLeftUnpainted()
{
    OrvQRectStyle style = solid(red);
    style.round = 6;
    style.border = true;
    style.borderSize = 2;
    style.leftBorder = style.topBorder = style.rightBorder = false;
    style.borderColor = black;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawColorRect(&painter, style, 10, 10, 60, 30);
        QVERIFY(painter.testRenderHint(QPainter::Antialiasing));
    }
    QCOMPARE(image.pixelColor(10, 10).alpha(), 0);
    QCOMPARE(image.pixelColor(69, 10).alpha(), 0);
    QCOMPARE(image.pixelColor(40, 25), red);
    // The bottom line of width 2 is centred on y + h - bs.
    QCOMPARE(image.pixelColor(40, 37), black);
    QCOMPARE(image.pixelColor(40, 38), black);
    QCOMPARE(image.pixelColor(40, 35), red);
}

// A panel repainted in a strip looks there as when painted whole, whether the
// strip misses its corners and outline or reaches them.
void TestStylePainting::testStripRepaintMatchesWhole_data()
{
    QTest::addColumn<int>("round");
    QTest::addColumn<bool>("gradient");
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<int>("ratio");

    QTest::newRow("rounded gradient, inside") << 8 << true << QRect(60, 30, 20, 20) << 1;
    QTest::newRow("rounded, in a corner") << 8 << false << QRect(11, 11, 10, 10) << 1;
    QTest::newRow("touching the outline at ratio 2") << 8 << false << QRect(12, 40, 10, 10) << 2;
    QTest::newRow("square, over an edge") << 0 << false << QRect(5, 30, 20, 20) << 1;
}

void TestStylePainting::testStripRepaintMatchesWhole()
{
    QFETCH(int, round);
    QFETCH(bool, gradient);
    QFETCH(QRect, strip);
    QFETCH(int, ratio);
    struct Panel : QWidget {
        OrvQRectStyle style = solid(QColor(255, 0, 0, 160));
        void paintEvent(QPaintEvent *) override
        {
            QPainter painter(this);
            Impl::drawColorRect(&painter, style, 10, 10, 180, 80);
        }
    } panel;
    panel.style.round = round;
    panel.style.gradient = gradient;
    panel.style.color2 = blue;
    panel.style.border = true;
    panel.style.borderSize = 2;
    panel.resize(200, 100);
    QImage whole = canvas(200 * ratio, 100 * ratio);
    whole.setDevicePixelRatio(ratio);
    QImage part = whole;
    panel.render(&whole, QPoint(), QRegion(), QWidget::RenderFlags());
    panel.render(&part, strip.topLeft(), QRegion(strip), QWidget::RenderFlags());
    // A clipped raster gradient may differ from a whole one in the last bit.
    const QRect pixels(strip.topLeft() * ratio, strip.size() * ratio);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            QVERIFY(std::abs(qRed(part.pixel(x, y)) - qRed(whole.pixel(x, y))) <= int(gradient)
                    && std::abs(qBlue(part.pixel(x, y)) - qBlue(whole.pixel(x, y))) <= int(gradient)
                    && std::abs(qAlpha(part.pixel(x, y)) - qAlpha(whole.pixel(x, y))) <= int(gradient));
}

void TestStylePainting::testDegenerateRectsDrawNothing_data()
{
    QTest::addColumn<int>("round");
    QTest::addColumn<bool>("colorMode");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("zero width") << 0 << true << QRect(10, 10, 0, 20);
    QTest::newRow("negative height") << 0 << true << QRect(10, 40, 20, -20);
    QTest::newRow("negative rounded") << 5 << true << QRect(60, 60, -30, -30);
    QTest::newRow("negative nine-grid") << 0 << false << QRect(60, 60, -30, 20);
}

void TestStylePainting::testDegenerateRectsDrawNothing()
{
    QFETCH(int, round);
    QFETCH(bool, colorMode);
    QFETCH(QRect, rect);
    OrvQRectStyle style = solid(red);
    style.round = round;
    style.border = true;
    style.borderSize = 1;
    style.colorMode = colorMode;
    style.image = m_grid;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawBackground(&painter, style, rect.x(), rect.y(), rect.width(), rect.height());
    }
    QVERIFY(paintedBox(image).isNull());
}

void TestStylePainting::testNineGridParts_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("expected");

    // 12 x 12 image, margins 4, drawn at (0, 0, 100, 40).
    QTest::newRow("top-left corner") << QPoint(0, 0) << partColour(0, 0);
    QTest::newRow("top-left inner") << QPoint(3, 3) << partColour(0, 0);
    QTest::newRow("top edge") << QPoint(50, 1) << partColour(1, 0);
    QTest::newRow("top-right corner") << QPoint(96, 3) << partColour(2, 0);
    QTest::newRow("left edge") << QPoint(2, 20) << partColour(0, 1);
    QTest::newRow("centre") << QPoint(50, 20) << partColour(1, 1);
    QTest::newRow("centre far corner") << QPoint(95, 35) << partColour(1, 1);
    QTest::newRow("right edge") << QPoint(97, 20) << partColour(2, 1);
    QTest::newRow("bottom-left corner") << QPoint(0, 39) << partColour(0, 2);
    QTest::newRow("bottom edge") << QPoint(50, 37) << partColour(1, 2);
    QTest::newRow("bottom-right corner") << QPoint(99, 39) << partColour(2, 2);
}

void TestStylePainting::testNineGridParts()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);
    OrvQNineGrid grid;
    grid.left = grid.right = grid.top = grid.bottom = 4;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawNineGrid(&painter, m_grid, grid, 0, 0, 100, 40);
    }
    QCOMPARE(paintedBox(image), QRect(0, 0, 100, 40));
    QCOMPARE(image.pixelColor(at), expected);
}

void TestStylePainting::testNineGridTiledCentre()
{
    OrvQNineGrid grid;
    grid.left = grid.right = grid.top = grid.bottom = 4;
    const QRect centre(4, 4, 92, 32);

    for (const bool repeat : {false, true}) {
        grid.repeatCenter = repeat;
        QImage image = canvas();
        {
            QPainter painter(&image);
            Impl::drawNineGrid(&painter, m_marked, grid, 0, 0, 100, 40);
        }
        int markers = 0;
        bool onTileCorners = true;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != blue)
                    continue;
                ++markers;
                onTileCorners &= centre.contains(x, y) && (x - 4) % 4 == 0 && (y - 4) % 4 == 0;
            }
        }
        if (repeat) {
            // 92 / 4 = 23 columns and 32 / 4 = 8 rows of unscaled tiles.
            QCOMPARE(markers, 23 * 8);
            QVERIFY(onTileCorners);
        } else {
            // Stretched 23 x 8 times: one block in the centre's corner.
            QVERIFY(!onTileCorners);
            QCOMPARE(image.pixelColor(5, 5), blue);
            QCOMPARE(image.pixelColor(8, 4), blue);
        }
    }
}

void TestStylePainting::testNineGridOversizedMargins()
{
    OrvQRectStyle style;
    style.colorMode = false;
    style.image = m_grid;
    style.grid.left = 50;
    style.grid.right = 50;
    style.grid.top = -3;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawBackground(&painter, style, 20, 10, 60, 30);
    }
    // Margins are clamped to the image; nothing lands outside the rectangle.
    const QRect box = paintedBox(image);
    QVERIFY(!box.isNull());
    QVERIFY(QRect(20, 10, 60, 30).contains(box));
}

void TestStylePainting::testNineGridMissingImage()
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawNineGrid(&painter, m_dir.filePath("absent.png"), OrvQNineGrid(), 0, 0, 50, 50);
        Impl::drawImageAligned(&painter, m_dir.filePath("absent.png"), OrvQImageAlign(), 0, 0, 50, 50);
    }
    QVERIFY(paintedBox(image).isNull());
}

void TestStylePainting::testImageAligned_data()
{
    QTest::addColumn<int>("hor");
    QTest::addColumn<int>("ver");
    QTest::addColumn<QPoint>("topLeft");

    // 10 x 10 image in (20, 30, 31, 31), offsets (2, 3).
    QTest::newRow("left top") << 0 << 0 << QPoint(22, 33);
    QTest::newRow("centre") << 1 << 1 << QPoint(20 + 10 + 2, 30 + 10 + 3);
    QTest::newRow("right bottom") << 2 << 2 << QPoint(20 + 21 + 2, 30 + 21 + 3);
    QTest::newRow("unknown codes") << 5 << -1 << QPoint(2, 3);
}

void TestStylePainting::testImageAligned()
{
    QFETCH(int, hor);
    QFETCH(int, ver);
    QFETCH(QPoint, topLeft);
    OrvQImageAlign align;
    align.x = 2;
    align.y = 3;
    align.hor = hor;
    align.ver = ver;
    QImage image = canvas();
    {
        QPainter painter(&image);
        Impl::drawImageAligned(&painter, m_square, align, QRect(20, 30, 31, 31));
    }
    QCOMPARE(paintedBox(image), QRect(topLeft, QSize(10, 10)));
}

void TestStylePainting::testTextEliding_data()
{
    QTest::addColumn<int>("elideMode");
    QTest::addColumn<bool>("whole");

    QTest::newRow("elide right") << int(Qt::ElideRight) << false;
    QTest::newRow("elide left still elides right") << int(Qt::ElideLeft) << false;
    QTest::newRow("no eliding") << int(Qt::ElideNone) << true;
}

void TestStylePainting::testTextEliding()
{
    QFETCH(int, elideMode);
    QFETCH(bool, whole);
    OrvQFontStyle style;
    style.color = black;
    style.hor = 0;
    style.elideMode = elideMode;
    QImage image = canvas(600, 100);
    {
        QPainter painter(&image);
        Impl::drawStyledText(&painter, QStringLiteral("Some words that are far too wide"), style,
                             QRect(0, 0, 80, 100));
    }
    // The whole text wraps onto several lines; an elided one keeps one line
    // inside the width.
    const QRect box = paintedBox(image);
    const int lineHeight = QFontMetrics(Impl::fontOf(style)).height();
    QVERIFY(!box.isNull());
    QCOMPARE(box.height() > lineHeight, whole);
    QVERIFY(box.right() < 80);
}

void TestStylePainting::testTextInsetAndAlignment()
{
    OrvQFontStyle style;
    style.color = black;
    style.x = 30;
    style.y = 10;
    style.hor = 0;
    style.ver = 0;
    QImage image = canvas(200, 60);
    {
        QPainter painter(&image);
        Impl::drawStyledText(&painter, QStringLiteral("Hi"), style, QRect(0, 0, 200, 60));
    }
    QRect box = paintedBox(image);
    QVERIFY(box.left() >= 30 && box.left() < 40);
    QVERIFY(box.top() >= 10 && box.top() < 25);

    style.x = style.y = 0;
    style.hor = 2;
    style.ver = 2;
    image = canvas(200, 60);
    {
        QPainter painter(&image);
        Impl::drawStyledText(&painter, QStringLiteral("Hi"), style, QRect(0, 0, 200, 60));
    }
    box = paintedBox(image);
    QVERIFY(box.right() > 185 && box.right() < 200);
    QVERIFY(box.bottom() > 45 && box.bottom() < 60);
}

void TestStylePainting::testTextDrawnAsQt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hor");
    QTest::addColumn<int>("ver");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("left top") << "Open" << 0 << 0 << QRect(0, 0, 200, 60);
    QTest::newRow("centred") << "Start" << 1 << 1 << QRect(10, 5, 150, 40);
    QTest::newRow("right bottom") << "72 bpm" << 2 << 2 << QRect(0, 0, 200, 60);
    QTest::newRow("taller than the rectangle") << "Cut" << 1 << 1 << QRect(0, 0, 200, 6);
    QTest::newRow("wraps") << "words that wrap in a narrow box" << 0 << 0 << QRect(0, 0, 60, 60);
}

// Text drawn from the cache of laid-out lines looks as Qt draws it.
void TestStylePainting::testTextDrawnAsQt()
{
    QFETCH(QString, text);
    QFETCH(int, hor);
    QFETCH(int, ver);
    QFETCH(QRect, rect);
    OrvQFontStyle style;
    style.color = black;
    style.hor = hor;
    style.ver = ver;
    style.elideMode = Qt::ElideNone;
    QImage ours = canvas();
    QImage qts = canvas();
    for (int pass = 0; pass < 2; ++pass) { // the second pass draws from the cache
        ours.fill(Qt::transparent);
        QPainter painter(&ours);
        Impl::drawStyledText(&painter, text, style, rect);
    }
    {
        QPainter painter(&qts);
        painter.setPen(style.color);
        painter.setFont(Impl::fontOf(style));
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.drawText(QRectF(rect), text, QTextOption(Impl::alignmentOf(style)));
    }
    QCOMPARE(ours, qts);
}

void TestStylePainting::testVerticalText()
{
    OrvQFontStyle style;
    style.color = black;
    style.isHor = false;
    style.x = 100; // insets do not apply to vertical text
    const QRect rect(50, 5, 30, 180);
    QImage image = canvas(200, 200);
    {
        QPainter painter(&image);
        Impl::drawStyledText(&painter, QStringLiteral("Vertical text"), style, rect);
    }
    const QRect box = paintedBox(image);
    QVERIFY(!box.isNull());
    QVERIFY2(rect.contains(box), qPrintable(QString("box %1,%2 %3x%4").arg(box.x()).arg(box.y())
                                                .arg(box.width()).arg(box.height())));
    QVERIFY(box.height() > 2 * box.width());
}

void TestStylePainting::testHugeVerticalTextIsBounded()
{
    OrvQFontStyle style;
    style.color = black;
    QImage image = canvas(100, 100);
    {
        QPainter painter(&image);
        // An intermediate image this size would need tens of gigabytes.
        Impl::drawStyledText(&painter, QStringLiteral("text"), style, 0, 0, 100000, 100000, false);
    }
    QVERIFY(!image.isNull());
}

void TestStylePainting::testTextSize()
{
    OrvQFontStyle style;
    style.size = 20;
    const QSize empty = Impl::textSize(style, QString());
    const QSize one = Impl::textSize(style, QStringLiteral("ab"));
    const QSize two = Impl::textSize(style, QStringLiteral("abab"));
    QCOMPARE(empty.width(), 0);
    QVERIFY(one.width() > 0);
    QCOMPARE(two.width(), 2 * one.width());
    QCOMPARE(one.height(), QFontMetrics(Impl::fontOf(style)).height());
}

QTEST_MAIN(TestStylePainting)
#include "tst_stylepainting.moc"
