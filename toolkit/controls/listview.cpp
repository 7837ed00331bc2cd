#include "listview.h"

#include "label.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace OrvQtLib {

// ---- OrvQListViewImpl --------------------------------------------------------

OrvQListViewImpl::OrvQListViewImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQListViewImpl::~OrvQListViewImpl() = default;

const OrvQStyleSlotTable<OrvQListViewImpl> &OrvQListViewImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQListViewImpl>;
    using Impl = OrvQListViewImpl;
    static const OrvQStyleSlotTable<OrvQListViewImpl> table{
        Slot::rectSlot(0, &Impl::m_backgroundStyle, "background"),
        Slot::rectStates(2, &Impl::m_itemStyles, -1, "row: normal, hover and selected"),
        Slot::rectStates(3, &Impl::m_itemStyles, StateHover, "row under the mouse"),
        Slot::rectStates(4, &Impl::m_itemStyles, StatePressed, "selected row"),
    };
    return table;
}

const OrvQKeyTable<OrvQListViewImpl> &OrvQListViewImpl::attrKeys()
{
    using Key = OrvQKey<OrvQListViewImpl>;
    using Impl = OrvQListViewImpl;
    static const OrvQKeyTable<OrvQListViewImpl> keys{
        Key::number("itemHeight", &Impl::m_itemHeight, DefaultRowHeight, 0, MaxRowExtent, "row height; 0 is 20"),
        Key::number("itemWidth", &Impl::m_itemWidth, DefaultRowHeight, 0, MaxRowExtent,
                    "item width in icon mode; 0 is 20"),
        Key::custom({"spacing", OrvQKeyType::Int, 1, 0, MaxRowExtent, "gap around items"},
                    [](Impl &impl, const QVariant &spacing) {
                        if (auto *view = qobject_cast<QListView *>(impl.m_widget))
                            view->setSpacing(spacing.toInt());
                    }),
        Key::custom({"itemMode", OrvQKeyType::Int, 0, INT_MIN, INT_MAX, "non-zero: icon mode; 0: list mode"},
                    [](Impl &impl, const QVariant &mode) {
                        if (auto *view = qobject_cast<QListView *>(impl.m_widget))
                            view->setViewMode(mode.toInt() != 0 ? QListView::IconMode : QListView::ListMode);
                    }),
    };
    return keys;
}

bool OrvQListViewImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    if (auto *view = qobject_cast<OrvQListView *>(m_widget)) {
        view->scrollAreaSkin().applyScrollBarElements(element);
        view->updateOpaqueness();
    }
    return true;
}

void OrvQListViewImpl::restyled()
{
    if (auto *view = qobject_cast<OrvQListView *>(m_widget))
        view->updateOpaqueness();
}

void OrvQListViewImpl::loadFinished()
{
    if (!m_widget)
        return;
    // The first container child is the row template; it is never shown.
    for (QObject *child : m_widget->children()) {
        if (auto *container = qobject_cast<OrvQContainer *>(child)) {
            container->setVisible(false);
            m_renderer.setTemplate(container);
            break;
        }
    }
    m_widget->update();
}

bool OrvQListViewImpl::backgroundIsOpaque() const
{
    return coversOpaquely(m_backgroundStyle);
}

void OrvQListViewImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
}

// ---- OrvQListViewItemDelegate ------------------------------------------------

OrvQListViewItemDelegate::OrvQListViewItemDelegate(OrvQListView *view, OrvQListViewImpl *impl,
                                                   const OrvQHoverRowTracker *hover)
    : OrvQRowStyleDelegate({&impl->itemStyles(), nullptr, impl->itemHeightField(), SelectionFirst}, hover, view)
    , m_view(view)
    , m_impl(impl)
{
}

bool OrvQListViewItemDelegate::prepareRow(const QModelIndex &index, const QSize &size) const
{
    OrvQTemplateRenderer &renderer = m_impl->renderer();
    if (renderer.isEmpty())
        return false;
    bool filled = false;
    if (m_impl->itemFillHook) {
        ++m_fills;
        m_impl->itemFillHook(m_view, renderer.templateWidget(), index);
        filled = true;
    }
    // The hook may have deleted the template.
    if (renderer.isEmpty())
        return false;
    renderer.layOut(size, filled);
    m_preparedRow = index;
    m_preparedSize = size;
    return true;
}

void OrvQListViewItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    // A fill hook that repaints or processes events must not paint a row
    // inside another.
    if (!index.isValid() || m_painting)
        return;
    const QScopedValueRollback<bool> painting(m_painting, true);
    OrvQContainer *container = m_impl->renderer().templateWidget();
    if (!container)
        return;
    container->setNormalStyle(m_impl->itemStyles()[rowState(option, index)]);
    if (!prepareRow(index, option.rect.size()))
        return;
    const QPoint cursor = m_view->viewport()->mapFromGlobal(QCursor::pos());
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    m_impl->renderer().paint(painter, option.rect.topLeft(), cursor - option.rect.topLeft());
    painter->restore();
    if (option.rect.contains(cursor)) {
        m_pointerRow = index;
        m_pointerRowSize = option.rect.size();
        m_pointerRowHits = m_impl->renderer().hits();
    }
}

QSize OrvQListViewItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (m_impl->itemSizeHook && !m_impl->renderer().isEmpty())
        return m_impl->itemSizeHook(m_view, option, index);
    if (m_view->viewMode() == QListView::IconMode)
        return QSize(m_impl->itemWidth(), m_impl->itemHeight());
    return QSize(option.rect.width(), m_impl->itemHeight());
}

QWidget *OrvQListViewItemDelegate::controlAt(const QPoint &pos, QModelIndex *row) const
{
    const QModelIndex index = m_view->indexAt(pos);
    const QRect rect = m_view->visualRect(index);
    if (row)
        *row = index;
    if (!index.isValid() || !rect.contains(pos))
        return nullptr;
    // Moves within one row find the template as the last search left it.
    if ((index != m_preparedRow || rect.size() != m_preparedSize) && !prepareRow(index, rect.size()))
        return nullptr;
    return m_impl->renderer().controlAt(pos - rect.topLeft());
}

void OrvQListViewItemDelegate::pointerMoved(const QPoint &pos)
{
    const QModelIndex index = m_view->indexAt(pos);
    const QRect rect = m_view->visualRect(index);
    // A row just entered is laid out now rather than at its hover repaint,
    // so that the first move already finds the control under the pointer.
    if (index.isValid() && (index != m_pointerRow || rect.size() != m_pointerRowSize)) {
        const bool laidOut = (index == m_preparedRow && rect.size() == m_preparedSize) || prepareRow(index, rect.size());
        m_pointerRowHits = laidOut ? m_impl->renderer().hits() : std::vector<OrvQTemplateRenderer::Hit>();
        m_pointerRow = index;
        m_pointerRowSize = rect.size();
    }
    QWidget *hit = index.isValid() ? OrvQTemplateRenderer::controlIn(m_pointerRowHits, pos - rect.topLeft())
                                   : nullptr;
    if (hit != m_hoveredControl) {
        m_hoveredControl = hit;
        m_view->viewport()->update(m_view->visualRect(index));
    }
    auto *label = qobject_cast<OrvQLabelEx *>(hit);
    if (label && label->textInteractionFlags() == Qt::TextSelectableByMouse) {
        m_view->viewport()->setCursor(Qt::IBeamCursor);
        m_beamCursor = true;
    } else if (m_beamCursor) {
        m_view->viewport()->unsetCursor();
        m_beamCursor = false;
    }
}

// ---- OrvQListView ------------------------------------------------------------

OrvQListView::OrvQListView(QWidget *parent)
    : OrvQScrollAreaControl(parent)
    , m_hover(new OrvQHoverRowTracker(this))
    , m_delegate(new OrvQListViewItemDelegate(this, m_impl.get(), m_hover))
{
    setItemDelegate(m_delegate);
    viewport()->setBackgroundRole(QPalette::NoRole);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSpacing(1);
    setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Without a size hook every row has the same size, so Qt need not ask
    // each of them.
    setUniformItemSizes(true);
    updateOpaqueness();
}

OrvQListView::~OrvQListView() = default;

void OrvQListView::updateOpaqueness()
{
    // A background that covers the viewport lets Qt scroll by moving pixels
    // and paint only the rows that come into view; a see-through one needs
    // the whole viewport repainted over what lies behind it.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, m_impl->backgroundIsOpaque());
}

void OrvQListView::setItemFillHook(OrvQListViewImpl::ItemFillHook hook)
{
    m_impl->itemFillHook = std::move(hook);
    viewport()->update();
}

void OrvQListView::setItemSizeHook(OrvQListViewImpl::ItemSizeHook hook)
{
    m_impl->itemSizeHook = std::move(hook);
    setUniformItemSizes(!m_impl->itemSizeHook);
    doItemsLayout();
}

void OrvQListView::mousePressEvent(QMouseEvent *event)
{
    viewport()->update();
    // Emitted before Qt handles the press, so a slot that deletes the view
    // or the row leaves nothing running on freed objects.
    QModelIndex row;
    if (QWidget *hit = m_delegate->controlAt(event->pos(), &row)) {
        if (!survives(this, [&] { emit pressCtrl(hit, row); }))
            return;
    }
    QListView::mousePressEvent(event);
}

bool OrvQListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        m_delegate->pointerMoved(static_cast<QMouseEvent *>(event)->pos());
    return QListView::viewportEvent(event);
}

bool OrvQListView::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

} // namespace OrvQtLib
