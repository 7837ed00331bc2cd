#include "proxystyle.h"

#include <QPaintEngine>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QWidget>

namespace OrvQtLib {

CScrollBarStyle::CScrollBarStyle() = default;

CScrollBarStyle::~CScrollBarStyle() = default;

QRect CScrollBarStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    return QCommonStyle::subElementRect(element, option, widget);
}

namespace {

// The common style's scroll bar geometry with arrow buttons `buttonLength`
// long instead of as long as the bar is thick.
QRect scrollBarPartRect(const QStyleOptionSlider &bar, QStyle::SubControl part, int buttonLength, int sliderMin,
                        const QStyle *style)
{
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const int length = horizontal ? bar.rect.width() : bar.rect.height();
    const int thickness = horizontal ? bar.rect.height() : bar.rect.width();
    const int button = qMin(length / 2, buttonLength);
    const int groove = qMax(0, length - 2 * button);

    int slider = groove;
    if (bar.maximum != bar.minimum) {
        const qint64 range = qint64(bar.maximum) - bar.minimum;
        slider = int(qint64(qMax(0, bar.pageStep)) * groove / (range + qMax(0, bar.pageStep)));
        if (slider < sliderMin || range > INT_MAX / 2)
            slider = sliderMin;
        slider = qMin(slider, groove);
    }
    const int sliderStart = button + style->sliderPositionFromValue(bar.minimum, bar.maximum, bar.sliderPosition,
                                                                    groove - slider, bar.upsideDown);
    // Along the bar: start and extent of the part.
    int start = 0;
    int extent = 0;
    switch (part) {
    case QStyle::SC_ScrollBarSubLine: extent = button; break;
    case QStyle::SC_ScrollBarAddLine: start = length - button; extent = button; break;
    case QStyle::SC_ScrollBarSubPage: start = button; extent = sliderStart - button; break;
    case QStyle::SC_ScrollBarAddPage: start = sliderStart + slider; extent = length - button - start; break;
    case QStyle::SC_ScrollBarGroove: start = button; extent = groove; break;
    case QStyle::SC_ScrollBarSlider: start = sliderStart; extent = slider; break;
    default: return QRect();
    }
    const QRect r = horizontal ? QRect(start, 0, extent, thickness) : QRect(0, start, thickness, extent);
    return QStyle::visualRect(bar.direction, bar.rect, r.translated(bar.rect.topLeft()));
}

} // namespace

namespace {

// Holds an option's rectangle, while a base style draws it, to the part
// `painter` can reach with a margin, so that edges and buttons off that part
// stay out of sight. Options are polymorphic and cannot be copied whole; Qt
// makes each for the one call, so it is changed in place and set back.
class ReachableOption
{
public:
    ReachableOption(const QStyleOption *option, const QPainter *painter)
    {
        if (!option || !painter || qint64(option->rect.width()) * option->rect.height() <= MaxStyledPixels)
            return;
        QPaintEngine *engine = painter->paintEngine();
        const QPaintDevice *device = engine ? engine->paintDevice() : painter->device();
        if (!device)
            return;
        // A widget's painter writes into its window's backing store, through
        // a clip of the region being painted.
        const QRegion clip = engine ? engine->systemClip() : QRegion();
        const QRect deviceArea = clip.isEmpty() ? QRect(0, 0, device->width(), device->height()) : clip.boundingRect();
        QRect reach = painter->deviceTransform().inverted().mapRect(QRectF(deviceArea)).toAlignedRect();
        if (painter->hasClipping())
            reach &= painter->clipBoundingRect().toAlignedRect();
        constexpr int Margin = 64;
        m_option = const_cast<QStyleOption *>(option);
        m_kept = option->rect;
        m_option->rect = m_kept & reach.adjusted(-Margin, -Margin, Margin, Margin);
    }
    ~ReachableOption()
    {
        if (m_option)
            m_option->rect = m_kept;
    }
    ReachableOption(const ReachableOption &) = delete;
    ReachableOption &operator=(const ReachableOption &) = delete;

private:
    QStyleOption *m_option = nullptr;
    QRect m_kept;
};

} // namespace

void CScrollBarStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    const ReachableOption reachable(option, painter);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CScrollBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const ReachableOption reachable(option, painter);
    QProxyStyle::drawControl(element, option, painter, widget);
}

void CScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                         QPainter *painter, const QWidget *widget) const
{
    const ReachableOption reachable(option, painter);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect CScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    if (control == CC_ScrollBar) {
        const auto *arrows = dynamic_cast<const IOrvQScrollBarArrows *>(widget);
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (arrows && bar && arrows->arrowLength() > 0)
            return scrollBarPartRect(*bar, subControl, arrows->arrowLength(),
                                     proxy()->pixelMetric(PM_ScrollBarSliderMin, option, widget), this);
    }
    QRect r = QCommonStyle::subControlRect(control, option, subControl, widget);
    if (control != CC_Slider || subControl != SC_SliderHandle || !option)
        return r;
    const auto *slider = dynamic_cast<const IOrvQSliderThumb *>(widget);
    const auto *sliderOption = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!slider || !sliderOption)
        return r;

    // Centred across the option's rectangle, which is the widget's own when
    // painting and whatever a caller rendering elsewhere passes.
    const QSize thumb = slider->thumbSize();
    if (sliderOption->orientation == Qt::Horizontal)
        r.moveTop((option->rect.height() - thumb.height()) / 2 + option->rect.top());
    else
        r.moveLeft((option->rect.width() - thumb.width()) / 2 + option->rect.left());
    r.setSize(thumb);
    return r;
}

int CScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int value = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric != PM_SliderLength)
        return value;
    const auto *slider = dynamic_cast<const IOrvQSliderThumb *>(widget);
    const auto *sliderOption = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!slider)
        return value;
    const Qt::Orientation orientation =
        sliderOption ? sliderOption->orientation : static_cast<Qt::Orientation>(widget->property("orientation").toInt());
    return orientation == Qt::Horizontal ? slider->thumbSize().width() : slider->thumbSize().height();
}

} // namespace OrvQtLib
