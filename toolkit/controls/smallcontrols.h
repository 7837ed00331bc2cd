#pragma once

#include "control.h"
#include "controlkeys.h"

#include <QLCDNumber>
#include <QSpinBox>
#include <QWidget>

// Four thin controls: an LCD read-out, a spin box, a bare canvas and a
// splitter bar.

namespace OrvQtLib {

/// Segment digits in one colour over an optional background style.
class OrvQLCDNumberImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    /// What QLCDNumber::setDigitCount accepts.
    static constexpr int MaxDigitCount = 99;

    explicit OrvQLCDNumberImpl(QWidget *widget);
    ~OrvQLCDNumberImpl() override;

    static const OrvQKeyTable<OrvQLCDNumberImpl> &attrKeys();
    static const OrvQStyleSlotTable<OrvQLCDNumberImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

    QColor digitColor() const { return m_digitColor; }
    /// Sets the digit colour in every palette group, so the digits keep it
    /// whichever window is active; invalid means black.
    void setDigitColor(const QColor &color);

private:
    QColor m_digitColor;
    OrvQRectStyle m_backgroundStyle;
};

/// Mouse events take QLCDNumber's way; the background is painted under
/// QLCDNumber's own digits.
inline constexpr OrvQEventRoutes LCDNumberEventRoutes = PaintOnlyEventRoutes.withPaint(OrvQRoute::ImplThenBase);

/// A QLCDNumber whose digits take a colour from the description.
class OrvQLCDNumber : public OrvQControl<QLCDNumber, OrvQLCDNumberImpl, LCDNumberEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)
    /// Colour of the digits.
    Q_PROPERTY(QColor digitColor READ digitColor WRITE setDigitColor NOTIFY digitColorChanged)

public:
    /// An LCD number, owned by `parent`.
    explicit OrvQLCDNumber(QWidget *parent = nullptr);
    ~OrvQLCDNumber() override;

    /// The type name descriptions use, "qtlcdnumber".
    static QString staticTypeName() { return QStringLiteral("qtlcdnumber"); }
    QString typeName() const override { return staticTypeName(); }

    /// The digits' colour; invalid while the palette's is used.
    QColor digitColor() const;
    /// Sets the digits' colour; an invalid colour goes back to the palette's.
    void setDigitColor(const QColor &color);

signals:
    /// The digits' colour changed.
    void digitColorChanged(const QColor &color);

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

class OrvQSpinBoxImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQSpinBoxImpl(QWidget *widget);
    ~OrvQSpinBoxImpl() override;
};

/// A frameless QSpinBox on a transparent background: Qt handles and paints
/// everything.
inline constexpr OrvQEventRoutes SpinBoxEventRoutes = PaintOnlyEventRoutes.withPaint(OrvQRoute::BaseOnly);

/// A spin box built from a description.
class OrvQSpinBox : public OrvQControl<QSpinBox, OrvQSpinBoxImpl, SpinBoxEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A spin box, owned by `parent`.
    explicit OrvQSpinBox(QWidget *parent = nullptr);
    ~OrvQSpinBox() override;

    /// The type name descriptions use, "qtspinbox".
    static QString staticTypeName() { return QStringLiteral("qtspinbox"); }
    QString typeName() const override { return staticTypeName(); }
};

class OrvQCanvasImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQCanvasImpl(QWidget *widget);
    ~OrvQCanvasImpl() override;
};

/// A bare widget that paints nothing, so it shows its parent.
class OrvQCanvas : public OrvQControl<QWidget, OrvQCanvasImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty canvas, owned by `parent`.
    explicit OrvQCanvas(QWidget *parent = nullptr);
    ~OrvQCanvas() override;

    /// The type name descriptions use, "canvas".
    static QString staticTypeName() { return QStringLiteral("canvas"); }
    QString typeName() const override { return staticTypeName(); }
};

/// A bar painted from one style; it does not resize its neighbours.
class OrvQSplitterImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQSplitterImpl(QWidget *widget);
    ~OrvQSplitterImpl() override;

    static const OrvQStyleSlotTable<OrvQSplitterImpl> &styleSlots();

    bool load(const Json::Value &element);
    void draw(QPainter *painter, const QRect &rect) override;

private:
    OrvQRectStyle m_barStyle;
};

/// Presses, releases and moves over the bar stop there: they stay accepted
/// and never reach the parent.
inline constexpr OrvQEventRoutes SplitterEventRoutes = PaintOnlyEventRoutes.withPress(OrvQRoute::Nothing)
                                                           .withRelease(OrvQRoute::Nothing)
                                                           .withMove(OrvQRoute::Nothing);

/// A splitter bar painted from a rect style.
class OrvQSplitter : public OrvQControl<QWidget, OrvQSplitterImpl, SplitterEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// A splitter, owned by `parent`.
    explicit OrvQSplitter(QWidget *parent = nullptr);
    ~OrvQSplitter() override;

    /// The type name descriptions use, "qtsplitter".
    static QString staticTypeName() { return QStringLiteral("qtsplitter"); }
    QString typeName() const override { return staticTypeName(); }

protected:
    bool loadControlKeys(const Json::Value &element) override;
};

} // namespace OrvQtLib
