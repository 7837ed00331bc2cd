#pragma once

#include "itemrows.h"
#include "scrollarea.h"

#include <QListView>

#include <functional>

namespace OrvQtLib {

class OrvQListView;

/// Background, row styles and the item template of a list view.
class OrvQListViewImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    /// Puts a row's data into the template's controls before it is painted.
    using ItemFillHook = std::function<void(OrvQListView *view, QWidget *itemTemplate, const QModelIndex &index)>;
    /// Gives each item its size; without it every row has the same size.
    using ItemSizeHook =
        std::function<QSize(OrvQListView *view, const QStyleOptionViewItem &option, const QModelIndex &index)>;

    explicit OrvQListViewImpl(QWidget *widget);
    ~OrvQListViewImpl() override;

    static const OrvQKeyTable<OrvQListViewImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQListViewImpl> &styleSlots();

    bool load(const Json::Value &element);
    void loadFinished() override;
    void draw(QPainter *painter, const QRect &rect) override;

    bool backgroundIsOpaque() const;
    int itemHeight() const { return rowExtentOr20(m_itemHeight); }
    int itemWidth() const { return rowExtentOr20(m_itemWidth); }
    const OrvQStateRectStyles &itemStyles() const { return m_itemStyles; }
    const int *itemHeightField() const { return &m_itemHeight; }
    OrvQTemplateRenderer &renderer() { return m_renderer; }

    ItemFillHook itemFillHook;
    ItemSizeHook itemSizeHook;

private:
    int m_itemHeight = DefaultRowHeight;
    int m_itemWidth = DefaultRowHeight;
    OrvQRectStyle m_backgroundStyle;
    OrvQStateRectStyles m_itemStyles;
    OrvQTemplateRenderer m_renderer;
};

/// Paints each row by laying the hidden template out at the row and
/// painting its controls there; a press on a control emits pressCtrl.
class OrvQListViewItemDelegate : public OrvQRowStyleDelegate
{
public:
    /// A delegate for `view`, owned by it.
    OrvQListViewItemDelegate(OrvQListView *view, OrvQListViewImpl *impl, const OrvQHoverRowTracker *hover);

    /// Fills the template for the row and paints it there.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /// The size hook's size, else the row height and the view's width.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /// The template control under a viewport point, laid out for its row.
    QWidget *controlAt(const QPoint &pos, QModelIndex *row = nullptr) const;
    /// Repaints a row when the template control under the pointer changes.
    void pointerMoved(const QPoint &pos);

    /// Fill hook calls since construction, for hosts that measure them.
    qint64 fillCount() const { return m_fills; }

private:
    /// Fills and lays the template out for a row; false when there is none.
    bool prepareRow(const QModelIndex &index, const QSize &size) const;

    OrvQListView *m_view;
    OrvQListViewImpl *m_impl;
    QPointer<QWidget> m_hoveredControl;
    bool m_beamCursor = false;
    mutable bool m_painting = false;
    /// The row last painted under the pointer and its controls' rectangles:
    /// moves within it are hit-tested without filling the template again.
    mutable QPersistentModelIndex m_pointerRow;
    mutable QSize m_pointerRowSize;
    mutable std::vector<OrvQTemplateRenderer::Hit> m_pointerRowHits;
    /// The row the template was last filled and laid out for.
    mutable QPersistentModelIndex m_preparedRow;
    mutable QSize m_preparedSize;
    mutable qint64 m_fills = 0;
};

/// A list view that paints each row with a template container from its
/// description, filled per row by the host's fill hook.
class OrvQListView : public OrvQScrollAreaControl<QListView, OrvQListViewImpl, ListViewScrollArea,
                                                   ScrollAreaPaintOnlyRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty list view, owned by `parent`.
    explicit OrvQListView(QWidget *parent = nullptr);
    ~OrvQListView() override;

    /// The type name descriptions use, "qtlistview".
    static QString staticTypeName() { return QStringLiteral("qtlistview"); }
    QString typeName() const override { return staticTypeName(); }

    /// Puts a row's data into the template's controls before the row is painted;
    /// an empty hook paints the template as it is.
    void setItemFillHook(OrvQListViewImpl::ItemFillHook hook);
    /// Gives each row its size; an empty hook gives every row the same size.
    void setItemSizeHook(OrvQListViewImpl::ItemSizeHook hook);
    /// The delegate that paints the template rows; owned by the view.
    OrvQListViewItemDelegate *templateDelegate() const { return m_delegate; }
    /// Follows the background style: an opaque one lets scrolling move pixels.
    void updateOpaqueness();
    /// The row under the pointer; owned by the view.
    const OrvQHoverRowTracker *hoverTracker() const { return m_hover; }

signals:
    /// A press on a template control: the control as laid out for the row, and
    /// the row's index.
    void pressCtrl(QWidget *pWidget, QModelIndex index);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    OrvQHoverRowTracker *m_hover;
    OrvQListViewItemDelegate *m_delegate;
};

} // namespace OrvQtLib
