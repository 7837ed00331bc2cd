#pragma once

#include <QProxyStyle>
#include <QSize>

namespace OrvQtLib {

/// A slider that sizes its own handle: the proxy style asks it for the
/// thumb's width and height.
class IOrvQSliderThumb
{
public:
    virtual ~IOrvQSliderThumb() = default;
    virtual QSize thumbSize() const = 0;
};

/// A scroll bar whose arrow buttons have a length of their own; 0 or less
/// leaves the length to the style.
class IOrvQScrollBarArrows
{
public:
    virtual ~IOrvQScrollBarArrows() = default;
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
    CScrollBarStyle();
    ~CScrollBarStyle() override;

    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
};

} // namespace OrvQtLib
