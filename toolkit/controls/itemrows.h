#pragma once

#include "container.h"
#include "controlkeys.h"
#include "describeditems.h"

#include <QImage>
#include <QItemDelegate>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>

#include <functional>
#include <vector>

class QAbstractItemView;

namespace OrvQtLib {

/// Row sizes a description may ask for; 0 stands for the default of 20. Rows
/// are laid end to end in Qt's int positions, and rows no taller than this
/// keep a few hundred thousand of them inside the range.
constexpr int DefaultRowHeight = 20;
/// Largest row height or width a description may give.
constexpr int MaxRowExtent = 4096;
/// `extent`, or 20 for 0.
int rowExtentOr20(int extent);

/// Follows the row under the pointer in an item view: repaints the row left
/// and the row entered on the viewport, and forgets the row when the pointer
/// leaves the viewport or the model is reset or replaced.
class OrvQHoverRowTracker : public QObject
{
public:
    /// Follows the pointer over `view`'s viewport; owned by `view`.
    explicit OrvQHoverRowTracker(QAbstractItemView *view);

    /// The row under the pointer; invalid for none.
    QModelIndex hoverIndex() const;
    /// Whether `index` lies in the hovered row (any column).
    bool isHovered(const QModelIndex &index) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setHover(const QModelIndex &index);
    void followModel(QAbstractItemView *view);
    /// The view, or null while it is being destroyed and its viewport hides.
    QAbstractItemView *view() const;

    QPersistentModelIndex m_hover;
    QPointer<QAbstractItemModel> m_model;
    QMetaObject::Connection m_resetConnection;
};

/// The model role whose string names a cell's image.
constexpr int CellImageRole = Qt::UserRole + 100;

/// Images named by item data, looked up in the skin. A name the skin lacks is
/// remembered, so it costs its disk look-ups once rather than on every paint,
/// until the skin is replaced.
class OrvQImageLookup
{
public:
    /// The image, or null when it is missing or empty; at a device pixel
    /// ratio above 1, the package's variant for it where there is one.
    const QImage *find(const QString &name, qreal ratio = 1) const;
    /// For when the skin may have changed.
    void forgetMisses() { m_misses.clear(); }

private:
    mutable QSet<QString> m_misses;
    mutable quint64 m_skinGeneration = 0;
};

/// A check box in front of the first column of every row (and of a header's
/// first section), drawn straight from its two images.
struct OrvQCheckColumn {
    bool enabled = false; ///<< whether the column is shown
    QString checkedImage = QStringLiteral("IDB_CHECKED"); ///<< image of a checked box
    QString uncheckedImage = QStringLiteral("IDB_UNCHECK"); ///<< image of an unchecked box
    QSize imageSize{24, 24}; ///<< size of the box, from the images
    OrvQImageLookup images; ///<< where the images are looked up

    /// Stores the name; an image that exists gives the box its size.
    void setImage(bool checked, const QString &name);
    /// The box in a cell: 5 pixels in from the left, as wide as the images
    /// and as tall as the cell.
    QRect boxIn(const QRect &cell) const;
    /// Where the text of a cell with a box starts, from the cell's left.
    int textOffset() const { return imageSize.width() + 10; }
    /// The image at the left of the box, centred vertically.
    void draw(QPainter *painter, const QRect &cell, bool checked) const;
};

/// Paints rows from per-state skin styles: a rect style and an optional font
/// style for normal, hover and selected rows, the text from Qt::DisplayRole,
/// at a fixed row height. Grids add a check column and per-cell images.
class OrvQRowStyleDelegate : public QItemDelegate
{
public:
    /// The look a row is painted with.
    enum RowState { RowNormal = 0, RowHover = 1, RowSelected = 2 };
    /// Which look wins on a row both hovered and selected.
    enum Precedence { HoverFirst, SelectionFirst };

    /// Where the delegate reads its styles; the pointed-to records belong to the control.
    struct Look {
        const OrvQStateRectStyles *rects = nullptr; ///<< row backgrounds, by RowState
        const OrvQStateFontStyles *fonts = nullptr; ///< null: no text
        const int *rowHeight = nullptr; ///< null or 0: 20
        Precedence precedence = SelectionFirst; ///<< which look wins
        const OrvQCheckColumn *checkColumn = nullptr; ///< null: no check boxes
        bool cellImages = false; ///< images named by CellImageRole
    };

    /// A delegate painting with `look`, following `hover` (may be null); owned by `parent`.
    OrvQRowStyleDelegate(const Look &look, const OrvQHoverRowTracker *hover, QObject *parent);

    /// The look of the row of `index`.
    RowState rowState(const QStyleOptionViewItem &option, const QModelIndex &index) const;
    /// Height of every row.
    int rowHeight() const;

    /// Paints a row's background, check box, image and text.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /// The row height; the width Qt's delegate gives.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    /// Whether a cell shows a check box: the first column, with a check column.
    bool hasCheckBox(const QModelIndex &index) const;
    /// For when the skin may have changed: look missing images up again.
    void forgetImageMisses() { m_cellImages.forgetMisses(); }

protected:
    Look m_look;
    const OrvQHoverRowTracker *m_hover;
    OrvQImageLookup m_cellImages;
};

/// A hidden container laid out and painted once per row. Keeps the
/// container's controls safely (a host or a second load may delete any of
/// them), lays the template out only when the row size changes or a fill
/// hook ran, and keeps the controls' rectangles relative to the row.
class OrvQTemplateRenderer
{
public:
    /// A control of the template and where it lies in a row.
    struct Hit {
        QPointer<QWidget> control; ///<< the control; null once deleted
        QRect rect; ///< relative to the row
    };

    /// Takes `container` as the template; it stays owned by its parent.
    void setTemplate(OrvQContainer *container);
    /// The template; null when there is none or it was deleted.
    OrvQContainer *templateWidget() const { return m_template; }
    /// Whether there is no template.
    bool isEmpty() const;

    /// Lays the template out for a row of `size`; `refilled` forces it.
    void layOut(const QSize &size, bool refilled);
    /// Paints the template at `rowTopLeft`; the control at `hoverPoint`
    /// (row coordinates) looks hovered, and keeps its own state afterwards.
    void paint(QPainter *painter, const QPoint &rowTopLeft, const QPoint &hoverPoint);
    /// The last control, in depth-first order, under a point in row
    /// coordinates; the container itself is never hit.
    QWidget *controlAt(const QPoint &point) const { return controlIn(m_controls, point); }
    /// The last control of `hits` containing `point`; null for none.
    static QWidget *controlIn(const std::vector<Hit> &hits, const QPoint &point);
    /// The controls' rectangles as last laid out.
    const std::vector<Hit> &hits() const { return m_controls; }

private:
    void collectControls();
    bool controlsIntact() const;

    QPointer<OrvQContainer> m_template;
    /// A window of its own, never shown, that holds the template: rendering a
    /// hidden widget lays out every widget of its window first, and the
    /// view's window may hold thousands.
    QPointer<QWidget> m_holder;
    std::vector<Hit> m_controls; ///< depth first, the container excluded
    QSize m_laidOutSize;
    QImage m_rowImage; ///< reused from row to row
};

/// Fills an item view with sample rows when the toolkit runs inside a layout
/// tool.
void fillPreviewRows(const std::function<void(int row)> &addRow, int count);

/// Rows a description declares: the items' texts in a QStandardItemModel
/// owned by `view`, made on first use (a host's model replaces it). With
/// `cells`, an item's children are the cells of its row (a grid); else they
/// are rows below it (a tree). `headers` titles the columns. A null view
/// does nothing.
void declareRows(QAbstractItemView *view, const std::vector<OrvQDescribedItem> &items, bool cells,
                 const QStringList &headers = {});
/// Whether the view shows the rows a description declared.
bool hasDeclaredRows(const QAbstractItemView *view);

} // namespace OrvQtLib
