#include "treeview.h"

#include "controlregistry.h"

#include <QPainter>
#include <QPainterPath>
#include <QStandardItemModel>

#include <cstdlib>

namespace OrvQtLib {

OrvQTreeViewImpl::OrvQTreeViewImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQTreeViewImpl::~OrvQTreeViewImpl() = default;

const OrvQStyleSlotTable<OrvQTreeViewImpl> &OrvQTreeViewImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTreeViewImpl>;
    using Impl = OrvQTreeViewImpl;
    using Row = OrvQRowStyleDelegate;
    static const OrvQStyleSlotTable<OrvQTreeViewImpl> table{
        Slot::rectSlot(0, &Impl::m_backgroundStyle, "background"),
        Slot::rectStates(2, &Impl::m_itemStyles, -1, "row"),
        Slot::rectStates(3, &Impl::m_itemStyles, Row::RowHover, "row under the mouse"),
        Slot::rectStates(4, &Impl::m_itemStyles, Row::RowSelected, "selected row"),
        Slot::rectStates(5, &Impl::m_itemStyles, 3, "unused row state"),
        Slot::fontStates(6, &Impl::m_itemFonts, -1, "row text"),
        Slot::fontStates(7, &Impl::m_itemFonts, Row::RowHover, "text of the row under the mouse"),
    };
    return table;
}

const OrvQKeyTable<OrvQTreeViewImpl> &OrvQTreeViewImpl::attrKeys()
{
    using Key = OrvQKey<OrvQTreeViewImpl>;
    static const OrvQKeyTable<OrvQTreeViewImpl> keys{
        Key::number("itemHeight", &OrvQTreeViewImpl::m_itemHeight, 0, 0, MaxRowExtent, "row height; 0 means 20"),
        Key::custom({"rows", OrvQKeyType::Items, {}, INT_MIN, INT_MAX,
                     "static rows: texts or {\"text\", \"child\": [rows]} objects; a host's model replaces them"},
                    [](OrvQTreeViewImpl &impl, const QVariant &rows) {
                        declareRows(qobject_cast<QAbstractItemView *>(impl.m_widget),
                                    rows.value<OrvQDescribedItems>().items, false);
                    }),
    };
    return keys;
}

QStandardItemModel *OrvQTreeViewImpl::previewModel(QObject *parent)
{
    auto *model = new QStandardItemModel(parent);
    // Two columns, so that the second item of each child row shows.
    model->setColumnCount(2);
    for (int row = 0; row < PreviewRows; ++row) {
        auto *top = new QStandardItem(QStringLiteral("item1"));
        top->setCheckable(true);
        top->appendRow({new QStandardItem(QStringLiteral("item2")), new QStandardItem(QStringLiteral("item3"))});
        model->appendRow(top);
    }
    return model;
}

bool OrvQTreeViewImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    auto *tree = qobject_cast<OrvQTreeView *>(m_widget);
    // The bars first, so the row height never depends on them.
    if (tree)
        tree->scrollAreaSkin().applyScrollBarElements(element);
    applyAttrKeys(element, attrKeys(), *this);
    if (tree) {
        tree->updateOpaqueness();
        // Qt keeps the row height it measured.
        tree->doItemsLayout();
        tree->viewport()->update();
    }
    return true;
}

void OrvQTreeViewImpl::restyled()
{
    if (auto *tree = qobject_cast<OrvQTreeView *>(m_widget)) {
        tree->updateOpaqueness();
        // Qt keeps the row height it measured.
        tree->doItemsLayout();
    }
}

void OrvQTreeViewImpl::loadFinished()
{
    if (auto *tree = qobject_cast<QTreeView *>(m_widget); tree && isPreviewMode() && !hasDeclaredRows(tree))
        tree->setModel(previewModel(tree));
}

void OrvQTreeViewImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
}

OrvQRowStyleDelegate::Look OrvQTreeViewImpl::look() const
{
    OrvQRowStyleDelegate::Look look;
    look.rects = &m_itemStyles;
    look.fonts = &m_itemFonts;
    look.rowHeight = &m_itemHeight;
    look.precedence = OrvQRowStyleDelegate::SelectionFirst;
    return look;
}

OrvQTreeView::OrvQTreeView(QWidget *parent)
    : OrvQScrollAreaControl(parent)
    , m_hover(new OrvQHoverRowTracker(this))
    , m_delegate(new OrvQRowStyleDelegate(m_impl->look(), m_hover, this))
{
    // Qt's own header, hidden: its last section stretches, so rows span
    // the view.
    setHeaderHidden(true);
    setCornerWidget(new OrvQConerWidget(&m_impl->backgroundStyle(), this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(m_delegate);
    setExpandsOnDoubleClick(true);
    setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every row has the delegate's one height, so Qt need not ask each row.
    setUniformRowHeights(true);
    updateOpaqueness();
}

OrvQTreeView::~OrvQTreeView() = default;

void OrvQTreeView::updateOpaqueness()
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent,
                             OrvQControlBaseImpl::coversOpaquely(m_impl->backgroundStyle()));
}

bool OrvQTreeView::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

namespace {

// The colour a style mostly shows, or an invalid one for an image or no fill.
QColor plainColorOf(const OrvQRectStyle &style)
{
    if (!style.nonEmpty || !style.colorMode)
        return QColor();
    if (!style.gradient)
        return style.color;
    return QColor((style.color.red() + style.color2.red()) / 2, (style.color.green() + style.color2.green()) / 2,
                  (style.color.blue() + style.color2.blue()) / 2);
}

} // namespace

void OrvQTreeView::drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    if (selectionModel() && selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    const OrvQRowStyleDelegate::RowState state = m_delegate->rowState(option, index);
    const OrvQRectStyle &rowStyle = m_impl->itemStyles()[state];
    OrvQControlBaseImpl::drawBackground(painter, rowStyle, rect);
    if (!model() || !model()->hasChildren(index) || rect.width() <= 0)
        return;

    // The row's text colour, unless it is too close to what lies behind.
    QColor backdrop = plainColorOf(rowStyle);
    if (!backdrop.isValid())
        backdrop = plainColorOf(m_impl->backgroundStyle());
    if (!backdrop.isValid())
        backdrop = viewport()->palette().color(QPalette::Base);
    QColor color = m_impl->itemFonts()[state].color;
    const auto lightness = [](const QColor &c) { return qGray(c.rgb()); };
    if (!color.isValid() || std::abs(lightness(color) - lightness(backdrop)) < 64)
        color = lightness(backdrop) < 128 ? QColor(Qt::white) : QColor(Qt::black);

    const int step = qMin(indentation(), rect.width());
    const QRectF cell(rect.right() + 1 - step, rect.top(), step, rect.height());
    const qreal half = qMax<qreal>(2, qMin(cell.width(), cell.height()) / 5);
    const QPointF c = cell.center();
    QPainterPath arrow;
    if (isExpanded(index)) {
        arrow.moveTo(c.x() - half, c.y() - half / 2);
        arrow.lineTo(c.x() + half, c.y() - half / 2);
        arrow.lineTo(c.x(), c.y() + half);
    } else {
        arrow.moveTo(c.x() - half / 2, c.y() - half);
        arrow.lineTo(c.x() - half / 2, c.y() + half);
        arrow.lineTo(c.x() + half, c.y());
    }
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(arrow, color);
    painter->restore();
}

} // namespace OrvQtLib
