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
    /// The slider handle's length from its slider; other metrics from the base.
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};

} // namespace OrvQtLib
