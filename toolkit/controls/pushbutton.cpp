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

int readOffset(const Json::Value &attr, const char *key)
{
    return qBound(-QWIDGETSIZE_MAX, readInt(attr, key, 0), QWIDGETSIZE_MAX);
}

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

bool OrvQPushButtonImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;

    using Slot = OrvQStyleSlot<OrvQPushButtonImpl>;
    applyStyleSlots<OrvQPushButtonImpl>(element, {
        Slot::rectStates(0, &OrvQPushButtonImpl::m_rectStyles),
        Slot::rectStates(1, &OrvQPushButtonImpl::m_rectStyles, StateHover),
        Slot::rectStates(2, &OrvQPushButtonImpl::m_rectStyles, StatePressed),
        Slot::rectStates(3, &OrvQPushButtonImpl::m_rectStyles, StateDisabled),
        Slot::fontStates(4, &OrvQPushButtonImpl::m_fontStyles),
        Slot::fontStates(5, &OrvQPushButtonImpl::m_fontStyles, StateHover),
        Slot::fontStates(6, &OrvQPushButtonImpl::m_fontStyles, StatePressed),
        Slot::fontStates(7, &OrvQPushButtonImpl::m_fontStyles, StateDisabled),
    }, *this);

    const Json::Value &attr = jsonObject(element, "attr");
    if (!attr.isObject())
        return true;
    m_hasIcon = readBool(attr, "hasIcon", m_hasIcon);
    m_iconPath = readUtf8(attr, "iconPath", m_iconPath);
    m_hotIconPath = readUtf8(attr, "hotIconPath", m_hotIconPath);
    if (auto *button = qobject_cast<QAbstractButton *>(m_widget))
        button->setText(readGbk(attr, "text"));
    m_showText = readBool(attr, "showText", m_showText);
    m_iconAlign.hor = readInt(attr, "iconHor", 1);
    m_iconAlign.ver = readInt(attr, "iconVer", 1);
    m_iconAlign.x = readOffset(attr, "iconX");
    m_iconAlign.y = readOffset(attr, "iconY");
    m_textX = readOffset(attr, "txtX");
    m_textY = readOffset(attr, "txtY");
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
    : OrvQControl<QPushButton, OrvQPushButtonImpl>(parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

OrvQPushButton::~OrvQPushButton() = default;

bool OrvQPushButton::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
