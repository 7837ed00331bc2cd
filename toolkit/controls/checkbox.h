#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QCheckBox>
#include <QRadioButton>

namespace OrvQtLib {

/// What the check box and the radio button share: an icon pair per check
/// state, a font style per check state and four rect styles per check state.
class OrvQTwoStateButtonImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    ~OrvQTwoStateButtonImpl() override;

    QString uncheckedIcon() const { return m_uncheckedIcon; }
    QString uncheckedHotIcon() const { return m_uncheckedHotIcon; }
    QString checkedIcon() const { return m_checkedIcon; }
    QString checkedHotIcon() const { return m_checkedHotIcon; }
    OrvQImageAlign iconAlign() const { return m_iconAlign; }
    bool showIcon() const { return m_showIcon; }
    bool showText() const { return m_showText; }
    const OrvQFontStyle &fontStyle(bool checked) const { return checked ? m_checkedFont : m_uncheckedFont; }
    const OrvQRectStyle &rectStyle(bool checked, int state) const
    {
        return checked ? m_checkedRects[state] : m_uncheckedRects[state];
    }

    /// Index 0 to 3 replaces one state's record, 4 replaces all four.
    void setUncheckedStyle(int index, const OrvQRectStyle &style);
    void setCheckedStyle(int index, const OrvQRectStyle &style);
    void setUncheckedIcon(const QString &name) { m_uncheckedIcon = name; }
    void setCheckedIcon(const QString &name) { m_checkedIcon = name; }
    void setShowText(bool show) { m_showText = show; }

protected:
    explicit OrvQTwoStateButtonImpl(QWidget *widget);

    /// The "attr" keys both controls read, in their order; the icon alignment
    /// is left to each.
    template <class Owner>
    static void appendCommonKeys(OrvQKeyTable<Owner> &keys, bool hoverFollowsNormal);
    QAbstractButton *button() const;
    bool checked() const;
    /// Size of a named image, or null when it cannot be drawn.
    static QSize imageSize(const QString &name);

    QString m_uncheckedIcon;
    QString m_uncheckedHotIcon;
    QString m_checkedIcon;
    QString m_checkedHotIcon;
    OrvQImageAlign m_iconAlign{0, 0, 0, 1};
    bool m_showIcon = true;
    bool m_showText = true;
    OrvQFontStyle m_uncheckedFont;
    OrvQFontStyle m_checkedFont;
    OrvQStateRectStyles m_uncheckedRects;
    OrvQStateRectStyles m_checkedRects;
};

class OrvQCheckBoxImpl : public OrvQTwoStateButtonImpl
{
    Q_OBJECT

public:
    explicit OrvQCheckBoxImpl(QWidget *widget);
    ~OrvQCheckBoxImpl() override;

    static const OrvQKeyTable<OrvQCheckBoxImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
};

class OrvQRadioButtonImpl : public OrvQTwoStateButtonImpl
{
    Q_OBJECT

public:
    explicit OrvQRadioButtonImpl(QWidget *widget);
    ~OrvQRadioButtonImpl() override;

    static const OrvQKeyTable<OrvQRadioButtonImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQTwoStateButtonImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    bool pushLike() const { return m_pushLike; }

private:
    bool m_pushLike = false;
};

/// The Qt handlers first, then the Impl; a double click reaches QCheckBox only.
inline constexpr OrvQEventRoutes CheckBoxEventRoutes = OrvQEventRoutes().withDoubleClick(OrvQRoute::BaseOnly);

/// A skinned check box: rect styles, a font style and an icon pair for each
/// check state. The checked state is QAbstractButton's `checked` property.
class OrvQCheckBox : public OrvQControl<QCheckBox, OrvQCheckBoxImpl, CheckBoxEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Image name of the icon drawn while unchecked.
    Q_PROPERTY(QString uncheckedIcon READ uncheckedIcon WRITE setUncheckedIcon NOTIFY uncheckedIconChanged)
    /// Image name of the icon drawn while checked.
    Q_PROPERTY(QString checkedIcon READ checkedIcon WRITE setCheckedIcon NOTIFY checkedIconChanged)
    /// Whether the caption is drawn.
    Q_PROPERTY(bool showText READ showText WRITE setShowText NOTIFY showTextChanged)

public:
    /// A check box with the built-in look, owned by `parent`.
    explicit OrvQCheckBox(QWidget *parent = nullptr);
    ~OrvQCheckBox() override;

    /// The type name descriptions use, "qtcheckbox".
    static QString staticTypeName() { return QStringLiteral("qtcheckbox"); }
    QString typeName() const override { return staticTypeName(); }

    /// Replaces the unchecked rect style of state `index` (0 to 3), or of all
    /// four states for 4; any other index is ignored.
    void setUncheckedStyle(int index, const OrvQRectStyle &style);
    /// As setUncheckedStyle(int, const OrvQRectStyle &), for the checked state.
    void setCheckedStyle(int index, const OrvQRectStyle &style);
    /// Replaces the unchecked rect style of one state; a value outside the four
    /// states is ignored.
    void setUncheckedStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// Replaces the checked rect style of one state; a value outside the four
    /// states is ignored.
    void setCheckedStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// The unchecked icon's image name.
    QString uncheckedIcon() const;
    /// Sets the unchecked icon by image name; an unknown name draws no icon.
    void setUncheckedIcon(const QString &name);
    /// The checked icon's image name.
    QString checkedIcon() const;
    /// Sets the checked icon by image name; an unknown name draws no icon.
    void setCheckedIcon(const QString &name);
    /// Whether the caption is drawn.
    bool showText() const;
    /// Shows or hides the caption.
    void setShowText(bool show);

signals:
    /// The unchecked icon changed.
    void uncheckedIconChanged(const QString &name);
    /// The checked icon changed.
    void checkedIconChanged(const QString &name);
    /// The caption was shown or hidden.
    void showTextChanged(bool show);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool hitButton(const QPoint &pos) const override;
};

/// Presses reach only the Impl: the radio toggles on release by itself,
/// without Qt's click handling.
inline constexpr OrvQEventRoutes RadioButtonEventRoutes = CheckBoxEventRoutes.withPress(OrvQRoute::ImplOnly);

/// A skinned radio button; it toggles on release, as the check box does.
class OrvQRadioButton : public OrvQControl<QRadioButton, OrvQRadioButtonImpl, RadioButtonEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A radio button with the built-in look, owned by `parent`.
    explicit OrvQRadioButton(QWidget *parent = nullptr);
    ~OrvQRadioButton() override;

    /// The type name descriptions use, "qtradiobox".
    static QString staticTypeName() { return QStringLiteral("qtradiobox"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool hitButton(const QPoint &pos) const override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace OrvQtLib
