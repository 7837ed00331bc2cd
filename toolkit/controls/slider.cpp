#include "slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace OrvQtLib {

// ---- slider ------------------------------------------------------------------

OrvQSliderImpl::OrvQSliderImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQSliderImpl::~OrvQSliderImpl() = default;

const OrvQStyleSlotTable<OrvQSliderImpl> &OrvQSliderImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQSliderImpl>;
    static const OrvQStyleSlotTable<OrvQSliderImpl> table{
        Slot::rectSlot(0, &OrvQSliderImpl::m_channelStyle, "channel"),
        Slot::rectSlot(2, &OrvQSliderImpl::m_fillStyle, "filled part of the channel"),
        Slot::rectStates(4, &OrvQSliderImpl::m_thumbStyles, -1, "thumb"),
        Slot::rectStates(5, &OrvQSliderImpl::m_thumbStyles, StateHover, "thumb"),
        Slot::rectStates(6, &OrvQSliderImpl::m_thumbStyles, StatePressed, "thumb"),
        Slot::rectStates(7, &OrvQSliderImpl::m_thumbStyles, StateDisabled, "thumb"),
    };
    return table;
}

const OrvQKeyTable<OrvQSliderImpl> &OrvQSliderImpl::attrKeys()
{
    using Key = OrvQKey<OrvQSliderImpl>;
    using Impl = OrvQSliderImpl;
    // The range is set maximum first, then minimum, then the position, so a
    // position inside the described range is never clipped by the old one.
    static const OrvQKeyTable<OrvQSliderImpl> keys{
        Key::custom({"isHor", OrvQKeyType::Bool, true, 0, 0, "true horizontal, false vertical"},
                    [](Impl &impl, const QVariant &hor) {
                        if (QSlider *s = impl.slider())
                            s->setOrientation(hor.toBool() ? Qt::Horizontal : Qt::Vertical);
                    }),
        Key::number("thumbW", &Impl::m_thumbWidth, 20, 0, QWIDGETSIZE_MAX, "thumb width"),
        Key::number("thumbH", &Impl::m_thumbHeight, 20, 0, QWIDGETSIZE_MAX, "thumb height"),
        Key::number("channelSize", &Impl::m_channelSize, 10, 0, QWIDGETSIZE_MAX, "channel thickness"),
        Key::custom({"max", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "maximum"},
                    [](Impl &impl, const QVariant &max) {
                        if (QSlider *s = impl.slider())
                            s->setMaximum(max.toInt());
                    }),
        Key::custom({"min", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "minimum"},
                    [](Impl &impl, const QVariant &min) {
                        if (QSlider *s = impl.slider())
                            s->setMinimum(min.toInt());
                    }),
        Key::custom({"val", OrvQKeyType::Int, 0, INT_MIN, INT_MAX, "position"},
                    [](Impl &impl, const QVariant &value) {
                        if (QSlider *s = impl.slider())
                            s->setSliderPosition(value.toInt());
                    }),
    };
    return keys;
}

bool OrvQSliderImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    if (m_widget)
        m_widget->updateGeometry();
    return true;
}

QSlider *OrvQSliderImpl::slider() const
{
    return qobject_cast<QSlider *>(m_widget);
}

void OrvQSliderImpl::setThumbSize(const QSize &size)
{
    m_thumbWidth = qBound(0, size.width(), QWIDGETSIZE_MAX);
    m_thumbHeight = qBound(0, size.height(), QWIDGETSIZE_MAX);
}

QRect OrvQSliderImpl::channelRect(const QRect &rect) const
{
    const QSlider *s = slider();
    if (!s || s->orientation() == Qt::Horizontal)
        return QRect(rect.left(), rect.top() + (rect.height() - m_channelSize) / 2, rect.width(), m_channelSize);
    return QRect(rect.left() + (rect.width() - m_channelSize) / 2, rect.top(), m_channelSize, rect.height());
}

QRect OrvQSliderImpl::fillRect(const QRect &rect) const
{
    const QSlider *s = slider();
    if (!s)
        return {};
    // The fill follows the thumb (the slider position), not the value, so
    // the two agree while tracking is off. A range of no width counts as 100.
    const qint64 span = qint64(s->maximum()) - s->minimum();
    const qint64 range = span == 0 ? 100 : span;
    const QRect channel = channelRect(rect);
    if (s->orientation() == Qt::Horizontal)
        return QRect(channel.left(), channel.top(), filledLength(s->sliderPosition(), range, rect.width()),
                     channel.height());
    const int d = filledLength(s->sliderPosition(), range, rect.height());
    return QRect(channel.left(), rect.top() + rect.height() - d, channel.width(), d);
}

QRect OrvQSliderImpl::thumbRect() const
{
    const auto *control = qobject_cast<const OrvQSlider *>(m_widget);
    if (!control)
        return {};
    const QStyleOptionSlider option = control->styleOption();
    return control->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, control);
}

void OrvQSliderImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_channelStyle, channelRect(rect));
    const QRect fill = fillRect(rect);
    if (!fill.isEmpty())
        drawBackground(painter, m_fillStyle, fill);
    drawBackground(painter, m_thumbStyles[m_state], thumbRect());
}

void OrvQSliderImpl::setThumbState(OrvQControlState state)
{
    if (m_state != state)
        changeState(state);
}

void OrvQSliderImpl::mousePress(QMouseEvent *event)
{
    if (thumbRect().contains(event->pos()))
        setThumbState(StatePressed);
}

void OrvQSliderImpl::mouseRelease(QMouseEvent *event)
{
    setThumbState(thumbRect().contains(event->pos()) ? StateHover : StateNormal);
}

void OrvQSliderImpl::mouseEnter(QEvent *)
{
    // The thumb, not the whole slider, takes the hover look; tracking lets
    // moves find it.
    if (m_widget)
        m_widget->setMouseTracking(true);
}

void OrvQSliderImpl::mouseLeave(QEvent *)
{
    setThumbState(StateNormal);
    if (m_widget)
        m_widget->setMouseTracking(false);
}

void OrvQSliderImpl::mouseMove(QMouseEvent *event)
{
    if (m_state != StatePressed)
        setThumbState(thumbRect().contains(event->pos()) ? StateHover : StateNormal);
}

OrvQSlider::OrvQSlider(QWidget *parent)
    : OrvQSlider(Qt::Horizontal, parent)
{
}

OrvQSlider::OrvQSlider(Qt::Orientation orientation, QWidget *parent)
    : OrvQControl(orientation, parent)
{
}

OrvQSlider::~OrvQSlider() = default;

QSize OrvQSlider::thumbSize() const
{
    return m_impl ? m_impl->thumbSize() : QSize();
}

void OrvQSlider::setThumbSize(const QSize &size)
{
    if (!m_impl)
        return;
    notifyOnChange(this, &OrvQSlider::thumbSize, [&] {
        m_impl->setThumbSize(size);
        update();
    }, &OrvQSlider::thumbSizeChanged);
}

QStyleOptionSlider OrvQSlider::styleOption() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return option;
}

bool OrvQSlider::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

// ---- scroll bar --------------------------------------------------------------

OrvQScrollBarImpl::OrvQScrollBarImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQScrollBarImpl::~OrvQScrollBarImpl() = default;

const OrvQKeyTable<OrvQScrollBarImpl> &OrvQScrollBarImpl::attrKeys()
{
    using Key = OrvQKey<OrvQScrollBarImpl>;
    using Impl = OrvQScrollBarImpl;
    static const OrvQKeyTable<OrvQScrollBarImpl> keys{
        Key::image("upicon", &Impl::m_upIcon, QString(), "icon of the up or left arrow"),
        Key::image("downicon", &Impl::m_downIcon, QString(), "icon of the down or right arrow"),
        Key::image("thumbicon", &Impl::m_thumbIcon, QString(), "icon on the thumb"),
    };
    return keys;
}

const OrvQStyleSlotTable<OrvQScrollBarImpl> &OrvQScrollBarImpl::elementStyleSlots()
{
    using Slot = OrvQStyleSlot<OrvQScrollBarImpl>;
    using Impl = OrvQScrollBarImpl;
    static const OrvQStyleSlotTable<OrvQScrollBarImpl> table{
        Slot::rectSlot(0, &Impl::m_trackStyle, "track"),
        Slot::rectStates(2, &Impl::m_subLineStyles, -1, "up or left arrow"),
        Slot::rectStates(3, &Impl::m_subLineStyles, Hover, "up or left arrow"),
        Slot::rectStates(4, &Impl::m_subLineStyles, Pressed, "up or left arrow"),
        Slot::rectStates(5, &Impl::m_subLineStyles, Reserved, "up or left arrow"),
        Slot::rectStates(6, &Impl::m_addLineStyles, -1, "down or right arrow"),
        Slot::rectStates(7, &Impl::m_addLineStyles, Hover, "down or right arrow"),
        Slot::rectStates(8, &Impl::m_addLineStyles, Pressed, "down or right arrow"),
        Slot::rectStates(9, &Impl::m_addLineStyles, Reserved, "down or right arrow"),
        Slot::rectStates(10, &Impl::m_thumbStyles, -1, "thumb"),
        Slot::rectStates(11, &Impl::m_thumbStyles, Hover, "thumb"),
        Slot::rectStates(12, &Impl::m_thumbStyles, Pressed, "thumb"),
        Slot::rectStates(13, &Impl::m_thumbStyles, Reserved, "thumb"),
    };
    return table;
}

const OrvQStateRectStyles &OrvQScrollBarImpl::stylesOf(Part part) const
{
    return part == SubLine ? m_subLineStyles : part == AddLine ? m_addLineStyles : m_thumbStyles;
}

bool OrvQScrollBarImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

QRect OrvQScrollBarImpl::partRect(Part part) const
{
    const auto *bar = qobject_cast<const OrvQScrollBar *>(m_widget);
    if (!bar)
        return {};
    static constexpr QStyle::SubControl subControls[] = {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine,
                                                         QStyle::SC_ScrollBarSlider};
    const QStyleOptionSlider option = bar->styleOption();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, subControls[part], bar);
}

void OrvQScrollBarImpl::paint(QWidget *, QPaintEvent *)
{
    if (!m_widget)
        return;
    QPainter painter(m_widget);
    draw(&painter, QRect(0, 0, m_widget->width(), m_widget->height()));
}

void OrvQScrollBarImpl::draw(QPainter *painter, const QRect &rect)
{
    const bool enabled = m_widget && m_widget->isEnabled();
    const auto stateOf = [&](Part part) { return enabled ? m_states[part] : int(Reserved); };
    static const OrvQImageAlign centred{0, 0, 1, 1};

    drawBackground(painter, m_trackStyle, rect);
    const QRect thumb = partRect(Thumb);
    drawBackground(painter, m_thumbStyles[stateOf(Thumb)], thumb);
    if (!m_thumbIcon.isEmpty())
        drawImageAligned(painter, m_thumbIcon, centred, thumb);
    const QRect subLine = partRect(SubLine);
    drawBackground(painter, m_subLineStyles[stateOf(SubLine)], subLine);
    if (!m_upIcon.isEmpty())
        drawImageAligned(painter, m_upIcon, m_upAlign, subLine);
    const QRect addLine = partRect(AddLine);
    drawBackground(painter, m_addLineStyles[stateOf(AddLine)], addLine);
    if (!m_downIcon.isEmpty())
        drawImageAligned(painter, m_downIcon, m_downAlign, addLine);
}

void OrvQScrollBarImpl::setPartState(Part part, int state)
{
    if (m_states[part] == state)
        return;
    m_states[part] = state;
    if (m_widget)
        m_widget->update(partRect(part));
}

void OrvQScrollBarImpl::mousePress(QMouseEvent *event)
{
    for (Part part : {Thumb, AddLine, SubLine}) {
        if (partRect(part).contains(event->pos()))
            setPartState(part, Pressed);
    }
}

void OrvQScrollBarImpl::mouseMove(QMouseEvent *event)
{
    for (Part part : {Thumb, AddLine, SubLine}) {
        const bool over = partRect(part).contains(event->pos());
        if (over && m_states[part] != Hover && m_states[part] != Pressed)
            setPartState(part, Hover);
        // A pressed thumb stays pressed while dragged outside it; an arrow
        // button held and left looks normal again.
        else if (!over && (part != Thumb || m_states[part] == Hover || m_states[part] == Reserved))
            setPartState(part, Normal);
    }
}

void OrvQScrollBarImpl::mouseRelease(QMouseEvent *event)
{
    for (Part part : {Thumb, AddLine, SubLine})
        setPartState(part, partRect(part).contains(event->pos()) ? Hover : Normal);
}

void OrvQScrollBarImpl::mouseLeave(QEvent *)
{
    if (m_states[Thumb] != Pressed)
        m_states[Thumb] = Normal;
    m_states[AddLine] = Normal;
    m_states[SubLine] = Normal;
    if (m_widget)
        m_widget->update();
}

OrvQScrollBar::OrvQScrollBar(QWidget *parent)
    : OrvQScrollBar(Qt::Horizontal, parent)
{
}

OrvQScrollBar::OrvQScrollBar(Qt::Orientation orientation, QWidget *parent)
    : OrvQControl(orientation, parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

OrvQScrollBar::~OrvQScrollBar() = default;

QStyleOptionSlider OrvQScrollBar::styleOption() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return option;
}

void OrvQScrollBar::setTrackStyle(const OrvQRectStyle &style)
{
    m_impl->setTrackStyle(style);
    update();
}

void OrvQScrollBar::setSubLineStyle(int index, const OrvQRectStyle &style)
{
    m_impl->setSubLineStyle(index, style);
    update();
}

void OrvQScrollBar::setAddLineStyle(int index, const OrvQRectStyle &style)
{
    m_impl->setAddLineStyle(index, style);
    update();
}

void OrvQScrollBar::setThumbStyle(int index, const OrvQRectStyle &style)
{
    m_impl->setThumbStyle(index, style);
    update();
}

void OrvQScrollBar::setArrowIcon(bool up, const QString &name)
{
    m_impl->setArrowIcon(up, name);
    update();
}

void OrvQScrollBar::setSubLineStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setSubLineStyle(oneStateIndex(state), style);
}

void OrvQScrollBar::setAddLineStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setAddLineStyle(oneStateIndex(state), style);
}

void OrvQScrollBar::setThumbStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setThumbStyle(oneStateIndex(state), style);
}

void OrvQScrollBar::setArrowIcon(Qt::ArrowType arrow, const QString &name)
{
    // The sub-line button points up on a vertical bar and left on a
    // horizontal one; either arrow names it.
    if (arrow == Qt::UpArrow || arrow == Qt::LeftArrow)
        setArrowIcon(true, name);
    else if (arrow == Qt::DownArrow || arrow == Qt::RightArrow)
        setArrowIcon(false, name);
}

QString OrvQScrollBar::thumbIcon() const
{
    return m_impl->thumbIcon();
}

void OrvQScrollBar::setThumbIcon(const QString &name)
{
    if (name == thumbIcon())
        return;
    m_impl->setThumbIcon(name);
    update();
    emit thumbIconChanged(name);
}

void OrvQScrollBar::setArrowLength(int length)
{
    length = qBound(0, length, QWIDGETSIZE_MAX);
    if (length == m_arrowLength)
        return;
    m_arrowLength = length;
    updateGeometry();
    update();
    emit arrowLengthChanged(length);
}

bool OrvQScrollBar::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
