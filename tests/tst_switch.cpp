#include "orvqtlib.h"
#include "testsupport.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Blue = 0xff0000ff;

std::unique_ptr<OrvQSwitch> makeSwitch(const QByteArray &attr, int width = 100)
{
    auto toggle = std::make_unique<OrvQSwitch>();
    toggle->loadFromJson(parseJson(R"({"style": [["white", 0, 0], ["blue", 0, 2]], "attr": )" + attr + "}"));
    toggle->resize(width, 30);
    return toggle;
}

} // namespace

class TestSwitch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void boxes_data();
    void boxes();
    void clickDuringSlideIsIgnored();
    void setOnEmitsOncePerChange();
    void deletedByToggledHandler();
};

void TestSwitch::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestSwitch::boxes_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QRect>("thumb");
    QTest::addColumn<int>("captionX");
    QTest::addColumn<int>("speed");

    QTest::newRow("new: on, thumb at the right end") << QByteArray("{}") << 100 << false << true
                                                     << QRect(73, 2, 25, 25) << 2 << 300;
    QTest::newRow("clicked with speed 0: off at once") << QByteArray(R"({"speed": 0})") << 100 << true << false
                                                       << QRect(2, 2, 25, 25) << 75 << 0;
    QTest::newRow("described off") << QByteArray(R"({"on": 0, "thumbW": 20, "thumbH": 10})") << 100 << false
                                   << false << QRect(2, 2, 20, 10) << 80 << 300;
    // At rest the thumb follows the width, so a stretched switch keeps it at the end.
    QTest::newRow("stretched by a layout") << QByteArray("{}") << 200 << false << true << QRect(173, 2, 25, 25) << 2
                                           << 300;
    QTest::newRow("thumb wider than the track: no travel")
        << QByteArray(R"({"thumbW": 1e12, "thumbH": -5, "margin": -7, "speed": 1e9})") << 100 << false << true
        << QRect(0, 0, QWIDGETSIZE_MAX, 0) << 0 << OrvQSwitchImpl::MaxSpeed;
    QTest::newRow("huge margin, negative speed")
        << QByteArray(R"({"margin": 3000000000, "speed": -40, "leftText": 5})") << 100 << true << false
        << QRect(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, 25, 25) << 75 << 0;
}

void TestSwitch::boxes()
{
    QFETCH(QByteArray, attr);
    QFETCH(int, width);
    QFETCH(bool, click);
    QFETCH(bool, on);
    QFETCH(QRect, thumb);
    QFETCH(int, captionX);
    QFETCH(int, speed);

    auto toggle = makeSwitch(attr, width);
    if (click)
        QTest::mouseClick(toggle.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(toggle->isOn(), on);
    QCOMPARE(toggle->impl()->speed(), speed);
    QCOMPARE(toggle->impl()->thumbRect(toggle->width()), thumb);
    QCOMPARE(toggle->impl()->captionRect(toggle->width()).x(), captionX);
    QCOMPARE(boxOf(renderOf(*toggle), Blue), thumb & toggle->rect());
}

void TestSwitch::clickDuringSlideIsIgnored()
{
    auto toggle = makeSwitch(R"({"leftText": "I", "speed": 50})");
    QCOMPARE(toggle->impl()->rightText(), QString());
    QSignalSpy toggled(toggle.get(), &OrvQSwitch::toggled);
    QTest::mouseClick(toggle.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(toggle->impl()->isAnimating());
    QTest::mouseClick(toggle.get(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(toggled.wait());
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), false);
    QVERIFY(!toggle->impl()->isAnimating());
    QCOMPARE(toggle->impl()->thumbRect(100).x(), 2);
}

void TestSwitch::setOnEmitsOncePerChange()
{
    auto toggle = makeSwitch("{}");
    QSignalSpy toggled(toggle.get(), &OrvQSwitch::toggled);
    toggle->setOn(true);
    QCOMPARE(toggled.count(), 0);
    toggle->setOn(false);
    QCOMPARE(toggled.count(), 1);

    // Setting the state mid-slide stops the slide where the state says.
    QTest::mouseClick(toggle.get(), Qt::LeftButton, {}, QPoint(5, 5));
    toggle->setOn(true);
    QVERIFY(!toggle->impl()->isAnimating());
    QCOMPARE(toggled.count(), 2);
    QCOMPARE(toggle->impl()->thumbRect(100).x(), 73);
    QCoreApplication::processEvents();
    QCOMPARE(toggled.count(), 2);
}

void TestSwitch::deletedByToggledHandler()
{
    auto *toggle = makeSwitch(R"({"speed": 0})").release();
    QPointer<OrvQSwitch> watch(toggle);
    connect(toggle, &OrvQSwitch::toggled, toggle, [toggle] { delete toggle; });
    QTest::mousePress(toggle, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(watch.isNull());
}

QTEST_MAIN(TestSwitch)
#include "tst_switch.moc"
