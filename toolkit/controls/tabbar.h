#pragma once

#include "control.h"
#include "controlkeys.h"
#include "itemhover.h"

#include <QWidget>

#include <vector>

namespace OrvQtLib {

/// A row (or column) of equal-sized tab items painted from skin styles:
/// normal, under the pointer, or current. It carries no pages.
class OrvQTabWidgetImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    struct Item {
        QString iconName; ///< kept for the host; not drawn
        QString text;
    };

    explicit OrvQTabWidgetImpl(QWidget *widget);
    ~OrvQTabWidgetImpl() override;

    static const OrvQKeyTable<OrvQTabWidgetImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQTabWidgetImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
    void loadFinished() override;

    /// Item i's rectangle in the widget, its position computed in 64 bits
    /// and held to the range of widget coordinates.
    QRect itemRect(int index) const;
    int itemAt(const QPoint &pos) const;

    /// The item pressed at `pos` becomes current; -1 when no item is there.
    int pressAt(const QPoint &pos);
    void pointerAt(const QPoint &pos);
    void pointerLeft();

    void addItem(const QString &iconName, const QString &text);
    int count() const { return int(m_items.size()); }
    const Item &item(int index) const { return m_items.at(size_t(index)); }
    int currentIndex() const { return m_current; }
    bool setCurrentIndex(int index);
    int hoverIndex() const { return m_hover.index(); }
    int itemSize() const { return m_itemSize; }
    int itemSpace() const { return m_itemSpace; }
    bool isVertical() const { return m_vertical; }
    bool showText() const { return m_showText; }
    bool hasIcon() const { return m_hasIcon; }

private:
    bool m_hasIcon = true;
    bool m_showText = true;
    int m_current = 0;
    OrvQItemHover m_hover;
    int m_itemSpace = 0;
    bool m_vertical = false;
    int m_itemSize = 50;
    std::vector<Item> m_items;
    OrvQRectStyle m_backgroundStyle;
    OrvQStateRectStyles m_itemStyles; ///< [0] normal, [1] hover, [2] current
    OrvQStateFontStyles m_itemFonts;
};

/// Press, move and leave are the bar's own handlers; a double click reaches
/// QWidget, which takes it as a second press.
inline constexpr OrvQEventRoutes TabBarEventRoutes =
    OrvQEventRoutes().mouse(OrvQRoute::Nothing).withEnter(OrvQRoute::BaseOnly).withDoubleClick(OrvQRoute::BaseOnly);

/// A row or column of tab items painted from skin styles; it holds no pages.
class OrvQTabWidget : public OrvQControl<QWidget, OrvQTabWidgetImpl, TabBarEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Index of the current item, -1 for none.
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
    /// Number of items.
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    /// A bar without items, owned by `parent`.
    explicit OrvQTabWidget(QWidget *parent = nullptr);
    ~OrvQTabWidget() override;

    /// The type name descriptions use, "qttab".
    static QString staticTypeName() { return QStringLiteral("qttab"); }
    QString typeName() const override { return staticTypeName(); }

    /// Appends an item after the last one.
    void addItem(const QString &iconName, const QString &text);
    /// Number of items.
    int count() const;
    /// Index of the current item, -1 for none.
    int currentIndex() const;
    /// Makes an item current without a click and without currentChanged;
    /// -1 for none. False for an index out of range.
    bool setCurrentIndex(int index);

signals:
    /// On every click on an item, also on the current one.
    void currentChanged(int index);
    /// The current item changed, by a click or setCurrentIndex(); unlike
    /// currentChanged(), never for a click on the current item.
    void currentIndexChanged(int index);
    /// An item was added.
    void countChanged(int count);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
};

} // namespace OrvQtLib
