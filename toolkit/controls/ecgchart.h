#pragma once

#include "control.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QVector>

namespace OrvQtLib {

/// Paints one sweep of a waveform over the picture of the previous sweep.
///
/// The trace is kept as a retained image: each new point redraws only the
/// columns near the head that later points can still touch, so a repaint is
/// a blit of the strips that changed. Adding a point costs the same on any
/// width.
class OrvQECGChartImpl : public OrvQControlBaseImpl
{
    Q_OBJECT

public:
    explicit OrvQECGChartImpl(QWidget *widget);
    ~OrvQECGChartImpl() override;

    void draw(QPainter *painter, const QRect &rect) override;

    void setColors(const QColor &color1, const QColor &color2);
    void addPoint(float x, float y);
    int pointCount() const { return m_points.size(); }
    void clearPoints();
    void takeSnapshot();

    QColor color1() const { return m_color1; }
    QColor color2() const { return m_color2; }
    const QVector<QPointF> &points() const { return m_points; }
    const QImage &snapshot() const { return m_snapshot; }
    float penWidth() const { return m_penWidth; }

    /// Width of the erase gap ahead of the trace head.
    static constexpr int GapWidth = 40;

private:
    QPen tracePen() const;
    QSize sweepPixels() const;
    bool ensureSweepImage();
    void rebuildSweepImage();
    void drawHead();
    QRect snapshotRows(int from, int to) const;
    int firstTailIndex() const;

    QColor m_color1 = QColor(0, 255, 0);
    QColor m_color2 = QColor(0, 255, 0);
    QVector<QPointF> m_points;
    QImage m_snapshot;
    float m_penWidth = 3.0f;

    /// Columns left of m_committed are final in m_sweep; the few right of it
    /// are redrawn with each point. m_monotonic is false
    /// once a point went left of its predecessor; the trace is then drawn
    /// whole, as one polyline, on every repaint.
    QImage m_sweep;
    int m_committed = 0;
    bool m_monotonic = true;
};

/// A sweeping waveform chart: points fed one at a time wrap around the width.
class OrvQECGChart : public OrvQControl<QWidget, OrvQECGChartImpl, PaintOnlyEventRoutes>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    /// An empty chart, owned by `parent`.
    explicit OrvQECGChart(QWidget *parent = nullptr);
    ~OrvQECGChart() override;

    /// The type name descriptions use, "qtecgchart".
    static QString staticTypeName() { return QStringLiteral("qtecgchart"); }
    QString typeName() const override { return staticTypeName(); }

    /// The colours of the trace (`color1`) and of the sweep's leading edge (`color2`).
    void setColors(const QColor &color1, const QColor &color2);
    /// Adds a point; `x` and `y` are in the chart's value range.
    void addPoint(float x, float y);
    /// The number of points held.
    int pointCount() const;
    /// Removes every point.
    void clearPoints();
    /// Keeps the current trace as the picture shown behind the sweep.
    void takeSnapshot();
};

} // namespace OrvQtLib
