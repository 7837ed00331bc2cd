#include "textfield.h"

#include <QPainter>

namespace OrvQtLib {

OrvQTextFieldImpl::OrvQTextFieldImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQTextFieldImpl::~OrvQTextFieldImpl() = default;

const OrvQStyleSlotTable<OrvQTextFieldImpl> &OrvQTextFieldImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTextFieldImpl>;
    using Impl = OrvQTextFieldImpl;
    static const OrvQStyleSlotTable<OrvQTextFieldImpl> table{
        Slot::rectStates(0, &Impl::m_backgrounds, -1, "background"),
        Slot::rectStates(1, &Impl::m_backgrounds, StateHover, "background"),
        Slot::rectStates(2, &Impl::m_backgrounds, StatePressed, "background"),
        Slot::rectStates(3, &Impl::m_backgrounds, StateDisabled, "background"),
        Slot::fontStates(4, &Impl::m_textFonts, -1, "text"),
        Slot::fontSlot(4, &Impl::m_tipFont, "tip text"),
        Slot::fontStates(5, &Impl::m_textFonts, StateHover, "text"),
        Slot::fontStates(6, &Impl::m_textFonts, StatePressed, "text"),
        Slot::fontStates(7, &Impl::m_textFonts, StateDisabled, "text"),
        Slot::fontSlot(8, &Impl::m_tipFont, "tip text"),
    };
    return table;
}

void OrvQTextFieldImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgrounds[m_state], rect);
    if (!m_tipText.isEmpty() && isEmptyText())
        drawStyledText(painter, m_tipText, m_tipFont, rect);
}

void OrvQTextFieldImpl::mouseEnter(QEvent *event)
{
    if (m_state != StatePressed)
        OrvQControlBaseImpl::mouseEnter(event);
}

void OrvQTextFieldImpl::mouseLeave(QEvent *event)
{
    if (m_state != StatePressed)
        OrvQControlBaseImpl::mouseLeave(event);
}

void OrvQTextFieldImpl::focusIn()
{
    changeState(StatePressed);
}

void OrvQTextFieldImpl::focusOut()
{
    changeState(StateNormal);
}

void OrvQTextFieldImpl::applyTextFont()
{
    if (!m_widget)
        return;
    const OrvQFontStyle &style = m_textFonts[m_state];
    // Setting either sends change events and a repaint, so only a change
    // is set: painting applies the font on every pass.
    if (m_applied && m_appliedColor == style.color && m_appliedSize == style.size
        && m_appliedFamily == style.family)
        return;
    m_applied = true;
    m_appliedColor = style.color;
    m_appliedSize = style.size;
    m_appliedFamily = style.family;

    // A colour no style has set keeps the widget's own. The field never
    // paints a panel of its own behind the skin.
    QPalette palette = m_widget->palette();
    if (style.color.isValid())
        palette.setBrush(QPalette::All, QPalette::Text, QBrush(style.color));
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(Qt::transparent));
    m_widget->setPalette(palette);

    QFont font;
    // QFont complains about sizes below 1; such a style keeps the default size.
    if (style.size > 0)
        font.setPixelSize(style.size);
    font.setFamily(style.family);
    m_widget->setFont(font);
}

} // namespace OrvQtLib
