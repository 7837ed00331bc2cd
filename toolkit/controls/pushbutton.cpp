#include "pushbutton.h"

#include "jsonreaders.h"

#include <QPainter>

namespace OrvQtLib {

namespace {

OrvQRectStyle buttonRect(QRgb color)
{
    OrvQRectStyle style;
    style.color = QColor::fromRgba(color);
    style.borderColor = QColor::fromRgba(0xFFCCCCCC);
    style.borderSize = 1;
    return style;
}

} // namespace

OrvQPushButtonImpl::OrvQPushButtonImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
    m_rectStyles.set(StateNormal, buttonRect(0xFFF5F5F5));
    m_rectStyles.set(StateHover, buttonRect(0xFFEDFBFF));
    m_rectStyles.set(StatePressed, buttonRect(0xFFF5F5F5));

    OrvQFontStyle font;
    font.hor = 1;
    m_fontStyles.setAll(font);
}

OrvQPushButtonImpl::~OrvQPushButtonImpl() = default;

const OrvQStyleSlotTable<OrvQPushButtonImpl> &OrvQPushButtonImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQPushButtonImpl>;
    static const OrvQStyleSlotTable<OrvQPushButtonImpl> table{
        Slot::rectStates(0, &OrvQPushButtonImpl::m_rectStyles, -1, "background"),
        Slot::rectStates(1, &OrvQPushButtonImpl::m_rectStyles, StateHover, "background"),
        Slot::rectStates(2, &OrvQPushButtonImpl::m_rectStyles, StatePressed, "background"),
        Slot::rectStates(3, &OrvQPushButtonImpl::m_rectStyles, StateDisabled, "background"),
        Slot::fontStates(4, &OrvQPushButtonImpl::m_fontStyles, -1, "text"),
        Slot::fontStates(5, &OrvQPushButtonImpl::m_fontStyles, StateHover, "text"),
        Slot::fontStates(6, &OrvQPushButtonImpl::m_fontStyles, StatePressed, "text"),
        Slot::fontStates(7, &OrvQPushButtonImpl::m_fontStyles, StateDisabled, "text"),
    };
    return table;
}

const OrvQKeyTable<OrvQPushButtonImpl> &OrvQPushButtonImpl::attrKeys()
{
    using Key = OrvQKey<OrvQPushButtonImpl>;
    using Impl = OrvQPushButtonImpl;
    static const OrvQKeyTable<OrvQPushButtonImpl> keys{
        Key::flag("hasIcon", &Impl::m_hasIcon, std::nullopt, "draw the icon"),
        Key::image("iconPath", &Impl::m_iconPath, std::nullopt, "icon"),
        Key::image("hotIconPath", &Impl::m_hotIconPath, std::nullopt, "icon while hovered"),
        Key::custom({"text", OrvQKeyType::GbkText, QString(), INT_MIN, INT_MAX, "caption"},
                    [](Impl &impl, const QVariant &text) {
                        if (auto *button = qobject_cast<QAbstractButton *>(impl.m_widget))
                            button->setText(text.toString());
                    }),
        Key::flag("showText", &Impl::m_showText, std::nullopt, "draw the caption"),
        Key::numberIn("iconHor", &Impl::m_iconAlign, &OrvQImageAlign::hor, 1, INT_MIN, INT_MAX, "icon: 0 left, 1 centre, 2 right"),
        Key::numberIn("iconVer", &Impl::m_iconAlign, &OrvQImageAlign::ver, 1, INT_MIN, INT_MAX, "icon: 0 top, 1 centre, 2 bottom"),
        Key::numberIn("iconX", &Impl::m_iconAlign, &OrvQImageAlign::x, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, "icon x offset"),
        Key::numberIn("iconY", &Impl::m_iconAlign, &OrvQImageAlign::y, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, "icon y offset"),
        Key::number("txtX", &Impl::m_textX, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, "caption x offset"),
        Key::number("txtY", &Impl::m_textY, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX, "caption y offset"),
    };
    return keys;
}

bool OrvQPushButtonImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

void OrvQPushButtonImpl::draw(QPainter *painter, const QRect &rect)
{
    const auto *button = qobject_cast<const QAbstractButton *>(m_widget);
    if (!button)
        return;
    const int s = m_state;
    const int w = m_widget->width();
    const int h = m_widget->height();

    drawBackground(painter, m_rectStyles[s], rect);
    if (m_showText)
        drawStyledText(painter, button->text(), m_fontStyles[s], rect.left() + m_textX, rect.top() + m_textY,
                       w - m_textX, h - m_textY, true);
    if (m_hasIcon) {
        const QString &icon = s == StateHover && !m_hotIconPath.isEmpty() ? m_hotIconPath : m_iconPath;
        if (!icon.isEmpty())
            drawImageAligned(painter, icon, m_iconAlign, rect.left(), rect.top(), w, h);
    }
}

OrvQPushButton::OrvQPushButton(QWidget *parent)
    : OrvQControl(parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

OrvQPushButton::~OrvQPushButton() = default;

bool OrvQPushButton::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
