#include "datagrid.h"

#include "controlregistry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>

namespace OrvQtLib {

// ---- OrvQTableViewImpl -------------------------------------------------------

OrvQTableViewImpl::OrvQTableViewImpl(QWidget *widget)
    : OrvQControlBaseImpl(widget)
{
}

OrvQTableViewImpl::~OrvQTableViewImpl() = default;

const OrvQStyleSlotTable<OrvQTableViewImpl> &OrvQTableViewImpl::styleSlots()
{
    using Slot = OrvQStyleSlot<OrvQTableViewImpl>;
    using Impl = OrvQTableViewImpl;
    using Row = OrvQRowStyleDelegate;
    static const OrvQStyleSlotTable<OrvQTableViewImpl> table{
        Slot::rectSlot(0, &Impl::m_backgroundStyle, "background"),
        Slot::rectStates(2, &Impl::m_itemStyles, -1, "cell"),
        Slot::rectStates(3, &Impl::m_itemStyles, Row::RowHover, "cell of the row under the mouse"),
        Slot::rectStates(4, &Impl::m_itemStyles, Row::RowSelected, "cell of a selected row"),
        Slot::rectStates(5, &Impl::m_itemStyles, 3, "unused cell state"),
        Slot::fontStates(6, &Impl::m_itemFonts, -1, "cell text"),
        Slot::fontStates(7, &Impl::m_itemFonts, Row::RowHover, "cell text of the row under the mouse"),
        Slot::fontStates(8, &Impl::m_itemFonts, Row::RowSelected, "cell text of a selected row"),
        Slot::fontStates(9, &Impl::m_itemFonts, 3, "unused cell text state"),
        Slot::rectStates(10, &Impl::m_headerStyles, -1, "header and its sections"),
        Slot::rectStates(11, &Impl::m_headerStyles, 1, "unused header state"),
        Slot::rectStates(12, &Impl::m_headerStyles, 2, "unused header state"),
        Slot::rectStates(13, &Impl::m_headerStyles, 3, "unused header state"),
        Slot::fontStates(14, &Impl::m_headerFonts, -1, "section titles"),
        Slot::fontStates(15, &Impl::m_headerFonts, 1, "unused title state"),
        Slot::fontStates(16, &Impl::m_headerFonts, 2, "unused title state"),
        Slot::fontStates(17, &Impl::m_headerFonts, 3, "unused title state"),
    };
    return table;
}

const OrvQKeyTable<OrvQTableViewImpl> &OrvQTableViewImpl::attrKeys()
{
    using Key = OrvQKey<OrvQTableViewImpl>;
    using Impl = OrvQTableViewImpl;
    const auto image = [](const char *name, bool checked, const char *effect) {
        return imageKey(Key::custom({name, OrvQKeyType::Text, {}, INT_MIN, INT_MAX, effect},
                                    [checked](Impl &impl, const QVariant &value) {
                                        impl.m_checkColumn.setImage(checked, value.toString());
                                    }));
    };
    static const OrvQKeyTable<OrvQTableViewImpl> keys{
        Key::custom({"multiselect", OrvQKeyType::Bool, false, INT_MIN, INT_MAX,
                     "true: extended selection; false: one row at a time"},
                    [](Impl &impl, const QVariant &multi) {
                        if (QTableView *grid = impl.grid())
                            grid->setSelectionMode(multi.toBool() ? QAbstractItemView::ExtendedSelection
                                                                  : QAbstractItemView::SingleSelection);
                    }),
        Key::custom({"itemHeight", OrvQKeyType::Int, {}, 0, MaxRowExtent, "header height"},
                    [](Impl &impl, const QVariant &height) {
                        if (QTableView *grid = impl.grid())
                            grid->horizontalHeader()->setFixedHeight(height.toInt());
                    }),
        Key::custom({"checkstyle", OrvQKeyType::Bool, false, INT_MIN, INT_MAX,
                     "check boxes in front of the first column and in its header"},
                    [](Impl &impl, const QVariant &on) { impl.m_checkColumn.enabled = on.toBool(); }),
        image("checkedImg", true, "check box image while checked"),
        image("uncheckImg", false, "check box image while unchecked"),
    };
    return keys;
}

OrvQTableView *OrvQTableViewImpl::grid() const
{
    return qobject_cast<OrvQTableView *>(m_widget);
}

QStandardItemModel *OrvQTableViewImpl::previewModel(QObject *parent)
{
    auto *model = new QStandardItemModel(PreviewRows, PreviewColumns, parent);
    for (int column = 0; column < PreviewColumns; ++column)
        model->setHorizontalHeaderItem(column, new QStandardItem(QObject::tr("Col%1").arg(column + 1)));
    for (int row = 0; row < PreviewRows; ++row) {
        for (int column = 0; column < PreviewColumns; ++column)
            model->setItem(row, column, new QStandardItem(QStringLiteral("item %1 %2").arg(row).arg(column)));
    }
    return model;
}

bool OrvQTableViewImpl::load(const Json::Value &element)
{
    if (!loadAttributes(element))
        return false;
    applyStyleSlots(element, styleSlots(), *this);
    applyAttrKeys(element, attrKeys(), *this);
    if (OrvQTableView *view = grid()) {
        view->scrollAreaSkin().applyScrollBarElements(element);
        view->updateOpaqueness();
        view->horizontalHeader()->viewport()->update();
        view->viewport()->update();
    }
    return true;
}

void OrvQTableViewImpl::loadFinished()
{
    if (OrvQTableView *view = grid(); view && isPreviewMode())
        view->setModel(previewModel(view));
}

void OrvQTableViewImpl::draw(QPainter *painter, const QRect &rect)
{
    drawBackground(painter, m_backgroundStyle, rect);
}

OrvQRowStyleDelegate::Look OrvQTableViewImpl::look() const
{
    OrvQRowStyleDelegate::Look look;
    look.rects = &m_itemStyles;
    look.fonts = &m_itemFonts;
    look.precedence = OrvQRowStyleDelegate::SelectionFirst;
    look.checkColumn = &m_checkColumn;
    look.cellImages = true;
    return look;
}

// ---- OrvQTableViewitemDelegate -----------------------------------------------

OrvQTableViewitemDelegate::OrvQTableViewitemDelegate(const Look &look, const OrvQHoverRowTracker *hover,
                                                     QObject *parent)
    : OrvQRowStyleDelegate(look, hover, parent)
{
}

bool OrvQTableViewitemDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                            const QStyleOptionViewItem &option, const QModelIndex &index)
{
    // The grid toggles its check boxes itself; Qt's handling would toggle a
    // user-checkable cell again on release, and anywhere in its own box.
    if (hasCheckBox(index)) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return false;
        default:
            break;
        }
    }
    return OrvQRowStyleDelegate::editorEvent(event, model, option, index);
}

// ---- OrvQTableHeader ---------------------------------------------------------

OrvQTableHeader::OrvQTableHeader(Qt::Orientation orientation, OrvQTableViewImpl *impl, OrvQTableView *grid)
    : QHeaderView(orientation, grid)
    , m_impl(impl)
    , m_grid(grid)
{
}

QRect OrvQTableHeader::sectionRect(int logical) const
{
    if (orientation() == Qt::Horizontal)
        return QRect(sectionViewportPosition(logical), 0, sectionSize(logical), viewport()->height());
    return QRect(0, sectionViewportPosition(logical), viewport()->width(), sectionSize(logical));
}

QRect OrvQTableHeader::checkBoxRect() const
{
    if (!m_impl || !m_impl->checkColumn().enabled || orientation() != Qt::Horizontal || count() == 0
        || isSectionHidden(0) || sectionSize(0) <= 0)
        return {};
    const QRect section = sectionRect(0);
    return m_impl->checkColumn().boxIn(section).intersected(section);
}

void OrvQTableHeader::paintEvent(QPaintEvent *event)
{
    if (!m_impl)
        return;
    QPainter painter(viewport());
    // The header's own rectangle: its geometry lies in the grid's coordinates.
    OrvQControlBaseImpl::drawBackground(&painter, m_impl->headerStyle(), viewport()->rect());
    if (count() == 0)
        return;

    const bool horizontal = orientation() == Qt::Horizontal;
    const QRect area = event->rect();
    int first = visualIndexAt(horizontal ? area.left() : area.top());
    int last = visualIndexAt(horizontal ? area.right() : area.bottom());
    if (first < 0)
        first = 0;
    if (last < 0)
        last = count() - 1;
    const QAbstractItemModel *source = model();
    const QRect box = checkBoxRect();
    for (int visual = first; visual <= last; ++visual) {
        const int logical = logicalIndex(visual);
        if (logical < 0 || isSectionHidden(logical))
            continue;
        const QRect section = sectionRect(logical);
        QRect title = section;
        const bool withBox = logical == 0 && box.isValid();
        if (withBox)
            title.setLeft(title.left() + m_impl->checkColumn().textOffset());
        const QString text = source ? source->headerData(logical, orientation(), Qt::DisplayRole).toString()
                                    : QString();
        painter.save();
        OrvQControlBaseImpl::drawBackground(&painter, m_impl->headerStyle(), section);
        OrvQControlBaseImpl::drawStyledText(&painter, text, m_impl->headerFont(), title.x(), title.y(),
                                            title.width(), title.height(), true);
        if (withBox) {
            painter.setClipRect(section, Qt::IntersectClip);
            m_impl->checkColumn().draw(&painter, section, m_impl->headerChecked());
        }
        painter.restore();
    }
}

void OrvQTableHeader::mousePressEvent(QMouseEvent *event)
{
    if (m_impl && checkBoxRect().contains(event->pos())) {
        const bool checked = !m_impl->headerChecked();
        m_impl->setHeaderChecked(checked);
        viewport()->update(sectionRect(0));
        // A slot may delete the grid, and this header with it.
        OrvQTableView *grid = m_grid;
        if (grid && !survives(this, [&] { emit grid->headerCheckedChanged(checked); }))
            return;
    }
    QHeaderView::mousePressEvent(event);
}

// ---- OrvQTableView -----------------------------------------------------------

OrvQTableView::OrvQTableView(QWidget *parent)
    : OrvQScrollAreaControl(parent)
    , m_hover(new OrvQHoverRowTracker(this))
    , m_delegate(new OrvQTableViewitemDelegate(m_impl->look(), m_hover, this))
    , m_header(new OrvQTableHeader(Qt::Horizontal, m_impl.get(), this))
{
    setItemDelegate(m_delegate);
    // Clickable and highlighted sections, as Qt's own grid headers have.
    auto *vertical = new OrvQTableHeader(Qt::Vertical, m_impl.get(), this);
    for (QHeaderView *header : {static_cast<QHeaderView *>(m_header), static_cast<QHeaderView *>(vertical)}) {
        header->setSectionsClickable(true);
        header->setHighlightSections(true);
    }
    setHorizontalHeader(m_header);
    setVerticalHeader(vertical);
    vertical->hide();
    setShowGrid(false);
    setCornerWidget(new OrvQConerWidget(&m_impl->backgroundStyle(), this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    updateOpaqueness();
}

OrvQTableView::~OrvQTableView() = default;

void OrvQTableView::updateOpaqueness()
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent,
                             OrvQControlBaseImpl::coversOpaquely(m_impl->backgroundStyle()));
}

void OrvQTableView::setModel(QAbstractItemModel *model)
{
    // A new model may name images a newer skin has.
    if (m_delegate)
        m_delegate->forgetImageMisses();
    m_impl->checkColumn().images.forgetMisses();
    OrvQScrollAreaControl::setModel(model);
}

QModelIndex OrvQTableView::checkBoxAt(const QPoint &pos) const
{
    if (!m_impl->checkColumn().enabled || !model())
        return {};
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index.column() != 0)
        return {};
    const QRect cell = visualRect(index);
    return m_impl->checkColumn().boxIn(cell).intersected(cell).contains(pos) ? index : QModelIndex();
}

void OrvQTableView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex cell = checkBoxAt(event->pos());
    if (!cell.isValid()) {
        OrvQScrollAreaControl::mousePressEvent(event);
        return;
    }
    // The box takes the press whole. Written as a check state: a bool reads
    // back as partly checked. A slot of the model may delete the grid, so
    // nothing follows.
    if (event->button() == Qt::LeftButton)
        model()->setData(cell, cell.data(Qt::CheckStateRole).toBool() ? Qt::Unchecked : Qt::Checked,
                         Qt::CheckStateRole);
}

void OrvQTableView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!checkBoxAt(event->pos()).isValid())
        OrvQScrollAreaControl::mouseReleaseEvent(event);
}

void OrvQTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!checkBoxAt(event->pos()).isValid())
        OrvQScrollAreaControl::mouseDoubleClickEvent(event);
}

bool OrvQTableView::loadControlKeys(const Json::Value &element)
{
    return m_impl->load(element);
}

bool OrvQTableView::headerChecked() const
{
    return m_impl->headerChecked();
}

void OrvQTableView::setHeaderChecked(bool checked)
{
    if (checked == headerChecked())
        return;
    m_impl->setHeaderChecked(checked);
    if (m_header)
        m_header->viewport()->update();
    emit headerCheckedChanged(checked);
}

} // namespace OrvQtLib
