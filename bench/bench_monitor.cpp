// The monitor window under its real timers, against the same window whose
// charts repaint the whole sweep on every point; and the time from start to
// the first painted frame, against a bare QMainWindow of the same size.

#include "orvqtquelvane.h"

#include "controlregistry.h"
#include "ecgchartreference.h"
#include "label.h"
#include "windowloader.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QMainWindow>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace {

double monotonicSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

int draw()
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return qrand();
    QT_WARNING_POP
}

// The monitor display with the reference chart, step for step: a full
// update after every point.
class ReferenceMonitor : public QMainWindow
{
public:
    ReferenceMonitor()
    {
        setMinimumSize(1024, 1024);
        OrvQtLib::loadWindowLayout(this, QStringLiteral("MainFrame"));
        setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        waveTimer = new QTimer(this);
        waveTimer->setInterval(10);
        waveTimer->setTimerType(Qt::PreciseTimer);
        connect(waveTimer, &QTimer::timeout, this, [this] {
            step(m_charts[0], m_ecg, 50);
            step(m_charts[1], m_pleth, 50);
            step(m_charts[2], m_resp, 50);
            step(m_charts[3], m_ecg, 30);
        });
        waveTimer->start();
        auto *vitals = new QTimer(this);
        vitals->setInterval(1000);
        connect(vitals, &QTimer::timeout, this, [this] { writeVitals(); });
        vitals->start();

        QFile file(QStringLiteral(":/OrvQtQuelvane/ecg.txt"));
        if (file.open(QIODevice::ReadOnly)) {
            for (int i = 0; !file.atEnd(); ++i) {
                const float v = QString::fromLatin1(file.readLine()).toFloat();
                const double a = i / 180.0 * 3.1415;
                m_ecg.append(v);
                m_pleth.append(float(double(v) * std::sin(a)));
                m_resp.append(float(double(v) * std::cos(a) * 0.5));
            }
        }
        const char *containers[] = {"ecgContainer", "plethContainer", "respContainer", "pluseContainer"};
        const QColor colours[] = {QColor(77, 253, 0), QColor(44, 248, 247), QColor(250, 251, 57), Qt::white};
        for (int i = 0; i < 4; ++i) {
            QWidget *container = findChild<QWidget *>(containers[i]);
            if (!container)
                continue;
            m_charts[i] = new ReferenceECGChart(container);
            m_charts[i]->setColors(colours[i], colours[i]);
            m_charts[i]->setGeometry(0, 0, container->width(), container->height());
        }
        if (auto *battery = findChild<QProgressBar *>(QStringLiteral("battery"))) {
            battery->setRange(0, 5);
            battery->setValue(5);
        }
        if (auto *radio = findChild<QRadioButton *>(QStringLiteral("radioMain")))
            radio->setChecked(true);
        writeVitals();
    }

    QTimer *waveTimer = nullptr;

private:
    void step(ReferenceECGChart *chart, const QVector<float> &series, float scale)
    {
        if (!chart || series.isEmpty())
            return;
        const int pos = m_pos[chart];
        chart->addPoint(float(pos), float(chart->height() / 2) - series[pos] * scale);
        int next = pos + 1 < series.size() ? pos + 1 : 0;
        if (chart->pointCount() > chart->width()) {
            chart->takeSnapshot();
            chart->clearPoints();
            next = 0;
        }
        m_pos[chart] = next;
        chart->update();
    }
    void writeVitals()
    {
        auto set = [this](const char *name, const QString &text) {
            if (auto *label = qobject_cast<OrvQtLib::OrvQLabel *>(findChild<QLabel *>(name)))
                label->setText(text);
        };
        set("hr", QString::number(draw() % 10 + 100));
        set("spo2", QString::number(draw() % 10 + 100));
        set("rp", QString::number(draw() % 10 + 50));
        const int systolic = draw() % 10 + 100;
        set("nbp", QStringLiteral("%1/%2").arg(systolic).arg(draw() % 10 + 70));
        set("pluse", QString::number(draw() % 10 + 75));
        set("time", QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss")));
    }

    ReferenceECGChart *m_charts[4] = {};
    QVector<float> m_ecg, m_pleth, m_resp;
    QMap<ReferenceECGChart *, int> m_pos;
};

struct RunFigures {
    double cpuPerSecond;
    double ticksDelivered;
};

QTimer *waveTimerOf(QWidget *window)
{
    for (QTimer *timer : window->findChildren<QTimer *>()) {
        if (timer->interval() == 10)
            return timer;
    }
    return nullptr;
}

RunFigures runWindow(QWidget *window, int seconds)
{
    window->show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    int ticks = 0;
    QObject::connect(waveTimerOf(window), &QTimer::timeout, window, [&ticks] { ++ticks; });
    QElapsedTimer wall;
    const double cpuStart = processCpuSeconds();
    wall.start();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double elapsed = wall.nsecsElapsed() * 1e-9;
    const double cpu = processCpuSeconds() - cpuStart;
    window->hide();
    return {cpu / elapsed, ticks / (elapsed * 100.0)};
}

// Milliseconds from process start to the first frame painted, in a child
// process so that start-up costs are paid afresh.
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

int firstFrameChild(const char *kind, const QElapsedTimer &sinceStart, int argc, char **argv)
{
    const bool monitor = qstrcmp(kind, "monitor") == 0;
    QApplication app(argc, argv);
    const bool phases = qEnvironmentVariableIsSet("ORV_BENCH_PHASES");
    auto phase = [&](const char *name) {
        if (phases)
            std::fprintf(stderr, "%-12s %8.3f ms\n", name, sinceStart.nsecsElapsed() * 1e-6);
    };
    phase("application");
    std::unique_ptr<QMainWindow> window;
    if (monitor) {
        OrvQtLib::initialize();
        phase("toolkit");
        OrvQtLib::loadSkinPackage(QStringLiteral("./Quelvane.data"));
        phase("package");
        window = std::make_unique<OrvQtQuelvane>();
        phase("window");
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(1024, 1024);
        // Any window that shows text first loads the font database.
        if (qstrcmp(kind, "bare-font") == 0)
            QFontMetrics(window->font()).height();
    }
    FirstPaint watcher;
    window->installEventFilter(&watcher);
    window->show();
    phase("shown");
    while (!watcher.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    // When the frame was done, on a clock the parent shares, and how long
    // it took since main() began.
    std::printf("%.6f %.3f\n", monotonicSeconds(), sinceStart.nsecsElapsed() * 1e-6);
    std::fflush(stdout);
    return 0;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct FirstFrame {
    double fromLaunchMs; // process launched to frame painted
    double fromMainMs;   // main() entered to frame painted
};

FirstFrame childFirstFrame(const QString &program, const QString &kind)
{
    QProcess child;
    const double launched = monotonicSeconds();
    child.start(program, {QStringLiteral("--first-frame"), kind});
    if (!child.waitForFinished(60000))
        return {-1, -1};
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return {-1, -1};
    return {(fields[0].toDouble() - launched) * 1e3, fields[1].toDouble()};
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && qstrcmp(argv[1], "--first-frame") == 0)
        return firstFrameChild(argv[2], sinceStart, 1, argv);

    int seconds = 20;
    if (argc == 2)
        seconds = std::max(1, atoi(argv[1]));

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(quelvane);
    OrvQtLib::initialize();
    if (!OrvQtLib::loadSkinPackage(QStringLiteral("./Quelvane.data"))) {
        std::fprintf(stderr, "run me from the folder holding Quelvane.data\n");
        return 1;
    }

    RunFigures mine;
    RunFigures reference;
    {
        OrvQtQuelvane window;
        mine = runWindow(&window, seconds);
    }
    {
        ReferenceMonitor window;
        reference = runWindow(&window, seconds);
    }
    std::printf("%d s of real timers per window\n", seconds);
    std::printf("%-24s %14s %16s\n", "", "CPU s per s", "ticks delivered");
    std::printf("%-24s %14.4f %15.1f%%\n", "monitor", mine.cpuPerSecond, mine.ticksDelivered * 100);
    std::printf("%-24s %14.4f %15.1f%%\n", "reference (full repaint)", reference.cpuPerSecond,
                reference.ticksDelivered * 100);
    const double cpuRatio = reference.cpuPerSecond / mine.cpuPerSecond;
    std::printf("CPU reference / monitor: %.1f (target >= 10 -> %s)\n", cpuRatio, cpuRatio >= 10 ? "met" : "NOT met");
    std::printf("ticks delivered: %.1f%% (target >= 98%% -> %s)\n", mine.ticksDelivered * 100,
                mine.ticksDelivered >= 0.98 ? "met" : "NOT met");

    std::vector<double> monitorLaunch, monitorMain, bareLaunch, bareMain, fontLaunch, fontMain;
    const QString self = QCoreApplication::applicationFilePath();
    for (int run = 0; run < 7; ++run) {
        const FirstFrame monitor = childFirstFrame(self, QStringLiteral("monitor"));
        const FirstFrame bare = childFirstFrame(self, QStringLiteral("bare"));
        monitorLaunch.push_back(monitor.fromLaunchMs);
        monitorMain.push_back(monitor.fromMainMs);
        bareLaunch.push_back(bare.fromLaunchMs);
        bareMain.push_back(bare.fromMainMs);
        const FirstFrame font = childFirstFrame(self, QStringLiteral("bare-font"));
        fontLaunch.push_back(font.fromLaunchMs);
        fontMain.push_back(font.fromMainMs);
    }
    std::printf("start to first frame, median of 7 runs   monitor   bare QMainWindow   ratio\n");
    const double launchRatio = medianOf(monitorLaunch) / medianOf(bareLaunch);
    const double mainRatio = medianOf(monitorMain) / medianOf(bareMain);
    std::printf("  from process launch              %9.1f ms %12.1f ms %9.2f\n", medianOf(monitorLaunch),
                medianOf(bareLaunch), launchRatio);
    std::printf("  from main()                      %9.1f ms %12.1f ms %9.2f\n", medianOf(monitorMain),
                medianOf(bareMain), mainRatio);
    std::printf("  bare, font database loaded      %9s    %9.1f ms from launch, %.1f ms from main()\n", "",
                medianOf(fontLaunch), medianOf(fontMain));
    std::printf("first frame monitor / bare from launch: %.2f (target <= 1.5 -> %s)\n", launchRatio,
                launchRatio <= 1.5 ? "met" : "NOT met");
    return 0;
}
