#pragma once

// The sweeping chart painted the simple way: the whole trace as one polyline
// and the whole previous picture on every repaint. Benchmarks and tests
// measure and compare the toolkit's chart against it.

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QVector>
#include <QWidget>

class ReferenceECGChart : public QWidget
{
public:
    explicit ReferenceECGChart(QWidget *parent = nullptr) : QWidget(parent)
    {
        setAttribute(Qt::WA_TranslucentBackground, true);
        setBackgroundRole(QPalette::NoRole);
        setAutoFillBackground(false);
    }

    void setColors(const QColor &color1, const QColor &color2)
    {
        m_color1 = color1;
        m_color2 = color2;
    }
    void addPoint(float x, float y)
    {
        m_points.append(QPointF(x, y));
        update();
    }
    int pointCount() const { return m_points.size(); }
    void clearPoints() { m_points.clear(); }
    void takeSnapshot() { m_snapshot = grab().toImage(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QBrush(m_color1, Qt::SolidPattern), m_penWidth, Qt::SolidLine, Qt::SquareCap,
                            Qt::BevelJoin));
        if (!m_points.isEmpty())
            painter.drawPolyline(m_points.constData(), m_points.size());
        if (!m_snapshot.isNull()) {
            if (!m_points.isEmpty()) {
                const int x = int(m_points.constLast().x());
                painter.setClipRect(QRect(x + 40, 0, width() - x - 40, height()), Qt::ReplaceClip);
            }
            painter.drawImage(0, 0, m_snapshot);
        }
        painter.end();
    }

private:
    QColor m_color1 = QColor(0, 255, 0);
    QColor m_color2 = QColor(0, 255, 0);
    QVector<QPointF> m_points;
    QImage m_snapshot;
    float m_penWidth = 3.0f;
};
