#pragma once

#include <QProxyStyle>
#include <QSize>

namespace OrvQtLib {

/// A slider that sizes its own handle: the proxy style asks it for the
/// thumb's width and height.
class IOrvQSliderThumb
{
public:
    /// Destroys the interface.
    virtual ~IOrvQSliderThumb() = default;
    /// Width and height the slider wants its handle to have.
    virtual QSize thumbSize() const = 0;
};

/// A scroll bar whose arrow buttons have a length of their own; 0 or less
/// leaves the length to the style.
class IOrvQScrollBarArrows
{
public:
    /// Destroys the interface.
    virtual ~IOrvQScrollBarArrows() = default;
    /// Length of each arrow button along the bar; 0 or less: the style's.
    virtual int arrowLength() const = 0;
};

/// Past this area a control is drawn only where the painter reaches: Qt's
/// styles draw some controls (spin boxes, combo boxes, button panels) through
/// a pixmap of the whole control, gigabytes for one a description makes
/// millions of pixels long.
constexpr qint64 MaxStyledPixels = qint64(4096) * 2048;

/// The application style the toolkit installs: the platform style, with the
/// geometry of sub-elements and sub-controls from Qt's common style, slider
/// handles of the size their slider asks for, and scroll bar arrow buttons of
/// the length their bar asks for.
class CScrollBarStyle : public QProxyStyle
{
    Q_OBJECT

public:
    /// The platform style wrapped; QApplication takes ownership once installed.
    CScrollBarStyle();
    /// Destroys the style.
    ~CScrollBarStyle() override;

    /// Qt's common geometry for sub-elements.
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    /// Qt's common geometry, with slider handles and scroll bar arrow buttons of
    /// the size their widget asks for.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget) const override;
    /// The base style's drawing; a control of more than MaxStyledPixels is
    /// drawn as the part of it the painter reaches.
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    /// As drawPrimitive().
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    /// As drawPrimitive().
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    /// The slider handle's length from its slider; other metrics from the base.
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};

} // namespace OrvQtLib
