#pragma once

#include "itemrows.h"
#include "scrollarea.h"

#include <QTreeView>

class QStandardItemModel;

namespace OrvQtLib {

/// Background, row styles and fonts, and the row height of a tree.
class OrvQTreeViewImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    static constexpr int PreviewRows = 100;

    explicit OrvQTreeViewImpl(QWidget *widget);
    ~OrvQTreeViewImpl() override;

    static const OrvQKeyTable<OrvQTreeViewImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQTreeViewImpl> &styleSlots();
    /// The sample a layout tool shows: 100 collapsed rows "item1", each over
    /// one row of "item2" and "item3", in two columns.
    static QStandardItemModel *previewModel(QObject *parent);

    bool load(const Json::Value &element);
    void loadFinished() override;
    void draw(QPainter *painter, const QRect &rect) override;

    OrvQRowStyleDelegate::Look look() const;
    const OrvQRectStyle &backgroundStyle() const { return m_backgroundStyle; }
    int itemHeight() const { return rowExtentOr20(m_itemHeight); }

private:
    int m_itemHeight = 0; ///< 0: rows of 20
    OrvQRectStyle m_backgroundStyle;
    /// [0] normal, [1] hover, [2] selected; [3] is kept but never drawn.
    OrvQStateRectStyles m_itemStyles;
    OrvQStateFontStyles m_itemFonts;
};

/// A tree with a hidden header; expanding and collapsing are Qt's.
class OrvQTreeView
    : public OrvQScrollAreaControl<QTreeView, OrvQTreeViewImpl, TreeViewScrollArea, ScrollAreaPaintOnlyRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty tree view, owned by `parent`.
    explicit OrvQTreeView(QWidget *parent = nullptr);
    ~OrvQTreeView() override;

    /// The type name descriptions use, "qttree".
    static QString staticTypeName() { return QStringLiteral("qttree"); }
    QString typeName() const override { return staticTypeName(); }

    /// The row under the pointer; owned by the view.
    const OrvQHoverRowTracker *hoverTracker() const { return m_hover; }
    /// Follows the background style: an opaque one lets scrolling move pixels.
    void updateOpaqueness();

protected:
    bool loadControlKeys(const Json::Value &element) override;

private:
    OrvQHoverRowTracker *m_hover;
    OrvQRowStyleDelegate *m_delegate;
};

} // namespace OrvQtLib
