#include "switch.h"

#include <QPainter>

#include <algorithm>

namespace OrvQtLib {

OrvQSwitchImpl::OrvQSwitchImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
    connect(&m_animation, &QVariantAnimation::valueChanged, this, &OrvQSwitchImpl::valueChanged);
    connect(&m_animation, &QVariantAnimation::finished, this, &OrvQSwitchImpl::finished);
}

OrvQSwitchImpl::~OrvQSwitchImpl() = default;

const OrvQKeyTable<OrvQSwitchImpl> &OrvQSwitchImpl::attrKeys()
{
    using Key = OrvQKey<OrvQSwitchImpl>;
    static const OrvQKeyTable<OrvQSwitchImpl> keys{
        Key::gbkText("leftText", &OrvQSwitchImpl::m_leftText, QString(), "caption while on, at the left end"),
        Key::gbkText("rightText", &OrvQSwitchImpl::m_rightText, QString(), "caption while off, at the right end"),
        Key::number("thumbW", &OrvQSwitchImpl::m_thumbWidth, 25, 0, QWIDGETSIZE_MAX, "thumb width"),
        Key::number("thumbH", &OrvQSwitchImpl::m_thumbHeight, 25, 0, QWIDGETSIZE_MAX, "thumb height"),
        Key::number("speed", &OrvQSwitchImpl::m_speed, std::nullopt, 0, MaxSpeed, "slide duration, ms"),
        Key::custom({"on", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "non-zero: on; zero: off"},
                    [](OrvQSwitchImpl &impl, const QVariant &on) { impl.m_off = on.toInt() == 0; }),
        Key::number("margin", &OrvQSwitchImpl::m_margin, std::nullopt, 0, QWIDGETSIZE_MAX,
                    "gap around the thumb"),
    };
    return keys;
}

const OrvQStyleSlotTable<OrvQSwitchImpl> &OrvQSwitchImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQSwitchImpl>;
    static const OrvQStyleSlotTable<OrvQSwitchImpl> table{
        Slot::rectSlot(0, &OrvQSwitchImpl::m_trackStyle, "track"),
        Slot::rectStates(2, &OrvQSwitchImpl::m_thumbStyles, -1, "thumb"),
        Slot::rectStates(3, &OrvQSwitchImpl::m_thumbStyles, StateHover, "thumb"),
        Slot::rectStates(4, &OrvQSwitchImpl::m_thumbStyles, StatePressed, "thumb"),
        Slot::rectStates(5, &OrvQSwitchImpl::m_thumbStyles, StateDisabled, "thumb"),
        Slot::fontSlot(6, &OrvQSwitchImpl::m_leftTextStyle, "left caption"),
        Slot::fontSlot(7, &OrvQSwitchImpl::m_rightTextStyle, "right caption"),
    };
    return table;
}

bool OrvQSwitchImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

int OrvQSwitchImpl::travel(int width) const
{
    // Every term is at most QWIDGETSIZE_MAX; 64 bits keeps the sum exact.
    const qint64 length = qint64(width) - 2 * qint64(m_margin) - m_thumbWidth;
    return int(std::clamp<qint64>(length, 0, QWIDGETSIZE_MAX));
}

int OrvQSwitchImpl::thumbOffset(int width) const
{
    // At rest the thumb follows the state and the current width, so a switch
    // stretched by a re-layout keeps its thumb at the end.
    if (m_animating)
        return m_thumbOffset;
    return m_off ? 0 : travel(width);
}

QRect OrvQSwitchImpl::thumbRect(int width) const
{
    return QRect(m_margin + thumbOffset(width), m_margin, m_thumbWidth, m_thumbHeight);
}

QRect OrvQSwitchImpl::captionRect(int width) const
{
    const int x = m_off ? int(std::max<qint64>(qint64(width) - m_thumbWidth, -QWIDGETSIZE_MAX)) : m_margin;
    return QRect(x, m_margin, m_thumbWidth, m_thumbHeight);
}

void OrvQSwitchImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_trackStyle, rect);
    if (m_showText) {
        const OrvQFontStyle &style = m_off ? m_rightTextStyle : m_leftTextStyle;
        drawStyledText(painter, m_off ? m_rightText : m_leftText, style, captionRect(rect.width()));
    }
    drawBackground(painter, m_thumbStyles[m_state], thumbRect(rect.width()));
}

bool OrvQSwitchImpl::startToggle()
{
    if (m_animating || !m_widget)
        return false;
    const int end = travel(m_widget->width());
    m_thumbOffset = m_off ? 0 : end;
    m_animation.setStartValue(m_off ? 0 : end);
    m_animation.setEndValue(m_off ? end : 0);
    m_animation.setDuration(m_speed);
    // A slide of no length finishes inside start(), so the flag goes first.
    m_animating = true;
    m_animation.start(QAbstractAnimation::KeepWhenStopped);
    return true;
}

bool OrvQSwitchImpl::setOn(bool on)
{
    if (m_animating) {
        m_animation.stop();
        m_animating = false;
    }
    if (m_widget)
        m_widget->update();
    if (m_off == !on)
        return false;
    m_off = !on;
    return true;
}

void OrvQSwitchImpl::valueChanged(const QVariant &value)
{
    if (!m_animating)
        return;
    m_thumbOffset = value.toInt();
    if (m_widget)
        m_widget->update();
}

void OrvQSwitchImpl::finished()
{
    m_animating = false;
    m_off = !m_off;
    if (m_widget)
        m_widget->update();
}

OrvQSwitch::OrvQSwitch(QWidget *parent)
    : OrvQControl(parent)
{
    // Connected after the Impl's own slot, so the state has flipped already.
    connect(&m_impl->animation(), &QVariantAnimation::finished, this, [this] { emit toggled(isOn()); });
}

OrvQSwitch::~OrvQSwitch() = default;

bool OrvQSwitch::isOn() const
{
    return m_impl->isOn();
}

void OrvQSwitch::setOn(bool on)
{
    if (m_impl->setOn(on))
        emit toggled(on);
}

QString OrvQSwitch::leftText() const
{
    return m_impl->leftText();
}

void OrvQSwitch::setLeftText(const QString &text)
{
    if (text == m_impl->leftText())
        return;
    m_impl->setLeftText(text);
    update();
    emit leftTextChanged(text);
}

QString OrvQSwitch::rightText() const
{
    return m_impl->rightText();
}

void OrvQSwitch::setRightText(const QString &text)
{
    if (text == m_impl->rightText())
        return;
    m_impl->setRightText(text);
    update();
    emit rightTextChanged(text);
}

bool OrvQSwitch::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQSwitch::mousePressEvent(QMouseEvent *event)
{
    // The pressed look, then the slide; a slide of no length ends, and may
    // run a toggled handler, inside startToggle().
    if (survives(this, [&] { OrvQControl::mousePressEvent(event); }) && m_impl)
        m_impl->startToggle();
}

} // namespace OrvQtLib
