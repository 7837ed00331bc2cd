#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QCheckBox>
#include <QRadioButton>

namespace OrvQtLib {

// What the check box and the radio button share: an icon pair per check
// state, a font style per check state and four rect styles per check state.
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

    // Index 0 to 3 replaces one state's record, 4 replaces all four.
    void setUncheckedStyle(int index, const OrvQRectStyle &style);
    void setCheckedStyle(int index, const OrvQRectStyle &style);
    void setUncheckedIcon(const QString &name) { m_uncheckedIcon = name; }
    void setCheckedIcon(const QString &name) { m_checkedIcon = name; }
    void setShowText(bool show) { m_showText = show; }

protected:
    explicit OrvQTwoStateButtonImpl(QWidget *widget);

    // The "attr" keys both controls read, in their order; the icon alignment
    // is left to each.
    template <class Owner>
    static void appendCommonKeys(OrvQKeyTable<Owner> &keys, bool hoverFollowsNormal);
    QAbstractButton *button() const;
    bool checked() const;
    // Size of a named image, or null when it cannot be drawn.
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

private:
    QString m_disabledIcon;
    QString m_disabledCheckedIcon;
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

inline constexpr OrvQEventRoutes CheckBoxEventRoutes = OrvQEventRoutes().withDoubleClick(OrvQRoute::BaseOnly);

class OrvQCheckBox : public OrvQControl<QCheckBox, OrvQCheckBoxImpl, CheckBoxEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    explicit OrvQCheckBox(QWidget *parent = nullptr);
    ~OrvQCheckBox() override;

    static QString staticTypeName() { return QStringLiteral("qtcheckbox"); }
    QString typeName() const override { return staticTypeName(); }

    void setUncheckedStyle(int index, const OrvQRectStyle &style);
    void setCheckedStyle(int index, const OrvQRectStyle &style);
    void setUncheckedIcon(const QString &name);
    void setCheckedIcon(const QString &name);
    void setShowText(bool show);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool hitButton(const QPoint &pos) const override;
};

// Presses reach only the Impl: the radio toggles on release by itself,
// without Qt's click handling.
inline constexpr OrvQEventRoutes RadioButtonEventRoutes = CheckBoxEventRoutes.withPress(OrvQRoute::ImplOnly);

class OrvQRadioButton : public OrvQControl<QRadioButton, OrvQRadioButtonImpl, RadioButtonEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    explicit OrvQRadioButton(QWidget *parent = nullptr);
    ~OrvQRadioButton() override;

    static QString staticTypeName() { return QStringLiteral("qtradiobox"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
    bool hitButton(const QPoint &pos) const override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace OrvQtLib
