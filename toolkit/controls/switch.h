#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QVariantAnimation>
#include <QWidget>

namespace OrvQtLib {

/// An on/off toggle: a track, a thumb that slides to the other end when
/// clicked, and a caption on the side the thumb has left.
class OrvQSwitchImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    /// Thumb sizes, margins and durations a description may ask for.
    static constexpr int MaxSpeed = 10000;

    explicit OrvQSwitchImpl(QWidget *widget);
    ~OrvQSwitchImpl() override;

    static const OrvQKeyTable<OrvQSwitchImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQSwitchImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    /// Starts the thumb towards the other end; false while it is moving.
    bool startToggle();
    /// Sets the state at once, stopping a slide; false when it was already so.
    bool setOn(bool on);
    bool isOn() const { return !m_off; }
    bool isAnimating() const { return m_animating; }

    /// Thumb and caption boxes in a widget of the given width.
    QRect thumbRect(int width) const;
    QRect captionRect(int width) const;
    /// How far the thumb travels: never negative.
    int travel(int width) const;

    QString leftText() const { return m_leftText; }
    QString rightText() const { return m_rightText; }
    void setLeftText(const QString &text) { m_leftText = text; }
    void setRightText(const QString &text) { m_rightText = text; }
    int speed() const { return m_speed; }
    int margin() const { return m_margin; }
    QSize thumbSize() const { return QSize(m_thumbWidth, m_thumbHeight); }
    QVariantAnimation &animation() { return m_animation; }

public slots:
    void valueChanged(const QVariant &value);
    void finished();

private:
    int thumbOffset(int width) const;

    bool m_off = false;
    int m_thumbOffset = -1; ///< while sliding: the animation's position
    bool m_animating = false;
    int m_margin = 2;
    bool m_showText = true;
    int m_speed = 300;
    int m_thumbWidth = 25;
    int m_thumbHeight = 25;
    QString m_leftText = QStringLiteral("On");
    QString m_rightText = QStringLiteral("Off");
    OrvQRectStyle m_trackStyle;
    OrvQStateRectStyles m_thumbStyles;
    OrvQFontStyle m_leftTextStyle;
    OrvQFontStyle m_rightTextStyle;
    QVariantAnimation m_animation;
};

/// No QWidget handler runs; press, release, enter and leave reach the Impl.
inline constexpr OrvQEventRoutes SwitchEventRoutes =
    OrvQEventRoutes().mouse(OrvQRoute::ImplOnly).withMove(OrvQRoute::BaseOnly).withDoubleClick(OrvQRoute::BaseOnly);

/// An on/off switch whose thumb slides to the other end when clicked.
class OrvQSwitch : public OrvQControl<QWidget, OrvQSwitchImpl, SwitchEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Whether the switch is on; setting it jumps without sliding.
    Q_PROPERTY(bool on READ isOn WRITE setOn NOTIFY toggled)
    /// Caption shown at the left end while on.
    Q_PROPERTY(QString leftText READ leftText WRITE setLeftText NOTIFY leftTextChanged)
    /// Caption shown at the right end while off.
    Q_PROPERTY(QString rightText READ rightText WRITE setRightText NOTIFY rightTextChanged)

public:
    /// A switch that is on, owned by `parent`.
    explicit OrvQSwitch(QWidget *parent = nullptr);
    ~OrvQSwitch() override;

    /// The type name descriptions use, "qtswitch".
    static QString staticTypeName() { return QStringLiteral("qtswitch"); }
    QString typeName() const override { return staticTypeName(); }

    /// Whether the switch is on.
    bool isOn() const;
    /// Jumps to the state without sliding.
    void setOn(bool on);
    /// Caption shown while on.
    QString leftText() const;
    /// Sets the caption shown while on.
    void setLeftText(const QString &text);
    /// Caption shown while off.
    QString rightText() const;
    /// Sets the caption shown while off.
    void setRightText(const QString &text);

signals:
    /// Once per change of state, when a slide ends or setOn changes it.
    void toggled(bool on);
    /// The caption shown while on changed.
    void leftTextChanged(const QString &text);
    /// The caption shown while off changed.
    void rightTextChanged(const QString &text);

protected:
    bool loadControlKeys(const Json::Value &element) override;
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace OrvQtLib
