// Cost of one point (addPoint and the repaint the window system then does)
// for the toolkit's chart and for the reference that repaints everything,
// at several chart widths.

#include "ecgchart.h"

#include "ecgchartreference.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr int ChartHeight = 200;

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

float sampleY(int i)
{
    const double t = i / 180.0 * 3.1415;
    return float(ChartHeight / 2 - 60 * std::sin(t * 7) * std::cos(t));
}

// Microseconds of CPU per point: a full sweep taken as the snapshot, then
// points timed at a quarter, half and three quarters of the next sweep, each
// point followed by the repaint it asked for. The best of `runs` sweeps, so
// that other load on the machine counts as little as possible.
template <class Chart>
double costPerPoint(int width, int runs)
{
    QWidget panel;
    panel.setAutoFillBackground(true);
    panel.resize(width, ChartHeight);
    auto *chart = new Chart(&panel);
    chart->setGeometry(0, 0, width, ChartHeight);
    chart->setColors(QColor(77, 253, 0), QColor(38, 123, 1));
    panel.show();
    QCoreApplication::processEvents();

    const int perPosition = std::min(100, width / 8);
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        for (int x = chart->pointCount(); x <= width; ++x)
            chart->addPoint(float(x), sampleY(x));
        chart->takeSnapshot();
        chart->clearPoints();
        QCoreApplication::processEvents();

        double cpu = 0;
        int x = 0;
        for (int quarter = 1; quarter <= 3; ++quarter) {
            for (; x < width * quarter / 4; ++x)
                chart->addPoint(float(x), sampleY(x));
            QCoreApplication::processEvents();
            const double start = processCpuSeconds();
            for (int n = 0; n < perPosition; ++n, ++x) {
                chart->addPoint(float(x), sampleY(x));
                QCoreApplication::processEvents();
            }
            cpu += processCpuSeconds() - start;
        }
        best = std::min(best, cpu / (3 * perPosition) * 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int widths[] = {500, 1000, 2000, 4000};
    double chartCost[4] = {1e30, 1e30, 1e30, 1e30};
    double referenceCost[4] = {1e30, 1e30, 1e30, 1e30};
    // Rounds interleave the widths, so that load from other processes falls
    // on all of them alike; each figure is the best of its rounds.
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 4; ++i) {
            chartCost[i] = std::min(chartCost[i], costPerPoint<OrvQtLib::OrvQECGChart>(widths[i], 2));
            if (round < 2)
                referenceCost[i] = std::min(referenceCost[i], costPerPoint<ReferenceECGChart>(widths[i], 1));
        }
    }
    std::printf("%8s %16s %16s %10s\n", "width", "chart us/point", "reference us/pt", "ratio");
    for (int i = 0; i < 4; ++i)
        std::printf("%8d %16.2f %16.2f %9.1fx\n", widths[i], chartCost[i], referenceCost[i],
                    referenceCost[i] / chartCost[i]);
    const double atThousand = referenceCost[1] / chartCost[1];
    std::printf("reference / chart at 1000: %.1f (target >= 50 -> %s)\n", atThousand,
                atThousand >= 50 ? "met" : "NOT met");
    const double growth = chartCost[3] / chartCost[0];
    std::printf("chart cost at 4000 / cost at 500: %.2f (target <= 1.5 -> %s)\n", growth,
                growth <= 1.5 ? "met" : "NOT met");
    return 0;
}
