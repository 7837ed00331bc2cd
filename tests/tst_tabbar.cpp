#include "orvqtlib.h"
#include "testsupport.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Grey = 0xff808080;
const QRgb Red = 0xffff0000;
const QRgb Green = 0xff00ff00;
const QRgb Blue = 0xff0000ff;
const QRgb White = 0xffffffff;

// Background grey, items red, hovered green, current blue, texts white.
std::unique_ptr<OrvQTabWidget> makeBar(const QByteArray &attr, int items = 3)
{
    auto bar = std::make_unique<OrvQTabWidget>();
    bar->loadFromJson(parseJson(R"({"style": [["grey", 0, 0], ["red", 0, 1], ["green", 0, 2], ["blue", 0, 3],
                                              ["fontWhite", 0, 5]], "attr": )" + attr + "}"));
    for (int i = 0; i < items; ++i)
        bar->addItem(QString(), QStringLiteral("T%1").arg(i));
    bar->resize(300, 30);
    return bar;
}

} // namespace

class TestTabBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void itemRects_data();
    void itemRects();
    void clicks_data();
    void clicks();
    void hoverKeptOverGaps();
    void showText_data();
    void showText();
    void setCurrentIndexWithoutSignal();
    void deletedByCurrentChanged();
};

void TestTabBar::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestTabBar::itemRects_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("third item at 168") << QByteArray(R"({"itemSize": 80, "itemSpace": 4})") << 2
                                       << QRect(168, 0, 80, 30);
    QTest::newRow("top to bottom") << QByteArray(R"({"itemSize": 20, "itemSpace": 2, "isHor": false})") << 1
                                   << QRect(0, 22, 300, 20);
    QTest::newRow("no isHor: back to left to right") << QByteArray(R"({"itemSize": 20})") << 1
                                                     << QRect(20, 0, 20, 30);
    QTest::newRow("negative size: empty, not inverted") << QByteArray(R"({"itemSize": -50, "itemSpace": 10})") << 2
                                                        << QRect(20, 0, 0, 30);
    // 100 * (2 * 16777215) does not fit an int.
    QTest::newRow("huge: 64-bit offset, clamped") << QByteArray(R"({"itemSize": 1e12, "itemSpace": 3000000000})")
                                                  << 100 << QRect(QWIDGETSIZE_MAX, 0, QWIDGETSIZE_MAX, 30);
    QTest::newRow("wrong types count as absent") << QByteArray(R"({"itemSize": "80", "itemSpace": [4]})") << 2
                                                 << QRect(100, 0, 50, 30);
}

void TestTabBar::itemRects()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, index);
    QFETCH(QRect, rect);

    auto bar = makeBar(attr);
    if (index == 1 && !attr.contains("isHor")) {
        // An earlier load's direction does not survive an "attr" without "isHor".
        bar->loadFromJson(parseJson(R"({"attr": {"isHor": false}})"));
        bar->loadFromJson(parseJson(R"({"attr": )" + attr + "}"));
    }
    QCOMPARE(bar->impl()->itemRect(index), rect);
    const QImage image = renderOf(*bar); // no warnings, no overflow
    const int hit = bar->impl()->itemAt(QPoint(299, 29));
    QCOMPARE(QColor(image.pixel(299, 29)).rgb(), hit < 0 ? Grey : hit == 0 ? Blue : Red);
}

void TestTabBar::clicks_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("emitted"); // -1: nothing
    QTest::addColumn<int>("current");

    QTest::newRow("third item") << 3 << 170 << 2 << 2;
    QTest::newRow("gap between items") << 3 << 82 << -1 << 0;
    QTest::newRow("past the last item") << 3 << 260 << -1 << 0;
    QTest::newRow("current item again") << 3 << 10 << 0 << 0;
    QTest::newRow("no items") << 0 << 10 << -1 << 0;
}

void TestTabBar::clicks()
{
    QFETCH(int, items);
    QFETCH(int, x);
    QFETCH(int, emitted);
    QFETCH(int, current);

    auto bar = makeBar(R"({"itemSize": 80, "itemSpace": 4})", items);
    QSignalSpy changed(bar.get(), &OrvQTabWidget::currentChanged);
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(x, 10));
    QCOMPARE(changed.count(), emitted < 0 ? 0 : 1);
    if (emitted >= 0)
        QCOMPARE(changed.at(0).at(0).toInt(), emitted);
    QCOMPARE(bar->currentIndex(), current);
    const QImage image = renderOf(*bar);
    QCOMPARE(QColor(image.pixel(82, 25)).rgb(), Grey);
    if (items > 0)
        QCOMPARE(QColor(image.pixel(current * 84 + 1, 25)).rgb(), Blue);
}

void TestTabBar::hoverKeptOverGaps()
{
    auto bar = makeBar(R"({"itemSize": 80, "itemSpace": 4})");
    const auto lookAt = [&](int x) { return QColor(renderOf(*bar).pixel(x, 25)).rgb(); };

    sendMouse(bar.get(), QEvent::MouseMove, QPoint(90, 10));
    QCOMPARE(bar->impl()->hoverIndex(), 1);
    sendMouse(bar.get(), QEvent::MouseMove, QPoint(166, 10)); // the gap after item 1
    QCOMPARE(bar->impl()->hoverIndex(), 1);
    QCOMPARE(lookAt(90), Green);
    QCOMPARE(lookAt(170), Red);
    QCOMPARE(lookAt(10), Blue); // the current item keeps its look under the pointer too

    sendMouse(bar.get(), QEvent::MouseMove, QPoint(290, 10)); // past the end
    QCOMPARE(bar->impl()->hoverIndex(), 1);
    sendMouse(bar.get(), QEvent::MouseMove, QPoint(200, 10));
    QCOMPARE(bar->impl()->hoverIndex(), 2);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar.get(), &leave);
    QCOMPARE(bar->impl()->hoverIndex(), -1);
    QCOMPARE(lookAt(200), Red);
}

void TestTabBar::showText_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<bool>("texts");

    QTest::newRow("default") << QByteArray("{}") << true;
    QTest::newRow("showText 0") << QByteArray(R"({"showText": 0})") << false;
    QTest::newRow("showText 2") << QByteArray(R"({"showText": 2})") << true;
}

void TestTabBar::showText()
{
    QFETCH(QByteArray, attr);
    QFETCH(bool, texts);

    auto bar = makeBar(attr);
    const QRect white = boxOf(renderOf(*bar), White, 60);
    QCOMPARE(!white.isEmpty(), texts);
    if (texts)
        QVERIFY(QRect(0, 0, 150, 30).contains(white));
}

void TestTabBar::setCurrentIndexWithoutSignal()
{
    auto bar = makeBar("{}");
    QSignalSpy changed(bar.get(), &OrvQTabWidget::currentChanged);
    QVERIFY(bar->setCurrentIndex(2));
    QVERIFY(!bar->setCurrentIndex(3));
    QVERIFY(!bar->setCurrentIndex(-2));
    QCOMPARE(bar->currentIndex(), 2);
    QCOMPARE(QColor(renderOf(*bar).pixel(110, 25)).rgb(), Blue);
    QVERIFY(bar->setCurrentIndex(-1));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(bar->impl()->item(1).text, QStringLiteral("T1"));
}

void TestTabBar::deletedByCurrentChanged()
{
    auto *bar = makeBar("{}").release();
    bar->show();
    QPointer<OrvQTabWidget> watch(bar);
    connect(bar, &OrvQTabWidget::currentChanged, bar, [bar] { delete bar; });
    sendMouse(bar, QEvent::MouseButtonPress, QPoint(60, 10));
    QVERIFY(watch.isNull());
    QCoreApplication::processEvents();
}

QTEST_MAIN(TestTabBar)
#include "tst_tabbar.moc"
