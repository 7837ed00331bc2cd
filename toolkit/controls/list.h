#pragma once

#include "itemrows.h"
#include "scrollarea.h"

#include <QListWidget>

namespace OrvQtLib {

/// A text list: a skinned background behind rows drawn with a per-state rect
/// and font style, all of one height.
class OrvQListImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    static constexpr int PreviewRowCount = 20;

    explicit OrvQListImpl(QWidget *widget);
    ~OrvQListImpl() override;

    static const OrvQKeyTable<OrvQListImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQListImpl> &styleSlots();

    bool load(const Json::Value &element);
    void loadFinished() override;
    void draw(QPainter *painter, const QRect &rect) override;

    /// What the row delegate paints from.
    OrvQRowStyleDelegate::Look look() const;
    int itemHeight() const { return rowExtentOr20(m_itemHeight); }

private:
    QListWidget *list() const;

    int m_itemHeight = DefaultRowHeight;
    OrvQRectStyle m_backgroundStyle;
    /// [0] normal, [1] hover, [2] selected; [3] is kept but never drawn.
    OrvQStateRectStyles m_itemStyles;
    OrvQStateFontStyles m_itemFonts;
};

/// Rows follow the pointer themselves; the control as a whole does not, so
/// the mouse goes to QListWidget alone.
class OrvQList : public OrvQScrollAreaControl<QListWidget, OrvQListImpl, ListScrollArea, ScrollAreaPaintOnlyRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty list, owned by `parent`.
    explicit OrvQList(QWidget *parent = nullptr);
    ~OrvQList() override;

    /// The type name descriptions use, "qtlist".
    static QString staticTypeName() { return QStringLiteral("qtlist"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;

private:
    OrvQHoverRowTracker *m_hover;
    OrvQRowStyleDelegate *m_delegate;
};

} // namespace OrvQtLib
