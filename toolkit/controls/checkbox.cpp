#include "checkbox.h"

#include "jsonreaders.h"
#include "pushbutton.h"
#include "resourcemanager.h"

#include <QImage>
#include <QPainter>

namespace OrvQtLib {

namespace {

OrvQRectStyle emptyRect()
{
    OrvQRectStyle style;
    style.nonEmpty = false;
    return style;
}

void setStyleAt(OrvQStateRectStyles &group, int index, const OrvQRectStyle &style)
{
    if (index == 4)
        group.setAll(style);
    else
        group.set(index, style);
}

} // namespace

// ---- shared ------------------------------------------------------------------

OrvQTwoStateButtonImpl::OrvQTwoStateButtonImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQTwoStateButtonImpl::~OrvQTwoStateButtonImpl() = default;

void OrvQTwoStateButtonImpl::setUncheckedStyle(int index, const OrvQRectStyle &style)
{
    setStyleAt(m_uncheckedRects, index, style);
}

void OrvQTwoStateButtonImpl::setCheckedStyle(int index, const OrvQRectStyle &style)
{
    setStyleAt(m_checkedRects, index, style);
}

void OrvQTwoStateButtonImpl::readCommonAttr(const Json::Value &attr)
{
    if (QAbstractButton *b = button())
        b->setText(readGbk(attr, "text"));
    m_iconAlign.x = readOffset(attr, "iconX");
    m_iconAlign.y = readOffset(attr, "iconY");
    m_showIcon = readBool(attr, "showIcon", m_showIcon);
    m_showText = readBool(attr, "showText", m_showText);
    m_uncheckedIcon = readUtf8(attr, "iconPath", m_uncheckedIcon);
    m_uncheckedHotIcon = readUtf8(attr, "hotIconPath", m_uncheckedHotIcon);
    m_checkedIcon = readUtf8(attr, "siconPath", m_checkedIcon);
    m_checkedHotIcon = readUtf8(attr, "sHotIconPath", m_checkedHotIcon);
}

QAbstractButton *OrvQTwoStateButtonImpl::button() const
{
    return qobject_cast<QAbstractButton *>(m_widget);
}

bool OrvQTwoStateButtonImpl::checked() const
{
    const QAbstractButton *b = button();
    return b && b->isChecked();
}

QSize OrvQTwoStateButtonImpl::imageSize(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QImage *image = OrvQResourceManager::instance().image(name);
    if (!image || image->width() <= 0 || image->height() <= 0)
        return {};
    return image->size();
}

// ---- check box ---------------------------------------------------------------

OrvQCheckBoxImpl::OrvQCheckBoxImpl(QWidget *widget)
    : OrvQTwoStateButtonImpl(widget)
{
    m_uncheckedIcon = m_uncheckedHotIcon = QStringLiteral("IDB_UNCHECK");
    m_checkedIcon = m_checkedHotIcon = QStringLiteral("IDB_CHECKED");
    m_uncheckedRects.setAll(emptyRect());
    m_checkedRects.setAll(emptyRect());
}

OrvQCheckBoxImpl::~OrvQCheckBoxImpl() = default;

bool OrvQCheckBoxImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;

    using Slot = OrvQStyleSlot<OrvQTwoStateButtonImpl>;
    applyStyleSlots<OrvQTwoStateButtonImpl>(element, {
        Slot::rectStates(0, &OrvQCheckBoxImpl::m_uncheckedRects),
        Slot::rectStates(1, &OrvQCheckBoxImpl::m_uncheckedRects, StateHover),
        Slot::rectStates(2, &OrvQCheckBoxImpl::m_uncheckedRects, StatePressed),
        Slot::rectStates(3, &OrvQCheckBoxImpl::m_uncheckedRects, StateDisabled),
        Slot::rectStates(4, &OrvQCheckBoxImpl::m_checkedRects),
        Slot::rectStates(5, &OrvQCheckBoxImpl::m_checkedRects, StateHover),
        Slot::rectStates(6, &OrvQCheckBoxImpl::m_checkedRects, StatePressed),
        Slot::rectStates(7, &OrvQCheckBoxImpl::m_checkedRects, StateDisabled),
        Slot::fontSlot(8, &OrvQCheckBoxImpl::m_uncheckedFont),
        Slot::fontSlot(9, &OrvQCheckBoxImpl::m_checkedFont),
    }, *this);

    const Json::Value &attr = jsonObject(element, "attr");
    if (!attr.isObject())
        return true;
    readCommonAttr(attr);
    m_iconAlign.hor = readInt(attr, "iconHor", m_iconAlign.hor);
    m_iconAlign.ver = readInt(attr, "iconVer", m_iconAlign.ver);
    // A hover icon not given follows its normal icon, so a skin that replaces
    // only the normal icons never flips to the built-in ones under the pointer.
    if (!readString(attr, "hotIconPath") || m_uncheckedHotIcon.isEmpty())
        m_uncheckedHotIcon = m_uncheckedIcon;
    if (!readString(attr, "sHotIconPath") || m_checkedHotIcon.isEmpty())
        m_checkedHotIcon = m_checkedIcon;
    return true;
}

void OrvQCheckBoxImpl::draw(QPainter *painter, const QRect &rect)
{
    const QAbstractButton *b = button();
    if (!b)
        return;
    const bool k = b->isChecked();
    const int s = m_state;
    const int w = m_widget->width();
    const int h = m_widget->height();

    drawBackground(painter, rectStyle(k, s), rect);

    // The text starts after an icon that sits at the left edge.
    int textStart = 0;
    if (m_showIcon && m_iconAlign.hor == 0) {
        const QSize icon = imageSize(m_uncheckedIcon);
        if (icon.isValid())
            textStart = icon.width() + m_iconAlign.x;
    }
    if (m_showText)
        drawStyledText(painter, b->text(), fontStyle(k), textStart, 0, w - textStart, h, true);

    if (!m_showIcon)
        return;
    QString icon;
    switch (s) {
    case StateNormal:
    case StatePressed:
        icon = k ? m_checkedIcon : m_uncheckedIcon;
        break;
    case StateHover:
        icon = k ? m_checkedHotIcon : m_uncheckedHotIcon;
        break;
    default:
        break; // no disabled icons
    }
    if (!icon.isEmpty())
        drawImageAligned(painter, icon, m_iconAlign, rect);
}

// ---- radio button ------------------------------------------------------------

OrvQRadioButtonImpl::OrvQRadioButtonImpl(QWidget *widget)
    : OrvQTwoStateButtonImpl(widget)
{
    m_uncheckedRects.setAll(emptyRect());
}

OrvQRadioButtonImpl::~OrvQRadioButtonImpl() = default;

bool OrvQRadioButtonImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;

    using Slot = OrvQStyleSlot<OrvQTwoStateButtonImpl>;
    applyStyleSlots<OrvQTwoStateButtonImpl>(element, {
        Slot::rectStates(0, &OrvQRadioButtonImpl::m_uncheckedRects),
        Slot::rectStates(1, &OrvQRadioButtonImpl::m_uncheckedRects, StateHover),
        Slot::rectStates(2, &OrvQRadioButtonImpl::m_uncheckedRects, StatePressed),
        Slot::rectStates(3, &OrvQRadioButtonImpl::m_uncheckedRects, StateDisabled),
        Slot::rectStates(4, &OrvQRadioButtonImpl::m_checkedRects),
        Slot::rectStates(5, &OrvQRadioButtonImpl::m_checkedRects, StateHover),
        Slot::rectStates(6, &OrvQRadioButtonImpl::m_checkedRects, StatePressed),
        Slot::rectStates(7, &OrvQRadioButtonImpl::m_checkedRects, StateDisabled),
        Slot::fontSlot(8, &OrvQRadioButtonImpl::m_uncheckedFont),
        Slot::fontSlot(8, &OrvQRadioButtonImpl::m_checkedFont),
        Slot::fontSlot(9, &OrvQRadioButtonImpl::m_checkedFont),
    }, *this);

    const Json::Value &attr = jsonObject(element, "attr");
    if (!attr.isObject())
        return true;
    readCommonAttr(attr);
    // -1 stands for "keep the default" in radio descriptions.
    const int hor = readInt(attr, "iconHor", -1);
    if (hor != -1)
        m_iconAlign.hor = hor;
    const int ver = readInt(attr, "iconVer", -1);
    if (ver != -1)
        m_iconAlign.ver = ver;
    m_pushLike = readBool(attr, "pushlike", m_pushLike);
    return true;
}

void OrvQRadioButtonImpl::draw(QPainter *painter, const QRect &rect)
{
    const QAbstractButton *b = button();
    if (!b)
        return;
    const bool k = b->isChecked();
    const int s = m_state;

    QRect textRect = rect;
    QString icon;
    if (m_showIcon) {
        const QString &hover = k ? m_checkedHotIcon : m_uncheckedHotIcon;
        icon = s == StateHover && !hover.isEmpty() ? hover : (k ? m_checkedIcon : m_uncheckedIcon);
        const QSize size = imageSize(icon);
        if (size.isValid() && !m_pushLike)
            textRect.setLeft(rect.left() + size.width() + 2);
        if (!icon.isEmpty())
            drawImageAligned(painter, icon, m_iconAlign, rect);
    }
    // Drawn over the icon: a skin that gives a style covers it.
    drawBackground(painter, rectStyle(k, s), rect);
    if (m_showText)
        drawStyledText(painter, b->text(), fontStyle(k), textRect);
}

// ---- widgets -----------------------------------------------------------------

OrvQCheckBox::OrvQCheckBox(QWidget *parent)
    : OrvQControl<QCheckBox, OrvQCheckBoxImpl>(parent)
{
}

OrvQCheckBox::~OrvQCheckBox() = default;

void OrvQCheckBox::setUncheckedStyle(int index, const OrvQRectStyle &style)
{
    m_impl->setUncheckedStyle(index, style);
    update();
}

void OrvQCheckBox::setCheckedStyle(int index, const OrvQRectStyle &style)
{
    m_impl->setCheckedStyle(index, style);
    update();
}

void OrvQCheckBox::setUncheckedIcon(const QString &name)
{
    m_impl->setUncheckedIcon(name);
    update();
}

void OrvQCheckBox::setCheckedIcon(const QString &name)
{
    m_impl->setCheckedIcon(name);
    update();
}

void OrvQCheckBox::setShowText(bool show)
{
    m_impl->setShowText(show);
    update();
}

bool OrvQCheckBox::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

// The skin draws icon and text wherever it likes, so the whole control takes
// the click rather than the platform style's indicator and label.
bool OrvQCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

OrvQRadioButton::OrvQRadioButton(QWidget *parent)
    : OrvQControl<QRadioButton, OrvQRadioButtonImpl>(parent)
{
}

OrvQRadioButton::~OrvQRadioButton() = default;

bool OrvQRadioButton::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

bool OrvQRadioButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void OrvQRadioButton::mousePressEvent(QMouseEvent *event)
{
    if (m_impl)
        m_impl->mousePress(event);
}

void OrvQRadioButton::mouseReleaseEvent(QMouseEvent *event)
{
    // A toggled handler may delete this button.
    QPointer<QObject> alive(this);
    setChecked(!isChecked());
    if (alive && m_impl)
        m_impl->mouseRelease(event);
}

} // namespace OrvQtLib
