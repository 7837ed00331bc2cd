// Switching the monitor between its day and night packages while it runs:
// the CPU time of one switch (reading the package and restyling every
// control) against the CPU time of the monitor's first frame, drawn in the
// same run; and resident memory over many switches back and forth.
//
//   bench_skinswitch DAY.data NIGHT.data [switches]   (1000 switches)

#include "orvqtquelvane.h"

#include "benchsupport.h"
#include "controlregistry.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

double drawMs(QWidget &window, QImage &target)
{
    CpuTimer timer;
    QPainter painter(&target);
    window.render(&painter);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_skinswitch DAY.data NIGHT.data [switches]\n");
        return 2;
    }
    const QString day = QString::fromLocal8Bit(argv[1]);
    const QString night = QString::fromLocal8Bit(argv[2]);
    const int switches = argc > 3 ? std::max(20, atoi(argv[3])) : 1000;

    OrvQtLib::initialize();
    if (!OrvQtLib::loadSkinPackage(day)) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    OrvQtQuelvane window;
    window.setSkinPackages(day, night);
    window.resize(1024, 1024);
    window.show();
    // The charts fill up to a whole sweep on their own; with the timers
    // stopped, what memory does is the switches' doing.
    for (QTimer *timer : window.findChildren<QTimer *>())
        timer->stop();
    QImage frame(window.size(), QImage::Format_ARGB32_Premultiplied);
    const double firstFrame = drawMs(window, frame);

    std::vector<double> switchMs;
    std::vector<double> frameMs;
    double afterTen = 0;
    for (int i = 0; i < switches; ++i) {
        CpuTimer timer;
        if (!window.toggleNight()) {
            std::fprintf(stderr, "switch %d failed\n", i);
            return 1;
        }
        switchMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        frameMs.push_back(drawMs(window, frame));
        QCoreApplication::processEvents();
        if (i + 1 == 10)
            afterTen = residentMiB();
    }
    const double atEnd = residentMiB();

    const double switchMedian = medianOf(switchMs);
    std::printf("first frame drawn                 %8.2f ms CPU\n", firstFrame);
    std::printf("one switch, median of %4d        %8.2f ms CPU   (p99 %.2f)\n", switches, switchMedian,
                percentile99(switchMs));
    std::printf("frame drawn after a switch        %8.2f ms CPU\n", medianOf(frameMs));
    std::printf("switch / first frame: %.2f (target <= 1 -> %s)\n", switchMedian / firstFrame,
                switchMedian <= firstFrame ? "met" : "NOT met");
    std::printf("resident after 10 switches %.2f MiB, after %d %.2f MiB: %+.2f MiB (target within 1 -> %s)\n",
                afterTen, switches, atEnd, atEnd - afterTen, atEnd - afterTen <= 1.0 ? "met" : "NOT met");
    return 0;
}
