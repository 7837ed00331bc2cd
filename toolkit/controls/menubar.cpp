#include "menubar.h"

#include <QActionEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

namespace OrvQtLib {

OrvQMenuBarImpl::OrvQMenuBarImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQMenuBarImpl::~OrvQMenuBarImpl() = default;

const OrvQStyleSlotTable<OrvQMenuBarImpl> &OrvQMenuBarImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQMenuBarImpl>;
    using Impl = OrvQMenuBarImpl;
    static const OrvQStyleSlotTable<OrvQMenuBarImpl> table{
        Slot::rectStates(0, &Impl::m_itemRects, -1, "item background, every look"),
        Slot::rectStates(1, &Impl::m_itemRects, StateHover, "item background, hovered or keyboard-active"),
        Slot::rectStates(2, &Impl::m_itemRects, StatePressed, "item background, pressed"),
        Slot::fontStates(3, &Impl::m_itemFonts, -1, "item text, every look"),
        Slot::fontStates(4, &Impl::m_itemFonts, StateHover, "item text, hovered or keyboard-active"),
        Slot::fontStates(5, &Impl::m_itemFonts, StatePressed, "item text, pressed"),
    };
    return table;
}

bool OrvQMenuBarImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    return true;
}

QMenuBar *OrvQMenuBarImpl::bar() const
{
    return qobject_cast<QMenuBar *>(m_widget);
}

int OrvQMenuBarImpl::actionAt(const QPoint &pos) const
{
    QMenuBar *menuBar = bar();
    if (!menuBar)
        return -1;
    const QList<QAction *> actions = menuBar->actions();
    return firstItemAt(actions.size(), [&](int i) { return menuBar->actionGeometry(actions.at(i)); }, pos);
}

OrvQMenuBarImpl::Look OrvQMenuBarImpl::lookOf(int index) const
{
    if (index == m_pressed)
        return LookPressed;
    if (index == m_hover.index())
        return LookHover;
    // The item that Alt or the arrow keys made active.
    QMenuBar *menuBar = bar();
    if (menuBar && menuBar->activeAction() && menuBar->actions().value(index) == menuBar->activeAction())
        return LookHover;
    return LookNormal;
}

void OrvQMenuBarImpl::draw(QPainter *painter, const QRect &)
{
    QMenuBar *menuBar = bar();
    if (!menuBar)
        return;
    const QList<QAction *> actions = menuBar->actions();
    for (int i = 0; i < actions.size(); ++i) {
        const QRect item = menuBar->actionGeometry(actions.at(i));
        if (item.isEmpty())
            continue;
        const Look look = lookOf(i);
        drawBackground(painter, m_itemRects[look], item);
        drawStyledText(painter, withoutMnemonics(actions.at(i)->text()), m_itemFonts[look], item);
    }
}

void OrvQMenuBarImpl::mousePress(QMouseEvent *event)
{
    const int hit = actionAt(event->pos());
    if (hit >= 0)
        m_pressed = hit;
}

void OrvQMenuBarImpl::mouseRelease(QMouseEvent *)
{
    if (m_pressed == -1)
        return;
    m_pressed = -1;
    if (m_widget)
        m_widget->update();
}

void OrvQMenuBarImpl::mouseMove(QMouseEvent *event)
{
    m_hover.pointerAt(actionAt(event->pos()), m_widget);
}

void OrvQMenuBarImpl::mouseLeave(QEvent *)
{
    m_hover.pointerLeft(m_widget);
}

void OrvQMenuBarImpl::actionsChanged()
{
    m_hover.reset();
    m_pressed = -1;
}

QString withoutMnemonics(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        // A marker hides itself and shows the character after it, so "&&"
        // leaves one "&".
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown.append(text.at(i));
    }
    return shown;
}

OrvQMenuBar::OrvQMenuBar(QWidget *parent)
    : OrvQControl(parent)
{
    setAttribute(Qt::WA_MouseTracking);
}

OrvQMenuBar::~OrvQMenuBar() = default;

void OrvQMenuBar::setItemRectStyle(int look, const OrvQRectStyle &style)
{
    m_impl->setItemRectStyle(look, style);
    update();
}

void OrvQMenuBar::setItemFontStyle(int look, const OrvQFontStyle &style)
{
    m_impl->setItemFontStyle(look, style);
    update();
}

void OrvQMenuBar::setItemRectStyle(OrvQControlState state, const OrvQRectStyle &style)
{
    setItemRectStyle(oneStateIndex(state), style);
}

void OrvQMenuBar::setItemFontStyle(OrvQControlState state, const OrvQFontStyle &style)
{
    setItemFontStyle(oneStateIndex(state), style);
}

bool OrvQMenuBar::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

void OrvQMenuBar::actionEvent(QActionEvent *event)
{
    QMenuBar::actionEvent(event);
    if (m_impl && (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved))
        m_impl->actionsChanged();
}

void OrvQMenuBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftDown = true;
    OrvQControl::mousePressEvent(event);
}

void OrvQMenuBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        m_leftDown = false;
    OrvQControl::mouseMoveEvent(event);
}

void OrvQMenuBar::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasDown = std::exchange(m_leftDown, false);
    const int hit = m_impl ? m_impl->actionAt(event->pos()) : -1;
    QPointer<QAction> action = hit >= 0 ? actions().at(hit) : nullptr;
    if (!wasDown || event->button() != Qt::LeftButton || !action || action->menu()) {
        OrvQControl::mouseReleaseEvent(event);
        return;
    }
    // QMenuBar triggers a plain action from inside its release handler and
    // then writes to its own data, freed if a slot deleted the bar. So Qt
    // sees this release off every item, and the action is triggered here,
    // after the handlers, touching nothing afterwards.
    QMouseEvent away = mouseEventAt(event, QPointF(-1, -1));
    if (!survives(this, [&] { OrvQControl::mouseReleaseEvent(&away); }))
        return;
    if (action && action->isEnabled())
        action->activate(QAction::Trigger);
}

} // namespace OrvQtLib
