#include "orvqtlib.h"
#include "testsupport.h"

#include <QMouseEvent>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000;

OrvQRectStyle solid(QRgb colour)
{
    OrvQRectStyle style;
    style.color = QColor::fromRgba(colour);
    return style;
}

std::unique_ptr<OrvQSlider> makeSlider(const QByteArray &attr, const QSize &size)
{
    auto slider = std::make_unique<OrvQSlider>();
    slider->loadFromJson(parseJson(R"({"attr": )" + attr + "}"));
    slider->resize(size);
    return slider;
}

QPoint centreOf(OrvQScrollBar &bar, OrvQScrollBarImpl::Part part)
{
    return bar.impl()->partRect(part).center();
}

} // namespace

class TestSlider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initialize(); }
    void handleRect_data();
    void handleRect();
    void fill_data();
    void fill();
    void keys();
    void scrollBarStates_data();
    void scrollBarStates();
    void scrollBarLook();
};

void TestSlider::handleRect_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("optionOffset");
    QTest::addColumn<QRect>("handle"); // across position and size; -1: not checked

    QTest::newRow("horizontal") << QByteArray(R"({"thumbW": 10, "thumbH": 20})") << QSize(100, 30) << QPoint()
                                << QRect(-1, 5, 10, 20);
    QTest::newRow("vertical") << QByteArray(R"({"isHor": false, "thumbW": 20, "thumbH": 6})") << QSize(40, 100)
                              << QPoint() << QRect(10, -1, 20, 6);
    QTest::newRow("thumb wider than the slider") << QByteArray(R"({"thumbW": 30, "thumbH": 50})") << QSize(100, 30)
                                                 << QPoint() << QRect(-1, -10, 30, 50);
    QTest::newRow("option rendered elsewhere") << QByteArray(R"({"thumbW": 10, "thumbH": 20})") << QSize(100, 30)
                                               << QPoint(10, 7) << QRect(-1, 12, 10, 20);
}

void TestSlider::handleRect()
{
    QFETCH(QByteArray, attr);
    QFETCH(QSize, size);
    QFETCH(QPoint, optionOffset);
    QFETCH(QRect, handle);

    auto slider = makeSlider(attr, size);
    QStyleOptionSlider option = slider->styleOption();
    option.rect.translate(optionOffset);
    const QRect r = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider.get());
    QCOMPARE(r.size(), handle.size());
    QCOMPARE(handle.x() == -1 ? -1 : r.x(), handle.x());
    QCOMPARE(handle.y() == -1 ? -1 : r.y(), handle.y());

    // A plain QSlider keeps the common style's rectangle and the platform's length.
    QSlider plain(Qt::Horizontal);
    plain.resize(size);
    QStyleOptionSlider plainOption;
    plainOption.initFrom(&plain);
    plainOption.orientation = Qt::Horizontal;
    plainOption.maximum = 99;
    const QRect plainHandle =
        plain.style()->subControlRect(QStyle::CC_Slider, &plainOption, QStyle::SC_SliderHandle, &plain);
    QCOMPARE(plainHandle.width(), plain.style()->pixelMetric(QStyle::PM_SliderLength, &plainOption, &plain));
}

void TestSlider::fill_data()
{
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("position");
    QTest::addColumn<QRect>("fill");

    QTest::newRow("half") << true << 0 << 100 << 50 << QRect(0, 10, 50, 10);
    QTest::newRow("no range: empty") << true << 50 << 50 << 50 << QRect(0, 10, 0, 10);
    QTest::newRow("range from 50: half at 100") << true << 50 << 150 << 100 << QRect(0, 10, 50, 10);
    QTest::newRow("range from 50: full at the maximum") << true << 50 << 150 << 150 << QRect(0, 10, 100, 10);
    QTest::newRow("widest range") << true << INT_MIN << INT_MAX << 0 << QRect(0, 10, 50, 10);
    QTest::newRow("vertical range from -100") << false << -100 << 100 << 0 << QRect(10, 50, 10, 50);
    QTest::newRow("vertical half ends on the last row") << false << 0 << 100 << 50 << QRect(10, 50, 10, 50);
    QTest::newRow("vertical full") << false << 0 << 100 << 100 << QRect(10, 0, 10, 100);
}

void TestSlider::fill()
{
    QFETCH(bool, horizontal);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, position);
    QFETCH(QRect, fill);

    OrvQSlider slider(horizontal ? Qt::Horizontal : Qt::Vertical);
    slider.setRange(min, max);
    // With tracking off the value lags; the fill follows the thumb.
    slider.setTracking(false);
    slider.setSliderPosition(position);
    const QSize size = horizontal ? QSize(100, 30) : QSize(30, 100);
    QCOMPARE(slider.impl()->fillRect(QRect(QPoint(), size)), fill);
}

void TestSlider::keys()
{
    // Maximum before minimum before position: 150 survives a range of 200.
    auto slider = makeSlider(R"({"max": 200, "val": 150, "thumbW": 1e12, "channelSize": -5})", QSize(100, 30));
    QCOMPARE(slider->value(), 150);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->thumbSize().width(), QWIDGETSIZE_MAX);
    QCOMPARE(slider->impl()->channelSize(), 0);
    QCOMPARE(renderOf(*slider).size(), QSize(100, 30)); // hostile sizes still paint

    slider = makeSlider(R"({"isHor": false, "min": 10})", QSize(30, 100));
    QCOMPARE(slider->orientation(), Qt::Vertical);
    QCOMPARE(slider->value(), 10);
}

void TestSlider::scrollBarStates_data()
{
    QTest::addColumn<int>("pressed");  // part pressed, -1 none
    QTest::addColumn<QPoint>("moveTo");
    QTest::addColumn<bool>("leave");
    QTest::addColumn<QVector<int>>("states"); // sub-line, add-line, thumb

    using Impl = OrvQScrollBarImpl;
    QTest::newRow("thumb dragged outside stays pressed")
        << int(Impl::Thumb) << QPoint(10, 190) << false << QVector<int>{Impl::Normal, Impl::Hover, Impl::Pressed};
    QTest::newRow("arrow held and left looks normal")
        << int(Impl::SubLine) << QPoint(10, 100) << false << QVector<int>{Impl::Normal, Impl::Normal, Impl::Normal};
    QTest::newRow("hover over an arrow") << -1 << QPoint(10, 5) << false
                                         << QVector<int>{Impl::Hover, Impl::Normal, Impl::Normal};
    QTest::newRow("leaving keeps a pressed thumb")
        << int(Impl::Thumb) << QPoint(10, 5) << true << QVector<int>{Impl::Normal, Impl::Normal, Impl::Pressed};
}

void TestSlider::scrollBarStates()
{
    QFETCH(int, pressed);
    QFETCH(QPoint, moveTo);
    QFETCH(bool, leave);
    QFETCH(QVector<int>, states);

    OrvQScrollBar bar(Qt::Vertical);
    bar.setRange(0, 100);
    bar.setPageStep(50);
    bar.resize(20, 200);
    if (pressed >= 0)
        QTest::mousePress(&bar, Qt::LeftButton, {}, centreOf(bar, OrvQScrollBarImpl::Part(pressed)));
    QMouseEvent move(QEvent::MouseMove, moveTo, Qt::NoButton,
                     pressed >= 0 ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(), {});
    QCoreApplication::sendEvent(&bar, &move);
    if (leave) {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(&bar, &event);
    }
    QVector<int> seen;
    for (auto part : {OrvQScrollBarImpl::SubLine, OrvQScrollBarImpl::AddLine, OrvQScrollBarImpl::Thumb})
        seen << bar.impl()->partState(part);
    QCOMPARE(seen, states);
}

void TestSlider::scrollBarLook()
{
    OrvQScrollBar bar(Qt::Vertical);
    bar.resize(20, 200);
    bar.setThumbStyle(4, solid(0xff00ff00));
    bar.setThumbStyle(3, solid(Red));
    bar.setThumbStyle(5, solid(0xff0000ff)); // no such state: ignored
    const QPoint thumb = centreOf(bar, OrvQScrollBarImpl::Thumb);
    QCOMPARE(renderOf(bar).pixel(thumb), 0xff00ff00u);
    bar.setEnabled(false);
    QCOMPARE(renderOf(bar).pixel(thumb), Red);

    // Described with "attr", icons not named are cleared.
    bar.setThumbIcon(QStringLiteral("images/thumb.png"));
    bar.loadFromJson(parseJson(R"({"attr": {"upicon": "images/up.png"}})"));
    QCOMPARE(bar.impl()->thumbIcon(), QString());
    QCOMPARE(bar.impl()->upIcon(), QStringLiteral("images/up.png"));
}

QTEST_MAIN(TestSlider)
#include "tst_slider.moc"
