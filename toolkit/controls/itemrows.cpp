#include "itemrows.h"

#include "controlregistry.h"
#include "resourcemanager.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QStandardItemModel>

namespace OrvQtLib {

int rowExtentOr20(int extent)
{
    return extent > 0 ? extent : DefaultRowHeight;
}

// ---- hover row ---------------------------------------------------------------

OrvQHoverRowTracker::OrvQHoverRowTracker(QAbstractItemView *view)
    : QObject(view)
{
    view->viewport()->installEventFilter(this);
    view->viewport()->setMouseTracking(true);
}

QAbstractItemView *OrvQHoverRowTracker::view() const
{
    // Cast each time: once the view's own destructor has run, the cast finds
    // a plain widget and the tracker leaves it alone.
    return qobject_cast<QAbstractItemView *>(parent());
}

QModelIndex OrvQHoverRowTracker::hoverIndex() const
{
    const QAbstractItemView *v = view();
    return v && m_hover.isValid() && v->model() == m_model ? QModelIndex(m_hover) : QModelIndex();
}

bool OrvQHoverRowTracker::isHovered(const QModelIndex &index) const
{
    const QModelIndex hover = hoverIndex();
    return hover.isValid() && index.isValid() && index.row() == hover.row() && index.parent() == hover.parent();
}

bool OrvQHoverRowTracker::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::Leave)
        return false;
    QAbstractItemView *v = view();
    if (!v || watched != v->viewport())
        return false;
    switch (type) {
    case QEvent::MouseMove:
        followModel(v);
        setHover(v->indexAt(static_cast<QMouseEvent *>(event)->pos()));
        break;
    case QEvent::Leave:
        setHover(QModelIndex());
        break;
    default:
        break;
    }
    return false;
}

void OrvQHoverRowTracker::followModel(QAbstractItemView *v)
{
    if (v->model() == m_model)
        return;
    QObject::disconnect(m_resetConnection);
    m_model = v->model();
    m_hover = QPersistentModelIndex();
    if (m_model)
        m_resetConnection = connect(m_model, &QAbstractItemModel::modelReset, this,
                                    [this] { m_hover = QPersistentModelIndex(); });
}

void OrvQHoverRowTracker::setHover(const QModelIndex &index)
{
    if (isHovered(index) || (!index.isValid() && !hoverIndex().isValid()))
        return;
    QAbstractItemView *v = view();
    if (!v)
        return;
    // A row is the width of the viewport, whatever its columns.
    QWidget *viewport = v->viewport();
    const auto updateRow = [&](const QModelIndex &row) {
        const QRect r = v->visualRect(row);
        if (r.isValid())
            viewport->update(0, r.top(), viewport->width(), r.height());
    };
    updateRow(hoverIndex());
    m_hover = index;
    updateRow(index);
}

// ---- images and check boxes ----------------------------------------------------

namespace {

// Misses kept before the set starts over: item data may name any number of
// images.
constexpr int MaxRememberedMisses = 4096;

} // namespace

const QImage *OrvQImageLookup::find(const QString &name, qreal ratio) const
{
    OrvQResourceManager &skin = OrvQResourceManager::instance();
    if (m_skinGeneration != skin.generation()) {
        m_misses.clear();
        m_skinGeneration = skin.generation();
    }
    if (name.isEmpty() || m_misses.contains(name))
        return nullptr;
    const QImage *image = skin.image(name, ratio);
    if (image && !image->isNull() && image->width() > 0 && image->height() > 0)
        return image;
    if (m_misses.size() >= MaxRememberedMisses)
        m_misses.clear();
    m_misses.insert(name);
    return nullptr;
}

void OrvQCheckColumn::setImage(bool checked, const QString &name)
{
    if (const QImage *image = images.find(name))
        imageSize = image->size();
    (checked ? checkedImage : uncheckedImage) = name;
}

QRect OrvQCheckColumn::boxIn(const QRect &cell) const
{
    return QRect(cell.left() + 5, cell.top(), imageSize.width(), cell.height());
}

void OrvQCheckColumn::draw(QPainter *painter, const QRect &cell, bool checked) const
{
    const QImage *image =
        images.find(checked ? checkedImage : uncheckedImage, OrvQControlBaseImpl::deviceRatio(painter));
    if (!image)
        return;
    const QRect box = boxIn(cell);
    const QSize size = OrvQControlBaseImpl::logicalSize(*image);
    painter->drawImage(box.left(), box.top() + (box.height() - size.height()) / 2, *image);
}

// ---- row styles --------------------------------------------------------------

OrvQRowStyleDelegate::OrvQRowStyleDelegate(const Look &look, const OrvQHoverRowTracker *hover, QObject *parent)
    : QItemDelegate(parent)
    , m_look(look)
    , m_hover(hover)
{
}

OrvQRowStyleDelegate::RowState OrvQRowStyleDelegate::rowState(const QStyleOptionViewItem &option,
                                                                const QModelIndex &index) const
{
    const bool hovered = m_hover ? m_hover->isHovered(index) : bool(option.state & QStyle::State_MouseOver);
    const bool selected = option.state & QStyle::State_Selected;
    if (m_look.precedence == HoverFirst)
        return hovered ? RowHover : selected ? RowSelected : RowNormal;
    return selected ? RowSelected : hovered ? RowHover : RowNormal;
}

int OrvQRowStyleDelegate::rowHeight() const
{
    return rowExtentOr20(m_look.rowHeight ? *m_look.rowHeight : 0);
}

bool OrvQRowStyleDelegate::hasCheckBox(const QModelIndex &index) const
{
    return m_look.checkColumn && m_look.checkColumn->enabled && index.column() == 0;
}

void OrvQRowStyleDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    if (!index.isValid() || !m_look.rects)
        return;
    const RowState state = rowState(option, index);
    const bool checkBox = hasCheckBox(index);
    // The text starts past the box and the image, never past the cell.
    QRect textRect = option.rect;
    const auto moveTextBy = [&textRect](int offset) {
        textRect.setLeft(textRect.left() + qBound(0, offset, textRect.width()));
    };
    if (checkBox)
        moveTextBy(m_look.checkColumn->textOffset());
    // A cell image sits between the check box and the text.
    const QImage *image = nullptr;
    QRect imageRect;
    QSize imageSize;
    if (m_look.cellImages) {
        const QString name = index.data(CellImageRole).toString();
        image = name.isEmpty() ? nullptr : m_cellImages.find(name, OrvQControlBaseImpl::deviceRatio(painter));
        if (image) {
            imageSize = OrvQControlBaseImpl::logicalSize(*image);
            imageRect = QRect(textRect.left(), textRect.top(), imageSize.width() + 10, textRect.height());
            moveTextBy(imageRect.width());
        }
    }

    // The painting services leave pen, brush, font and hints set, and the
    // image clips: each cell starts from the view's painter state.
    painter->save();
    OrvQControlBaseImpl::drawBackground(painter, (*m_look.rects)[state], option.rect);
    if (m_look.fonts)
        OrvQControlBaseImpl::drawStyledText(painter, index.data(Qt::DisplayRole).toString(),
                                            (*m_look.fonts)[state], textRect);
    if (image || checkBox)
        painter->setClipRect(option.rect, Qt::IntersectClip);
    if (image) {
        painter->drawImage(imageRect.left() + (imageRect.width() - imageSize.width()) / 2,
                           imageRect.top() + (imageRect.height() - imageSize.height()) / 2, *image);
    }
    if (checkBox)
        m_look.checkColumn->draw(painter, option.rect, index.data(Qt::CheckStateRole).toBool());
    painter->restore();
}

QSize OrvQRowStyleDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width(), rowHeight());
}

// ---- template ----------------------------------------------------------------

namespace {

// A hidden widget keeps its resize and move events pending until shown; a
// template is never shown, so they are sent here, parents first, so that
// containers arrange their children and labels elide before anything is
// measured or painted.
void sendPendingGeometryEvents(QWidget *widget)
{
    if (widget->testAttribute(Qt::WA_PendingMoveEvent)) {
        widget->setAttribute(Qt::WA_PendingMoveEvent, false);
        QMoveEvent move(widget->pos(), widget->pos());
        QCoreApplication::sendEvent(widget, &move);
    }
    if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent resize(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &resize);
    }
    const QObjectList children = widget->children();
    for (QObject *child : children) {
        if (child->isWidgetType())
            sendPendingGeometryEvents(static_cast<QWidget *>(child));
    }
}

} // namespace

void OrvQTemplateRenderer::setTemplate(OrvQContainer *container)
{
    m_template = container;
    QWidget *owner = container ? container->parentWidget() : nullptr;
    if (owner && owner != m_holder) {
        if (!m_holder) {
            // Owned by the view, so it goes with it; fonts and palettes still
            // reach the template from the view. Sized once, so rendering
            // never fits it to its contents.
            m_holder = new QWidget(owner, Qt::Window);
            m_holder->setAttribute(Qt::WA_WindowPropagation);
            m_holder->setAttribute(Qt::WA_DontShowOnScreen);
            m_holder->resize(1, 1);
        }
        container->setParent(m_holder);
        container->setVisible(false);
    }
    collectControls();
}

bool OrvQTemplateRenderer::isEmpty() const
{
    return !m_template;
}

void OrvQTemplateRenderer::collectControls()
{
    m_controls.clear();
    m_laidOutSize = QSize();
    if (!m_template)
        return;
    // Depth first; a child that is no control is skipped with its subtree.
    const std::function<void(QWidget *)> visit = [&](QWidget *parent) {
        for (QObject *child : parent->children()) {
            if (!child->isWidgetType() || !controlInterface(child))
                continue;
            auto *widget = static_cast<QWidget *>(child);
            m_controls.push_back({widget, QRect()});
            visit(widget);
        }
    };
    visit(m_template);
}

bool OrvQTemplateRenderer::controlsIntact() const
{
    for (const Hit &hit : m_controls) {
        if (!hit.control)
            return false;
    }
    return true;
}

void OrvQTemplateRenderer::layOut(const QSize &size, bool refilled)
{
    if (!m_template)
        return;
    if (!controlsIntact())
        collectControls();
    if (!refilled && size == m_laidOutSize)
        return;
    m_laidOutSize = size;
    m_template->setFixedLayout(0, 0, size.width(), size.height());
    m_template->updateLayout();
    // New content needs its controls' resize handling even at the same
    // size: a container arranges children that changed, a label elides its
    // new text.
    if (refilled) {
        m_template->setAttribute(Qt::WA_PendingResizeEvent);
        for (const Hit &hit : m_controls)
            hit.control->setAttribute(Qt::WA_PendingResizeEvent);
    }
    sendPendingGeometryEvents(m_template);
    for (Hit &hit : m_controls) {
        QWidget *widget = hit.control;
        hit.rect = widget && widget->isVisibleTo(m_template)
            ? QRect(widget->mapTo(m_template.data(), QPoint()), widget->size())
            : QRect();
    }
}

QWidget *OrvQTemplateRenderer::controlIn(const std::vector<Hit> &hits, const QPoint &point)
{
    for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
        if (it->control && it->rect.contains(point))
            return it->control;
    }
    return nullptr;
}

void OrvQTemplateRenderer::paint(QPainter *painter, const QPoint &rowTopLeft, const QPoint &hoverPoint)
{
    if (!m_template)
        return;
    // The control under the pointer looks hovered for this row only.
    OrvQControlBaseImpl *hovered = nullptr;
    OrvQControlState kept = StateNormal;
    if (QWidget *control = controlAt(hoverPoint)) {
        IOrvQControlBase *face = controlInterface(control);
        hovered = face ? face->impl() : nullptr;
        if (hovered) {
            kept = hovered->state();
            hovered->setState(StateHover);
        }
    }
    // Each control paints itself as it would on its own, at its place in
    // the row. Through an image the painter places: rendered on the
    // painter itself, the row would land where the view sits in its window
    // rather than in the view.
    QRect visible(rowTopLeft, m_template->size());
    if (painter->hasClipping())
        visible &= painter->clipBoundingRect().toAlignedRect();
    if (!visible.isEmpty()) {
        const qreal ratio = OrvQControlBaseImpl::deviceRatio(painter);
        // The row takes the device pixels its edges round to, as the next
        // row's do: at a fractional ratio a row of rounded size drawn at its
        // logical place would leave a seam or overlap its neighbour.
        QRectF target;
        QTransform toDevice = painter->deviceTransform();
        if (!qFuzzyCompare(toDevice.m11(), ratio))
            toDevice *= QTransform::fromScale(ratio, ratio);
        QSize pixels = (QSizeF(visible.size()) * ratio).toSize();
        if (ratio != 1 && toDevice.type() <= QTransform::TxScale) {
            const QRectF exact = toDevice.mapRect(target);
            const QRect snapped(QPoint(qRound(exact.left()), qRound(exact.top())),
                                QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
            if (!snapped.isEmpty()) {
                pixels = snapped.size();
                target = toDevice.inverted().mapRect(QRectF(snapped));
            }
        }
        if (m_rowImage.size() != pixels)
            m_rowImage = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_rowImage.setDevicePixelRatio(ratio);
        m_rowImage.fill(Qt::transparent);
        m_template->render(&m_rowImage, QPoint(), QRegion(visible.translated(-rowTopLeft)), QWidget::DrawChildren);
        if (target.isValid())
            painter->drawImage(target, m_rowImage);
        else
            painter->drawImage(visible.topLeft(), m_rowImage);
    }
    if (hovered)
        hovered->setState(kept);
}

void fillPreviewRows(const std::function<void(int row)> &addRow, int count)
{
    if (!isPreviewMode())
        return;
    for (int row = 0; row < count; ++row)
        addRow(row);
}

} // namespace OrvQtLib

namespace OrvQtLib {

namespace {

const char DeclaredModelName[] = "orvqDeclaredRows";

QList<QStandardItem *> describedRow(const OrvQDescribedItem &item, bool cells)
{
    QList<QStandardItem *> row;
    if (cells && item.branch) {
        for (const OrvQDescribedItem &cell : item.children)
            row.append(new QStandardItem(cell.text));
        return row;
    }
    auto *first = new QStandardItem(item.text);
    for (const OrvQDescribedItem &child : item.children)
        first->appendRow(describedRow(child, false));
    row.append(first);
    return row;
}

} // namespace

bool hasDeclaredRows(const QAbstractItemView *view)
{
    const QAbstractItemModel *model = view ? view->model() : nullptr;
    return model && model->parent() == view && model->objectName() == QLatin1String(DeclaredModelName);
}

void declareRows(QAbstractItemView *view, const std::vector<OrvQDescribedItem> &items, bool cells,
                 const QStringList &headers)
{
    if (!view)
        return;
    // Filled before the view sees it, so thousands of rows are one reset.
    const bool existing = hasDeclaredRows(view);
    auto *model = existing ? static_cast<QStandardItemModel *>(view->model()) : new QStandardItemModel(view);
    model->setObjectName(QLatin1String(DeclaredModelName));
    if (!headers.isEmpty())
        model->setHorizontalHeaderLabels(headers);
    for (const OrvQDescribedItem &item : items)
        model->appendRow(describedRow(item, cells));
    if (!existing)
        view->setModel(model);
}

} // namespace OrvQtLib
