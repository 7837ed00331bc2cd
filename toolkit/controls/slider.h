#pragma once

#include "control.h"
#include "controlkeys.h"
#include "proxystyle.h"

#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>

namespace OrvQtLib {

/// A skinned slider: a channel, the channel filled up to the position, and a
/// thumb whose state follows the pointer over it.
class OrvQSliderImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQSliderImpl(QWidget *widget);
    ~OrvQSliderImpl() override;

    static const OrvQKeyTable<OrvQSliderImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQSliderImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;
    void mousePress(QMouseEvent *event) override;
    void mouseRelease(QMouseEvent *event) override;
    void mouseEnter(QEvent *event) override;
    void mouseLeave(QEvent *event) override;
    void mouseMove(QMouseEvent *event) override;

    /// The filled part of the channel inside `rect`.
    QRect fillRect(const QRect &rect) const;
    QRect thumbRect() const;

    QSize thumbSize() const { return QSize(m_thumbWidth, m_thumbHeight); }
    void setThumbSize(const QSize &size);
    int channelSize() const { return m_channelSize; }

private:
    QSlider *slider() const;
    QRect channelRect(const QRect &rect) const;
    /// Moves the thumb to `state`, repainting on a change.
    void setThumbState(OrvQControlState state);

    OrvQRectStyle m_channelStyle;
    OrvQRectStyle m_fillStyle;
    OrvQStateRectStyles m_thumbStyles;
    int m_channelSize = 10;
    int m_thumbWidth = 20;
    int m_thumbHeight = 20;
};

/// Every handler runs the QSlider handler first.
inline constexpr OrvQEventRoutes SliderEventRoutes = OrvQEventRoutes().withDoubleClick(OrvQRoute::BaseOnly);

/// A skinned slider: a channel, its filled part and a thumb.
class OrvQSlider : public OrvQControl<QSlider, OrvQSliderImpl, SliderEventRoutes>, public IOrvQSliderThumb
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Size of the thumb; each side held to 0..QWIDGETSIZE_MAX.
    Q_PROPERTY(QSize thumbSize READ thumbSize WRITE setThumbSize NOTIFY thumbSizeChanged)

public:
    /// A horizontal slider, owned by `parent`.
    explicit OrvQSlider(QWidget *parent = nullptr);
    /// A slider of the given orientation, owned by `parent`.
    OrvQSlider(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~OrvQSlider() override;

    /// The type name descriptions use, "qtslider".
    static QString staticTypeName() { return QStringLiteral("qtslider"); }
    QString typeName() const override { return staticTypeName(); }

    /// Size of the thumb.
    QSize thumbSize() const override;
    /// Sets the thumb's size; negative sides count as 0.
    void setThumbSize(const QSize &size);
    /// The option Qt's own painting would use, for the Impl and the style.
    QStyleOptionSlider styleOption() const;

signals:
    /// The thumb's size changed.
    void thumbSizeChanged(const QSize &size);

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

/// A skinned scroll bar: a track, a thumb and two arrow buttons, each with
/// its own state and optional icon. Scroll areas create and skin it in code.
class OrvQScrollBarImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    enum Part { SubLine, AddLine, Thumb };
    /// Per-part states; Reserved is drawn while the bar is disabled.
    enum PartState { Normal = 0, Hover = 1, Pressed = 2, Reserved = 3 };

    explicit OrvQScrollBarImpl(QWidget *widget);
    ~OrvQScrollBarImpl() override;

    static const OrvQKeyTable<OrvQScrollBarImpl> &attrKeys();
    /// The slots of a scroll-area control's scroll bar elements; the bar
    /// itself reads no "style" key.
    static const OrvQStyleSlotTable<OrvQScrollBarImpl> &elementStyleSlots();

    bool load(const Json::Value &element);
    /// No visual state of its own: each part has one.
    void paint(QWidget *widget, QPaintEvent *event) override;
    void draw(QPainter *painter, const QRect &rect) override;
    void mousePress(QMouseEvent *event) override;
    void mouseRelease(QMouseEvent *event) override;
    void mouseLeave(QEvent *event) override;
    void mouseMove(QMouseEvent *event) override;

    void setTrackStyle(const OrvQRectStyle &style) { m_trackStyle = style; }
    /// Index 0 to 3 replaces one state, 4 all four; others are ignored.
    void setSubLineStyle(int index, const OrvQRectStyle &style) { m_subLineStyles.setAt(index, style); }
    void setAddLineStyle(int index, const OrvQRectStyle &style) { m_addLineStyles.setAt(index, style); }
    void setThumbStyle(int index, const OrvQRectStyle &style) { m_thumbStyles.setAt(index, style); }
    void setArrowIcon(bool up, const QString &name) { (up ? m_upIcon : m_downIcon) = name; }
    void setThumbIcon(const QString &name) { m_thumbIcon = name; }

    const OrvQRectStyle &trackStyle() const { return m_trackStyle; }
    const OrvQRectStyle &partStyle(Part part, int state) const { return stylesOf(part)[state]; }
    int partState(Part part) const { return m_states[part]; }
    QString upIcon() const { return m_upIcon; }
    QString downIcon() const { return m_downIcon; }
    QString thumbIcon() const { return m_thumbIcon; }
    QRect partRect(Part part) const;

private:
    void setPartState(Part part, int state);
    const OrvQStateRectStyles &stylesOf(Part part) const;

    OrvQRectStyle m_trackStyle;
    OrvQStateRectStyles m_subLineStyles;
    OrvQStateRectStyles m_addLineStyles;
    OrvQStateRectStyles m_thumbStyles;
    int m_states[3] = {Normal, Normal, Normal};
    QString m_upIcon;
    QString m_downIcon;
    QString m_thumbIcon;
    OrvQImageAlign m_upAlign{0, 0, 1, 1};
    OrvQImageAlign m_downAlign{0, 0, 1, 1};
};

/// The Impl first, then the Qt handler; entering changes nothing.
inline constexpr OrvQEventRoutes ScrollBarEventRoutes = OrvQEventRoutes()
                                                            .mouse(OrvQRoute::ImplThenBase)
                                                            .withEnter(OrvQRoute::BaseOnly)
                                                            .withDoubleClick(OrvQRoute::BaseOnly);

/// A skinned scroll bar: a track, a thumb and two arrow buttons.
class OrvQScrollBar : public OrvQControl<QScrollBar, OrvQScrollBarImpl, ScrollBarEventRoutes>,
                      public IOrvQScrollBarArrows
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Length of each arrow button along the bar; 0 leaves it to the style.
    Q_PROPERTY(int arrowLength READ arrowLength WRITE setArrowLength NOTIFY arrowLengthChanged)
    /// Image name of the icon drawn on the thumb.
    Q_PROPERTY(QString thumbIcon READ thumbIcon WRITE setThumbIcon NOTIFY thumbIconChanged)

public:
    /// A vertical scroll bar, owned by `parent`.
    explicit OrvQScrollBar(QWidget *parent = nullptr);
    /// A scroll bar of the given orientation, owned by `parent`.
    OrvQScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~OrvQScrollBar() override;

    /// The type name descriptions use, "qtscrollbar".
    static QString staticTypeName() { return QStringLiteral("qtscrollbar"); }
    QString typeName() const override { return staticTypeName(); }

    /// The option Qt's own painting would use.
    QStyleOptionSlider styleOption() const;

    /// Replaces the track's rect style.
    void setTrackStyle(const OrvQRectStyle &style);
    /// Replaces the sub-line (up or left) button's style of state `index` (0 to
    /// 3), or of all four for 4; any other index is ignored.
    void setSubLineStyle(int index, const OrvQRectStyle &style);
    /// As setSubLineStyle(int, const OrvQRectStyle &), for the add-line button.
    void setAddLineStyle(int index, const OrvQRectStyle &style);
    /// As setSubLineStyle(int, const OrvQRectStyle &), for the thumb.
    void setThumbStyle(int index, const OrvQRectStyle &style);
    /// Replaces the sub-line button's style of one state; a value outside the
    /// four states is ignored.
    void setSubLineStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// Replaces the add-line button's style of one state; a value outside the
    /// four states is ignored.
    void setAddLineStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// Replaces the thumb's style of one state; a value outside the four states
    /// is ignored.
    void setThumbStyle(OrvQControlState state, const OrvQRectStyle &style);
    /// The icon of the up (sub-line) button when `up`, else of the down button.
    void setArrowIcon(bool up, const QString &name);
    /// The icon of the sub-line button for Qt::UpArrow or Qt::LeftArrow, of the
    /// add-line button for Qt::DownArrow or Qt::RightArrow; Qt::NoArrow and
    /// other values are ignored.
    void setArrowIcon(Qt::ArrowType arrow, const QString &name);
    /// The thumb's icon.
    QString thumbIcon() const;
    /// Sets the thumb's icon by image name.
    void setThumbIcon(const QString &name);

    /// Length of each arrow button along the bar; 0 leaves it to the style.
    int arrowLength() const override { return m_arrowLength; }
    /// Sets the arrow buttons' length, held to 0..QWIDGETSIZE_MAX.
    void setArrowLength(int length);

signals:
    /// The arrow buttons' length changed.
    void arrowLengthChanged(int length);
    /// The thumb's icon changed.
    void thumbIconChanged(const QString &name);

protected:
    bool loadControlKeys(const Json::Value &element) override;

private:
    int m_arrowLength = 0;
};

} // namespace OrvQtLib
