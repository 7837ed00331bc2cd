#pragma once

#include "control.h"
#include "controlkeys.h"
#include "itemhover.h"

#include <QMenuBar>

class QActionEvent;

namespace OrvQtLib {

/// A QMenuBar whose top-level items are painted from skin styles: normal,
/// hovered (also the keyboard-active item) and pressed.
///
/// "style" slots, entries [style name, integer, slot]:
///   slot  looked up as  styles
///   0     rect style    item background, every look
///   1     rect style    item background, hovered or keyboard-active
///   2     rect style    item background, pressed
///   3     font style    item text, every look
///   4     font style    item text, hovered or keyboard-active
///   5     font style    item text, pressed
/// Any other slot is ignored. The bar outside its items is not painted.
class OrvQMenuBarImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    enum Look { LookNormal = StateNormal, LookHover = StateHover, LookPressed = StatePressed };

    explicit OrvQMenuBarImpl(QWidget *widget);
    ~OrvQMenuBarImpl() override;

    static const OrvQStyleSlotTable<OrvQMenuBarImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
    void mousePress(QMouseEvent *event) override;
    void mouseRelease(QMouseEvent *event) override;
    void mouseMove(QMouseEvent *event) override;
    void mouseLeave(QEvent *event) override;

    /// The bar's actions were added or removed: indexes no longer hold.
    void actionsChanged();

    /// Index of the first action under `pos`, -1 for none.
    int actionAt(const QPoint &pos) const;
    int hoverIndex() const { return m_hover.index(); }
    int pressedIndex() const { return m_pressed; }
    Look lookOf(int index) const;

    /// 0 to 3 replace one look's record (3 is never drawn), 4 all of them.
    void setItemRectStyle(int index, const OrvQRectStyle &style) { m_itemRects.setAt(index, style); }
    void setItemFontStyle(int index, const OrvQFontStyle &style) { m_itemFonts.setAt(index, style); }

private:
    QMenuBar *bar() const;

    OrvQItemHover m_hover;
    int m_pressed = -1;
    OrvQStateRectStyles m_itemRects;
    OrvQStateFontStyles m_itemFonts;
};

/// Item text without mnemonic markers: "&File" gives File, "&&" gives &.
QString withoutMnemonics(const QString &text);

/// QMenuBar handles press, release, move and leave first; the Impl follows
/// only when the bar outlived it (a triggered action may delete it).
inline constexpr OrvQEventRoutes MenuBarEventRoutes =
    OrvQEventRoutes().withEnter(OrvQRoute::BaseOnly).withDoubleClick(OrvQRoute::BaseOnly);

/// A menu bar whose top-level items paint from skin styles.
class OrvQMenuBar : public OrvQControl<QMenuBar, OrvQMenuBarImpl, MenuBarEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty menu bar, owned by `parent`.
    explicit OrvQMenuBar(QWidget *parent = nullptr);
    ~OrvQMenuBar() override;

    /// The type name descriptions use, "qtmenubar".
    static QString staticTypeName() { return QStringLiteral("qtmenubar"); }
    QString typeName() const override { return staticTypeName(); }

    /// Looks for host code, indexed as OrvQMenuBarImpl::Look; 4 sets all.
    void setItemRectStyle(int look, const OrvQRectStyle &style);
    /// As setItemRectStyle(int, const OrvQRectStyle &), for the item text.
    void setItemFontStyle(int look, const OrvQFontStyle &style);
    /// Replaces the item background of one look (normal, hover, pressed); a
    /// value outside the four states is ignored.
    void setItemRectStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// Replaces the item text style of one look; a value outside the four
    /// states is ignored.
    void setItemFontStyle(OrvQControlState state, const OrvQFontStyle &style);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void actionEvent(QActionEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    /// A left press on the bar not yet released, as QMenuBar counts it.
    bool m_leftDown = false;
};

} // namespace OrvQtLib
