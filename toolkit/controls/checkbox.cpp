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

// Slots 0 to 3 style the unchecked states, 4 to 7 the checked ones; the
// first of each group fills all four.
template <class Slot, class Group>
std::vector<Slot> checkStateSlots(Group unchecked, Group checked)
{
    return {
        Slot::rectStates(0, unchecked, -1, "unchecked"),
        Slot::rectStates(1, unchecked, StateHover, "unchecked"),
        Slot::rectStates(2, unchecked, StatePressed, "unchecked"),
        Slot::rectStates(3, unchecked, StateDisabled, "unchecked"),
        Slot::rectStates(4, checked, -1, "checked"),
        Slot::rectStates(5, checked, StateHover, "checked"),
        Slot::rectStates(6, checked, StatePressed, "checked"),
        Slot::rectStates(7, checked, StateDisabled, "checked"),
    };
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
    m_uncheckedRects.setAt(index, style);
}

void OrvQTwoStateButtonImpl::setCheckedStyle(int index, const OrvQRectStyle &style)
{
    m_checkedRects.setAt(index, style);
}

template <class Owner>
void OrvQTwoStateButtonImpl::appendCommonKeys(OrvQKeyTable<Owner> &keys, bool hoverFollowsNormal)
{
    using Key = OrvQKey<Owner>;
    // With hoverFollowsNormal, a hover icon not given (or given empty)
    // follows its normal icon, so a skin that replaces only the normal icons
    // never flips to the built-in ones under the pointer.
    const auto hoverIcon = [hoverFollowsNormal](const char *name, QString Owner::*hover, QString Owner::*normal,
                                                const char *effect) {
        return imageKey(Key::custom({name, OrvQKeyType::Text, {}, INT_MIN, INT_MAX, effect},
                                    [hoverFollowsNormal, hover, normal](Owner &impl, const QVariant &icon) {
                                        if (!hoverFollowsNormal || !icon.toString().isEmpty())
                                            impl.*hover = icon.toString();
                                        else
                                            impl.*hover = impl.*normal;
                                    },
                                    hoverFollowsNormal));
    };
    keys.insert(keys.end(), {
        Key::custom({"text", OrvQKeyType::GbkText, QString(), INT_MIN, INT_MAX, "caption"},
                    [](Owner &impl, const QVariant &text) {
                        if (QAbstractButton *b = impl.button())
                            b->setText(text.toString());
                    }),
        Key::numberIn("iconX", &Owner::m_iconAlign, &OrvQImageAlign::x, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX,
                      "icon x offset"),
        Key::numberIn("iconY", &Owner::m_iconAlign, &OrvQImageAlign::y, 0, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX,
                      "icon y offset"),
        Key::flag("showIcon", &Owner::m_showIcon, std::nullopt, "draw the icon"),
        Key::flag("showText", &Owner::m_showText, std::nullopt, "draw the caption"),
        Key::image("iconPath", &Owner::m_uncheckedIcon, std::nullopt, "icon while unchecked"),
        hoverIcon("hotIconPath", &Owner::m_uncheckedHotIcon, &Owner::m_uncheckedIcon,
                  "icon while unchecked and hovered"),
        Key::image("siconPath", &Owner::m_checkedIcon, std::nullopt, "icon while checked"),
        hoverIcon("sHotIconPath", &Owner::m_checkedHotIcon, &Owner::m_checkedIcon, "icon while checked and hovered"),
    });
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

const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> &OrvQCheckBoxImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTwoStateButtonImpl>;
    static const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> table = [] {
        auto table = checkStateSlots<Slot>(&OrvQCheckBoxImpl::m_uncheckedRects, &OrvQCheckBoxImpl::m_checkedRects);
        table.push_back(Slot::fontSlot(8, &OrvQCheckBoxImpl::m_uncheckedFont, "text while unchecked"));
        table.push_back(Slot::fontSlot(9, &OrvQCheckBoxImpl::m_checkedFont, "text while checked"));
        return table;
    }();
    return table;
}

const OrvQKeyTable<OrvQCheckBoxImpl> &OrvQCheckBoxImpl::attrKeys()
{
    using Key = OrvQKey<OrvQCheckBoxImpl>;
    static const OrvQKeyTable<OrvQCheckBoxImpl> keys = [] {
        OrvQKeyTable<OrvQCheckBoxImpl> table;
        appendCommonKeys(table, true);
        table.insert(table.end(), {
            Key::numberIn("iconHor", &OrvQCheckBoxImpl::m_iconAlign, &OrvQImageAlign::hor, std::nullopt, INT_MIN,
                          INT_MAX, "icon: 0 left, 1 centre, 2 right"),
            Key::numberIn("iconVer", &OrvQCheckBoxImpl::m_iconAlign, &OrvQImageAlign::ver, std::nullopt, INT_MIN,
                          INT_MAX, "icon: 0 top, 1 centre, 2 bottom"),
        });
        return table;
    }();
    return keys;
}

bool OrvQCheckBoxImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots<OrvQTwoStateButtonImpl>(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
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

const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> &OrvQRadioButtonImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTwoStateButtonImpl>;
    static const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> table = [] {
        auto table = checkStateSlots<Slot>(&OrvQRadioButtonImpl::m_uncheckedRects,
                                           &OrvQRadioButtonImpl::m_checkedRects);
        table.push_back(Slot::fontSlot(8, &OrvQRadioButtonImpl::m_uncheckedFont, "text"));
        table.push_back(Slot::fontSlot(8, &OrvQRadioButtonImpl::m_checkedFont, "text"));
        table.push_back(Slot::fontSlot(9, &OrvQRadioButtonImpl::m_checkedFont, "text while checked"));
        return table;
    }();
    return table;
}

const OrvQKeyTable<OrvQRadioButtonImpl> &OrvQRadioButtonImpl::attrKeys()
{
    using Key = OrvQKey<OrvQRadioButtonImpl>;
    static const OrvQKeyTable<OrvQRadioButtonImpl> keys = [] {
        OrvQKeyTable<OrvQRadioButtonImpl> table;
        appendCommonKeys(table, false);
        // -1 stands for "keep the default" in radio descriptions.
        table.insert(table.end(), {
            Key::custom({"iconHor", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "icon: 0 left, 1 centre, 2 right; -1 keeps"},
                        [](OrvQRadioButtonImpl &impl, const QVariant &hor) {
                            if (hor.toInt() != -1)
                                impl.m_iconAlign.hor = hor.toInt();
                        }),
            Key::custom({"iconVer", OrvQKeyType::Int, {}, INT_MIN, INT_MAX, "icon: 0 top, 1 centre, 2 bottom; -1 keeps"},
                        [](OrvQRadioButtonImpl &impl, const QVariant &ver) {
                            if (ver.toInt() != -1)
                                impl.m_iconAlign.ver = ver.toInt();
                        }),
            Key::flag("pushlike", &OrvQRadioButtonImpl::m_pushLike, std::nullopt, "text over the icon, like a button"),
        });
        return table;
    }();
    return keys;
}

bool OrvQRadioButtonImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots<OrvQTwoStateButtonImpl>(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
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
    : OrvQControl(parent)
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

void OrvQCheckBox::setUncheckedStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setUncheckedStyle(oneStateIndex(state), style);
}

void OrvQCheckBox::setCheckedStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setCheckedStyle(oneStateIndex(state), style);
}

QString OrvQCheckBox::uncheckedIcon() const
{
    return m_impl->uncheckedIcon();
}

void OrvQCheckBox::setUncheckedIcon(const QString &name)
{
    if (name == uncheckedIcon())
        return;
    m_impl->setUncheckedIcon(name);
    update();
    emit uncheckedIconChanged(name);
}

QString OrvQCheckBox::checkedIcon() const
{
    return m_impl->checkedIcon();
}

void OrvQCheckBox::setCheckedIcon(const QString &name)
{
    if (name == checkedIcon())
        return;
    m_impl->setCheckedIcon(name);
    update();
    emit checkedIconChanged(name);
}

bool OrvQCheckBox::showText() const
{
    return m_impl->showText();
}

void OrvQCheckBox::setShowText(bool show)
{
    if (show == showText())
        return;
    m_impl->setShowText(show);
    update();
    emit showTextChanged(show);
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
    : OrvQControl(parent)
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

void OrvQRadioButton::mouseReleaseEvent(QMouseEvent *event)
{
    // A toggled handler may delete this button.
    if (survives(this, [this] { setChecked(!isChecked()); }) && m_impl)
        m_impl->mouseRelease(event);
}

} // namespace OrvQtLib
