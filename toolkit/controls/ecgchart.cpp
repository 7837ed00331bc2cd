#include "ecgchart.h"

#include <QPainter>
#include <QPen>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace OrvQtLib {

namespace {

// Beyond this many pixels from a point its stroke (half the pen, the square
// cap's corner, one pixel of antialiasing) leaves no trace.
constexpr int StrokeReach = 4;
// Pictures are kept for at most this area: a chart sized by a hostile skin
// must not claim gigabytes. Larger charts draw the trace whole and keep
// only this much of the old sweep.
constexpr int MaxPictureWidth = 8192;
constexpr int MaxPictureHeight = 4096;
constexpr qint64 MaxRetainedPixels = qint64(MaxPictureWidth) * MaxPictureHeight;
constexpr double ColumnLimit = 1.0e6;

// The pixel column of a coordinate, kept in a range where column arithmetic
// cannot overflow.
int columnOf(qreal x)
{
    return int(std::floor(std::clamp(x, -ColumnLimit, ColumnLimit)));
}

int rowOf(qreal y)
{
    return int(std::floor(std::clamp(y, -ColumnLimit, ColumnLimit)));
}

// The clip edge of the old picture: the head's x truncated toward zero.
int truncatedColumn(qreal x)
{
    return int(std::clamp(x, -ColumnLimit, ColumnLimit));
}

} // namespace

OrvQECGChartImpl::OrvQECGChartImpl(QWidget *widget) : OrvQControlBaseImpl(widget) {}

OrvQECGChartImpl::~OrvQECGChartImpl() = default;

QPen OrvQECGChartImpl::tracePen() const
{
    return QPen(QBrush(m_color1, Qt::SolidPattern), m_penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void OrvQECGChartImpl::setColors(const QColor &color1, const QColor &color2)
{
    if (color1 != m_color1)
        m_sweep = QImage(); // redrawn in the new colour at the next paint
    m_color1 = color1;
    m_color2 = color2;
}

void OrvQECGChartImpl::addPoint(float x, float y)
{
    const bool first = m_points.isEmpty();
    const QPointF previous = first ? QPointF() : m_points.constLast();
    const QPointF point(x, y);
    m_points.append(point);

    if (std::isnan(x) || std::isnan(y) || (!first && !(point.x() >= previous.x())))
        m_monotonic = false;
    if (first && m_monotonic)
        m_committed = columnOf(point.x()) - 2 * StrokeReach;
    if (m_monotonic && ensureSweepImage())
        drawHead();

    if (!m_widget)
        return;
    if (!m_monotonic) {
        m_widget->update();
        return;
    }
    // The new segment, and the rows of the old picture that the moving gap
    // hides; nothing else changed.
    const int height = m_widget->height();
    const int head = columnOf(point.x());
    const int tail = first ? head : columnOf(previous.x());
    const qreal top = first ? point.y() : std::min(point.y(), previous.y());
    const qreal bottom = first ? point.y() : std::max(point.y(), previous.y());
    const int rowTop = rowOf(top) - StrokeReach - 1;
    QRegion dirty(QRect(tail - StrokeReach - 1, rowTop, head - tail + 2 * StrokeReach + 2,
                        rowOf(bottom) + StrokeReach + 2 - rowTop));
    if (!m_snapshot.isNull()) {
        if (first) {
            dirty += QRect(std::min(0, tail), 0, head + GapWidth + 2 - std::min(0, tail), height);
        } else {
            const int from = truncatedColumn(previous.x()) + GapWidth - 1;
            const int to = truncatedColumn(point.x()) + GapWidth + 1;
            dirty += snapshotRows(from, to);
        }
    }
    m_widget->update(dirty);
}

QRect OrvQECGChartImpl::snapshotRows(int from, int to) const
{
    // Only rows where the old picture has something in these columns change
    // when the gap moves over them.
    const int height = m_widget->height();
    const QRect whole(from, 0, to - from, height);
    const qreal ratio = m_snapshot.devicePixelRatio();
    const int left = std::max(0, int(std::floor(from * ratio)));
    const int right = std::min(m_snapshot.width(), int(std::ceil(to * ratio)));
    if (right - left > 64)
        return whole;
    if (right <= left || m_snapshot.format() != QImage::Format_ARGB32_Premultiplied)
        return right <= left ? QRect() : whole;
    int first = -1;
    int last = -1;
    for (int row = 0; row < m_snapshot.height(); ++row) {
        const QRgb *line = reinterpret_cast<const QRgb *>(m_snapshot.constScanLine(row));
        for (int column = left; column < right; ++column) {
            if (qAlpha(line[column]) != 0) {
                if (first < 0)
                    first = row;
                last = row;
                break;
            }
        }
    }
    if (first < 0)
        return QRect();
    const int y0 = int(std::floor(first / ratio));
    const int y1 = int(std::ceil((last + 1) / ratio));
    return QRect(from, y0, to - from, y1 - y0);
}

void OrvQECGChartImpl::clearPoints()
{
    m_points.clear();
    m_monotonic = true;
    m_committed = 0;
    if (!m_sweep.isNull())
        m_sweep.fill(Qt::transparent);
}

void OrvQECGChartImpl::takeSnapshot()
{
    // grab() paints at once; from inside a paint it would recurse.
    if (!m_widget || m_widget->paintingActive())
        return;
    const QSize size = m_widget->size();
    m_snapshot = m_widget->grab(QRect(0, 0, std::min(size.width(), MaxPictureWidth),
                                      std::min(size.height(), MaxPictureHeight)))
                     .toImage();
}

QSize OrvQECGChartImpl::sweepPixels() const
{
    // Rounded up: at a fractional ratio a rounded-down image would stop short
    // of the widget's right and bottom edges.
    const qreal ratio = m_widget->devicePixelRatioF();
    return QSize(int(std::ceil(m_widget->width() * ratio)), int(std::ceil(m_widget->height() * ratio)));
}

bool OrvQECGChartImpl::ensureSweepImage()
{
    if (!m_widget)
        return false;
    const QSize size = sweepPixels();
    if (size.isEmpty() || qint64(size.width()) * size.height() > MaxRetainedPixels)
        return false;
    if (m_sweep.size() != size)
        rebuildSweepImage();
    return !m_sweep.isNull();
}

void OrvQECGChartImpl::rebuildSweepImage()
{
    m_sweep = QImage(sweepPixels(), QImage::Format_ARGB32_Premultiplied);
    if (m_sweep.isNull())
        return;
    m_sweep.setDevicePixelRatio(m_widget->devicePixelRatioF());
    m_sweep.fill(Qt::transparent);
    if (m_points.isEmpty()) {
        m_committed = 0;
        return;
    }
    m_committed = columnOf(m_points.constFirst().x()) - 2 * StrokeReach;
    drawHead();
}

int OrvQECGChartImpl::firstTailIndex() const
{
    // The last point far enough left of the committed edge that nothing
    // before it reaches the live columns.
    for (int i = m_points.size() - 1; i > 0; --i) {
        if (columnOf(m_points.at(i).x()) < m_committed - StrokeReach - 1)
            return i;
    }
    return 0;
}

void OrvQECGChartImpl::drawHead()
{
    if (m_points.isEmpty())
        return;
    // Columns from the committed edge to the head's reach are drawn again
    // from the last few points; those left of the new edge become final.
    const int head = columnOf(m_points.constLast().x());
    const int right = std::min(head + StrokeReach + 1, m_widget->width());
    const int from = firstTailIndex();
    // Strokes of the tail points stay within their rows and the pen's reach.
    qreal top = m_points.at(from).y();
    qreal bottom = top;
    for (int i = from + 1; i < m_points.size(); ++i) {
        top = std::min(top, m_points.at(i).y());
        bottom = std::max(bottom, m_points.at(i).y());
    }
    const int rowTop = rowOf(top) - StrokeReach - 1;
    const QRect strip = QRect(m_committed, rowTop, right - m_committed, rowOf(bottom) + StrokeReach + 2 - rowTop)
                            .intersected(QRect(0, 0, m_widget->width(), m_widget->height()));
    if (!strip.isEmpty()) {
        // Cleared and redrawn in whole device pixels: at a fractional ratio
        // the strip's edge splits a pixel the tail strokes must cover again,
        // or the trace shows a seam there.
        const qreal ratio = m_sweep.devicePixelRatio();
        const QRectF cleared(std::floor(strip.left() * ratio) / ratio, std::floor(strip.top() * ratio) / ratio,
                             std::ceil((strip.right() + 1) * ratio) / ratio - std::floor(strip.left() * ratio) / ratio,
                             std::ceil((strip.bottom() + 1) * ratio) / ratio - std::floor(strip.top() * ratio) / ratio);
        QPainter painter(&m_sweep);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(cleared, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(tracePen());
        painter.setClipRect(cleared);
        painter.drawPolyline(m_points.constData() + from, m_points.size() - from);
    }
    m_committed = std::max(m_committed, head - StrokeReach);
}

void OrvQECGChartImpl::draw(QPainter *painter, const QRect &)
{
    if (!painter || !m_widget)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(tracePen());
    painter->setBrush(Qt::NoBrush);

    if (!m_points.isEmpty()) {
        if (m_monotonic && ensureSweepImage()) {
            painter->drawImage(QPointF(0, 0), m_sweep);
        } else {
            painter->drawPolyline(m_points.constData(), m_points.size());
        }
    }

    if (!m_snapshot.isNull()) {
        bool visible = true;
        if (!m_points.isEmpty()) {
            const int x = truncatedColumn(m_points.constLast().x());
            const int w = m_widget->width() - x - GapWidth;
            visible = w > 0;
            painter->setClipRect(QRect(x + GapWidth, 0, w, m_widget->height()), Qt::ReplaceClip);
        } else {
            painter->setClipping(false);
        }
        if (visible)
            painter->drawImage(QPointF(0, 0), m_snapshot);
    }
    painter->restore();
}

OrvQECGChart::OrvQECGChart(QWidget *parent) : OrvQControl(parent)
{
    setAttribute(Qt::WA_TranslucentBackground, true);
    setBackgroundRole(QPalette::NoRole);
    setAutoFillBackground(false);
}

OrvQECGChart::~OrvQECGChart() = default;

void OrvQECGChart::setColors(const QColor &color1, const QColor &color2)
{
    m_impl->setColors(color1, color2);
}

void OrvQECGChart::addPoint(float x, float y)
{
    m_impl->addPoint(x, y);
}

int OrvQECGChart::pointCount() const
{
    return m_impl->pointCount();
}

void OrvQECGChart::clearPoints()
{
    m_impl->clearPoints();
}

void OrvQECGChart::takeSnapshot()
{
    m_impl->takeSnapshot();
}

} // namespace OrvQtLib
