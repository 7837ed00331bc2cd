#include "ecgchart.h"

#include "../bench/ecgchartreference.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using namespace OrvQtLib;

namespace {

constexpr int ChartW = 240;
constexpr int ChartH = 120;

// A flat trace at height y from x = 0 to x = lastX.
void addFlatSweep(OrvQECGChart &chart, int lastX, float y)
{
    for (int x = 0; x <= lastX; ++x)
        chart.addPoint(float(x), y);
}

// A sample trace with flat stretches, steep spikes and turns.
float sampleY(int i, int shape)
{
    const double t = i * 0.05;
    switch (shape) {
    case 1: // tall narrow spikes every 60 samples
        return float(ChartH / 2 - ((i % 60) == 30 ? 50 : 0) + 8 * std::sin(t));
    case 2: // saw tooth with vertical drops
        return float(10 + (i % 25) * 4);
    default:
        return float(ChartH / 2 - 40 * std::sin(t) * std::cos(t * 0.3));
    }
}

// Sets up a black panel holding the chart, so both renderings compose over
// the same background.
template <class Chart>
struct Rig {
    QWidget panel;
    Chart *chart;
    Rig()
    {
        panel.resize(ChartW, ChartH);
        panel.setAutoFillBackground(true);
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, Qt::black);
        panel.setPalette(palette);
        chart = new Chart(&panel);
        chart->setGeometry(0, 0, ChartW, ChartH);
        chart->setColors(QColor(77, 253, 0), QColor(38, 123, 1));
    }
};

// One wrapped sweep, then a second one of `second` points; x steps back to
// 0 at `joinAt` when it is positive, as on a chart wider than its series.
template <class Chart>
void feed(Chart *chart, int shape, int second, int joinAt, const std::function<void()> &afterPoint)
{
    int pos = 0;
    int i = 0;
    for (;;) {
        chart->addPoint(float(pos), sampleY(i, shape));
        afterPoint();
        ++i;
        pos = (joinAt > 0 && pos + 1 >= joinAt) ? 0 : pos + 1;
        if (chart->pointCount() > ChartW) {
            chart->takeSnapshot();
            chart->clearPoints();
            pos = 0;
            break;
        }
    }
    for (int n = 0; n < second; ++n) {
        chart->addPoint(float(pos), sampleY(i++, shape));
        afterPoint();
        pos = (joinAt > 0 && pos + 1 >= joinAt) ? 0 : pos + 1;
    }
}

// Share of pixels that differ by more than 64 in any channel.
double differingShare(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size())
        return 1.0;
    int differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > 64 || std::abs(qGreen(p[col]) - qGreen(q[col])) > 64
                || std::abs(qBlue(p[col]) - qBlue(q[col])) > 64
                || std::abs(qAlpha(p[col]) - qAlpha(q[col])) > 64)
                ++differing;
        }
    }
    return double(differing) / (x.width() * x.height());
}

QImage shownPicture(QWidget *panel)
{
    // What the window system holds after the strip repaints, not a fresh
    // render of the whole widget.
    return panel->screen()->grabWindow(panel->winId()).toImage();
}

bool isTransparentOutside(const QImage &image, int column)
{
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(column, y)) != 0)
            return false;
    }
    return true;
}

bool hasTraceColour(const QImage &image, int column)
{
    for (int y = 0; y < image.height(); ++y) {
        const QColor c = image.pixelColor(column, y);
        if (c.alpha() == 255 && c.green() > 200 && c.blue() < 50)
            return true;
    }
    return false;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestECGChart : public QObject
{
    Q_OBJECT

private slots:
    void testSameAsReference_data();
    void testSameAsReference();
    void testFirstSweepIsTransparent();
    void testSnapshotWithoutPointsShownWhole();
    void testGapHidesSnapshotNearRightEdge();
    void testWhichCallsRepaint_data();
    void testWhichCallsRepaint();
    void testSecondColourUnused();
    void testSnapshotHoldsTraceAndOldPicture();
    void testHostileCoordinates();
    void testOversizeChartStaysBounded();
};

void TestECGChart::testSameAsReference_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("joinAt");
    QTest::addColumn<bool>("onScreen");

    QTest::newRow("smooth, rendered") << 0 << 120 << 0 << false;
    QTest::newRow("smooth, on screen") << 0 << 120 << 0 << true;
    QTest::newRow("spikes, on screen") << 1 << 150 << 0 << true;
    QTest::newRow("vertical drops, on screen") << 2 << 90 << 0 << true;
    QTest::newRow("head near right edge") << 0 << 230 << 0 << true;
    QTest::newRow("series shorter than width") << 1 << 160 << 100 << true;
}

void TestECGChart::testSameAsReference()
{
    QFETCH(int, shape);
    QFETCH(int, second);
    QFETCH(int, joinAt);
    QFETCH(bool, onScreen);

    Rig<OrvQECGChart> mine;
    Rig<ReferenceECGChart> reference;
    std::function<void()> after = [] {};
    if (onScreen) {
        mine.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mine.panel));
        after = [] { QCoreApplication::processEvents(); };
    }
    feed(mine.chart, shape, second, joinAt, after);
    feed(reference.chart, shape, second, joinAt, [] {});

    const QImage expected = reference.panel.grab().toImage();
    const QImage actual = onScreen ? shownPicture(&mine.panel) : mine.panel.grab().toImage();
    QCOMPARE(actual.size(), expected.size());
    const double share = differingShare(actual, expected);
    QVERIFY2(share <= 0.005, qPrintable(QString::number(share * 100, 'f', 3) + "% of pixels differ"));
}

void TestECGChart::testFirstSweepIsTransparent()
{
    OrvQECGChart chart;
    chart.resize(ChartW, ChartH);
    addFlatSweep(chart, 100, 60.0f);
    const QImage image = chart.grab().toImage();
    QVERIFY(hasTraceColour(image, 50));
    QVERIFY(isTransparentOutside(image, 150));
    QCOMPARE(qAlpha(image.pixel(50, 10)), 0);
}

void TestECGChart::testSnapshotWithoutPointsShownWhole()
{
    OrvQECGChart chart;
    chart.resize(ChartW, ChartH);
    addFlatSweep(chart, ChartW, 60.0f);
    chart.takeSnapshot();
    chart.clearPoints();
    QCOMPARE(chart.pointCount(), 0);
    const QImage image = chart.grab().toImage();
    // No points means no gap: the old sweep shows from the left edge on.
    QVERIFY(hasTraceColour(image, 2));
    QVERIFY(hasTraceColour(image, ChartW / 2));
}

void TestECGChart::testGapHidesSnapshotNearRightEdge()
{
    OrvQECGChart chart;
    chart.resize(ChartW, ChartH);
    addFlatSweep(chart, ChartW, 20.0f);
    chart.takeSnapshot();
    chart.clearPoints();
    addFlatSweep(chart, ChartW - 30, 100.0f);
    const QImage image = chart.grab().toImage();
    // Head at W - 30: the clip (x + 40, ...) is empty, the old trace at y 20
    // is gone everywhere.
    for (int x = 0; x < ChartW; x += 7)
        QCOMPARE(qAlpha(image.pixel(x, 20)), 0);
    QVERIFY(hasTraceColour(image, ChartW - 40));
}

void TestECGChart::testWhichCallsRepaint_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("setColors") << 0 << false;
    QTest::newRow("clearPoints") << 1 << false;
    QTest::newRow("addPoint") << 2 << true;
}

void TestECGChart::testWhichCallsRepaint()
{
    QFETCH(int, call);
    QFETCH(bool, repaints);

    Rig<OrvQECGChart> rig;
    rig.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
    rig.chart->addPoint(10, 10);
    QCoreApplication::processEvents();
    PaintCounter counter;
    rig.chart->installEventFilter(&counter);
    switch (call) {
    case 0: rig.chart->setColors(Qt::red, Qt::blue); break;
    case 1: rig.chart->clearPoints(); break;
    default: rig.chart->addPoint(20, 40); break;
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints > 0, repaints);
}

void TestECGChart::testSecondColourUnused()
{
    Rig<OrvQECGChart> a;
    Rig<OrvQECGChart> b;
    a.chart->setColors(QColor(44, 248, 247), QColor(1, 2, 3));
    b.chart->setColors(QColor(44, 248, 247), QColor(250, 0, 0));
    feed(a.chart, 1, 80, 0, [] {});
    feed(b.chart, 1, 80, 0, [] {});
    QCOMPARE(a.chart->grab().toImage(), b.chart->grab().toImage());
}

void TestECGChart::testSnapshotHoldsTraceAndOldPicture()
{
    OrvQECGChart chart;
    chart.resize(ChartW, ChartH);
    addFlatSweep(chart, ChartW, 20.0f);
    chart.takeSnapshot();
    chart.clearPoints();
    addFlatSweep(chart, 60, 100.0f);
    chart.takeSnapshot();
    const QImage snapshot = chart.impl()->snapshot();
    // New trace on the left, the old one right of the gap, nothing between.
    QVERIFY(qAlpha(snapshot.pixel(30, 100)) > 200);
    QCOMPARE(qAlpha(snapshot.pixel(30, 20)), 0);
    QCOMPARE(qAlpha(snapshot.pixel(90, 20)), 0);
    QVERIFY(qAlpha(snapshot.pixel(150, 20)) > 200);
    QVERIFY(snapshot.hasAlphaChannel());
    QCOMPARE(qAlpha(snapshot.pixel(150, 60)), 0);
}

void TestECGChart::testHostileCoordinates()
{
    Rig<OrvQECGChart> rig;
    rig.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.panel));
    const float values[] = {1e30f, -1e30f, std::nanf(""), 0.0f, 3e9f, -3e9f};
    for (float x : values) {
        for (float y : values) {
            rig.chart->addPoint(x, y);
            QCoreApplication::processEvents();
        }
    }
    rig.chart->takeSnapshot();
    rig.chart->clearPoints();
    rig.chart->addPoint(5, 5);
    QCoreApplication::processEvents();
    QCOMPARE(rig.chart->pointCount(), 1);
}

void TestECGChart::testOversizeChartStaysBounded()
{
    // As a skin might size it: the pictures must not follow.
    OrvQECGChart chart;
    chart.resize(20000, 20000);
    addFlatSweep(chart, 49, 100.0f);
    chart.takeSnapshot();
    const QImage snapshot = chart.impl()->snapshot();
    QVERIFY(!snapshot.isNull());
    QVERIFY(qint64(snapshot.width()) * snapshot.height() <= qint64(8192) * 4096);
    QVERIFY(qAlpha(snapshot.pixel(25, 100)) > 200);
}

QTEST_MAIN(TestECGChart)
#include "tst_ecgchart.moc"
