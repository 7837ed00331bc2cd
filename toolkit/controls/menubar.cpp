#include "menubar.h"

#include "describeditems.h"

#include <QActionEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

namespace OrvQtLib {

namespace {

// Adds described menus, actions and separators to a bar or a menu.
template <class Holder>
void addDescribedActions(Holder *holder, const std::vector<OrvQDescribedItem> &items)
{
    for (const OrvQDescribedItem &item : items) {
        if (item.branch) {
            QMenu *menu = holder->addMenu(item.text);
            menu->setObjectName(item.name);
            menu->menuAction()->setObjectName(item.name);
            addDescribedActions(menu, item.children);
        } else if (item.separator) {
            holder->addSeparator();
        } else {
            QAction *action = holder->addAction(item.text);
            action->setObjectName(item.name);
            if (!item.shortcut.isEmpty())
                action->setShortcut(QKeySequence(item.shortcut));
            action->setCheckable(item.checkable);
            action->setChecked(item.checkable && item.checked);
        }
    }
}

OrvQFontStyle aligned(OrvQFontStyle style, int hor)
{
    style.hor = hor;
    style.isHor = true;
    return style;
}

} // namespace

OrvQMenuBarImpl::OrvQMenuBarImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
    // Empty until a popup slot is given: menus then keep Qt's look.
    for (OrvQRectStyle *style : {&m_popupBackground, &m_popupHover, &m_popupSeparator})
        style->nonEmpty = false;
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
        Slot::rectSlot(6, &Impl::m_popupBackground,
                       "popup menu background; menus keep Qt's look until a slot of 6 to 10 is given"),
        Slot::rectSlot(7, &Impl::m_popupHover, "popup menu item under the pointer or keyboard"),
        Slot::fontSlot(8, &Impl::m_popupFont, "popup menu item text"),
        Slot::fontSlot(9, &Impl::m_popupDisabledFont, "popup menu text of a disabled item"),
        Slot::rectSlot(10, &Impl::m_popupSeparator, "popup menu separator"),
    };
    return table;
}

const OrvQKeyTable<OrvQMenuBarImpl> &OrvQMenuBarImpl::attrKeys()
{
    static const OrvQKeyTable<OrvQMenuBarImpl> keys{
        OrvQKey<OrvQMenuBarImpl>::custom(
            {"menus", OrvQKeyType::Items, {}, INT_MIN, INT_MAX,
             "the menus: {\"title\", \"items\"}; an item is {\"text\", \"name\" (the action's object name), "
             "\"shortcut\", \"checkable\", \"checked\"}, \"-\" a separator, or a nested menu"},
            [](OrvQMenuBarImpl &impl, const QVariant &menus) {
                if (QMenuBar *menuBar = impl.bar())
                    addDescribedActions(menuBar, menus.value<OrvQDescribedItems>().items);
            }),
    };
    return keys;
}

bool OrvQMenuBarImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    return true;
}

bool OrvQMenuBarImpl::popupSkinned() const
{
    return m_popupBackground.nonEmpty || m_popupHover.nonEmpty || m_popupSeparator.nonEmpty
           || m_popupFont.color.isValid() || m_popupDisabledFont.color.isValid();
}

const OrvQFontStyle &OrvQMenuBarImpl::popupFont() const
{
    // Without a popup font the menus write as the bar's items do.
    return m_popupFont.color.isValid() ? m_popupFont : m_itemFonts[LookNormal];
}

void OrvQMenuBarImpl::skinMenu(QMenu *menu)
{
    if (!menu)
        return;
    menu->removeEventFilter(this);
    menu->installEventFilter(this);
    // Qt sizes the items from the menu's font.
    if (popupSkinned())
        menu->setFont(fontOf(popupFont()));
    for (QAction *action : menu->actions())
        skinMenu(action->menu());
}

bool OrvQMenuBarImpl::eventFilter(QObject *watched, QEvent *event)
{
    auto *menu = qobject_cast<QMenu *>(watched);
    if (!menu)
        return false;
    if (event->type() == QEvent::ActionAdded) {
        skinMenu(static_cast<QActionEvent *>(event)->action()->menu());
    } else if (event->type() == QEvent::Paint && popupSkinned()) {
        paintMenu(menu);
        return true;
    }
    return false;
}

void OrvQMenuBarImpl::paintMenu(QMenu *menu) const
{
    QPainter painter(menu);
    drawBackground(&painter, m_popupBackground, menu->rect());
    const OrvQFontStyle &enabled = popupFont();
    const OrvQFontStyle &disabled = m_popupDisabledFont.color.isValid() ? m_popupDisabledFont : enabled;
    for (QAction *action : menu->actions()) {
        const QRect item = menu->actionGeometry(action);
        if (item.isEmpty() || !action->isVisible())
            continue;
        if (action->isSeparator()) {
            drawBackground(&painter, m_popupSeparator, item);
            continue;
        }
        if (action->isEnabled() && action == menu->activeAction())
            drawBackground(&painter, m_popupHover, item);
        const OrvQFontStyle &font = action->isEnabled() ? enabled : disabled;
        // A square at each end: the check mark before the text, the submenu
        // arrow after it; the shortcut sits right of the text.
        const int mark = item.height();
        const QRect text = item.adjusted(mark, 0, -mark, 0);
        if (action->isChecked())
            drawStyledText(&painter, QStringLiteral("\u2713"), aligned(font, 1),
                           QRect(item.topLeft(), QSize(mark, mark)));
        drawStyledText(&painter, withoutMnemonics(action->text()), aligned(font, 0), text);
        if (!action->shortcut().isEmpty())
            drawStyledText(&painter, action->shortcut().toString(QKeySequence::NativeText), aligned(font, 2), text);
        if (action->menu())
            drawStyledText(&painter, QStringLiteral("\u25B8"), aligned(font, 1),
                           QRect(item.right() - mark + 1, item.top(), mark, item.height()));
    }
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
    if (m_impl && event->type() == QEvent::ActionAdded)
        m_impl->skinMenu(event->action()->menu());
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
