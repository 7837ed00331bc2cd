#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QPushButton>

namespace OrvQtLib {

/// Skinned push button: a rect style and a font style per visual state, and an
/// icon that may change while hovered.
class OrvQPushButtonImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQPushButtonImpl(QWidget *widget);
    ~OrvQPushButtonImpl() override;

    static const OrvQKeyTable<OrvQPushButtonImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQPushButtonImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    const OrvQRectStyle &rectStyle(int state) const { return m_rectStyles[state]; }
    const OrvQFontStyle &fontStyle(int state) const { return m_fontStyles[state]; }
    bool hasIcon() const { return m_hasIcon; }
    bool showText() const { return m_showText; }
    QString iconPath() const { return m_iconPath; }
    QString hotIconPath() const { return m_hotIconPath; }
    OrvQImageAlign iconAlign() const { return m_iconAlign; }
    QPoint textOffset() const { return QPoint(m_textX, m_textY); }

private:
    bool m_hasIcon = true;
    bool m_showText = true;
    QString m_iconPath;
    QString m_hotIconPath;
    OrvQImageAlign m_iconAlign{0, 0, 1, 1};
    int m_textX = 0;
    int m_textY = 0;
    OrvQStateRectStyles m_rectStyles;
    OrvQStateFontStyles m_fontStyles;
};

/// Press, release, enter and leave move the visual state.
inline constexpr OrvQEventRoutes PushButtonEventRoutes =
    OrvQEventRoutes().withMove(OrvQRoute::BaseOnly).withDoubleClick(OrvQRoute::BaseOnly);

/// A push button painted from four per-state rect styles, a font and an icon.
class OrvQPushButton : public OrvQControl<QPushButton, OrvQPushButtonImpl, PushButtonEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A button with the built-in look, owned by `parent`.
    explicit OrvQPushButton(QWidget *parent = nullptr);
    ~OrvQPushButton() override;

    /// The type name descriptions use, "qtbutton".
    static QString staticTypeName() { return QStringLiteral("qtbutton"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

} // namespace OrvQtLib
