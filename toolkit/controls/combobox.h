#pragma once

#include "itemrows.h"

#include <QComboBox>
#include <QListView>
#include <QPointer>

#include <array>

namespace OrvQtLib {

/// Background, drop-down button and current text per state, and the look of
/// the popup: its background and its rows.
class OrvQComboBoxImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    static constexpr int PopupRowHeight = 25;

    explicit OrvQComboBoxImpl(QWidget *widget);
    ~OrvQComboBoxImpl() override;

    static const OrvQKeyTable<OrvQComboBoxImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQComboBoxImpl> &styleSlots();

    bool load(const Json::Value &element);
    void loadFinished() override;
    void draw(QPainter *painter, const QRect &rect) override;

    /// The three sample items a layout tool shows, the first current.
    void addSampleItems();
    /// The popup took the release of the press that opened it.
    void popupClosed();

    /// The drop-down button: a square at the right end of `rect`.
    static QRect buttonRect(const QRect &rect);
    QString buttonIcon(int state) const { return m_buttonIcons[size_t(qBound(0, state, 3))]; }
    const OrvQRectStyle &popupBackground() const { return m_popupBackground; }
    /// What the popup's row delegate paints from.
    OrvQRowStyleDelegate::Look popupLook() const;

private:
    QComboBox *comboBox() const;

    std::array<QString, 4> m_buttonIcons;
    int m_popupRowHeight = PopupRowHeight;
    OrvQStateRectStyles m_backgrounds;
    OrvQStateRectStyles m_buttonStyles;
    OrvQStateFontStyles m_textFonts;
    OrvQRectStyle m_popupBackground;
    /// [0] normal, [1] hover, [2] selected; [3] is kept but never drawn.
    OrvQStateRectStyles m_popupItemStyles;
    OrvQStateFontStyles m_popupItemFonts;
};

/// Paints popup rows while the combo box's Impl lives.
class OrvQComboItemDelegate : public OrvQRowStyleDelegate
{
public:
    /// A delegate for the pop-up of `impl`'s combo box, owned by `parent`.
    OrvQComboItemDelegate(OrvQComboBoxImpl *impl, const OrvQHoverRowTracker *hover, QObject *parent);

    /// Paints a pop-up row from the combo box's row styles; nothing once the combo box is gone.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /// The pop-up row height of the combo box.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPointer<OrvQComboBoxImpl> m_impl;
};

/// The popup of a combo box: the skinned background behind skinned rows.
class OrvQComboList : public QListView
{
public:
    /// The pop-up of `impl`'s combo box; the combo box owns it.
    explicit OrvQComboList(OrvQComboBoxImpl *impl);
    /// Destroys the pop-up.
    ~OrvQComboList() override;

    /// The row under the pointer; owned by the list.
    const OrvQHoverRowTracker *hoverTracker() const { return m_hover; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<OrvQComboBoxImpl> m_impl;
    OrvQHoverRowTracker *m_hover;
};

/// Presses and releases move the look; moves and double-clicks are Qt's.
inline constexpr OrvQEventRoutes ComboBoxEventRoutes =
    OrvQEventRoutes().withMove(OrvQRoute::BaseOnly).withDoubleClick(OrvQRoute::BaseOnly);

/// A skinned combo box whose pop-up list paints its rows from skin styles.
class OrvQComboBox : public OrvQControl<QComboBox, OrvQComboBoxImpl, ComboBoxEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A combo box with the built-in look, owned by `parent`.
    explicit OrvQComboBox(QWidget *parent = nullptr);
    ~OrvQComboBox() override;

    /// The type name descriptions use, "qtcombobox".
    static QString staticTypeName() { return QStringLiteral("qtcombobox"); }
    QString typeName() const override { return staticTypeName(); }

    /// The skinned pop-up list, owned by the combo box; null once Qt replaced it.
    OrvQComboList *comboList() const { return m_list; }
    /// Shows the skinned pop-up.
    void showPopup() override;
    /// Hides the pop-up.
    void hidePopup() override;

protected:
    bool loadControlKeys(const Json::Value &element) override;

private:
    QPointer<OrvQComboList> m_list;
};

} // namespace OrvQtLib
