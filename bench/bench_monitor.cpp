// The monitor window under its real timers, against the same window whose
// charts repaint the whole sweep on every point; and the time from start to
// the first painted frame, against a bare QMainWindow of the same size and
// against that bare window replaying a recording of the monitor's frame; and
// a full frame on a screen of ratio 2 against one of ratio 1.
//
//   bench_monitor [seconds]   seconds of timers per window (20; 0 skips them)

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
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

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
    return monitorRandom();
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
// process so that start-up costs are paid afresh. Qt paints a whole frame
// within one event; the frame is done once processing returns after any
// widget of the window was painted. (The window itself need not be among
// them: children that paint opaquely cover it.)
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) {}
    bool painted = false;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType()
            && static_cast<QWidget *>(object)->window() == m_window)
            painted = true;
        return false;
    }

private:
    QWidget *m_window;
};

// A bare QMainWindow that replays a recorded picture of the monitor's first
// frame: the drawing alone (fonts loaded, texts shaped, glyphs rasterized,
// panels filled) without widgets, package or description. No toolkit can
// show that frame for less.
class ReplayWindow : public QMainWindow
{
public:
    explicit ReplayWindow(const QString &pictureFile) { m_picture.load(pictureFile); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawPicture(0, 0, m_picture);
    }

private:
    QPicture m_picture;
};

// Records what the monitor paints in its first frame.
bool recordFirstFrame(const QString &file)
{
    OrvQtQuelvane window;
    window.show();
    QPicture picture;
    {
        QPainter painter(&picture);
        window.render(&painter);
    }
    window.hide();
    return picture.save(file);
}

int firstFrameChild(const char *kind, const char *pictureFile, const QElapsedTimer &sinceStart, int argc,
                    char **argv)
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
    } else if (qstrcmp(kind, "replay") == 0) {
        window = std::make_unique<ReplayWindow>(QString::fromLocal8Bit(pictureFile));
        window->resize(1024, 1024);
    } else {
        window = std::make_unique<QMainWindow>();
        window->resize(1024, 1024);
        // Any window that shows text first loads the font database.
        if (qstrcmp(kind, "bare-font") == 0)
            QFontMetrics(window->font()).height();
    }
    FirstPaint watcher(window.get());
    app.installEventFilter(&watcher);
    window->show();
    phase("shown");
    QElapsedTimer waited;
    waited.start();
    while (!watcher.painted) {
        if (waited.hasExpired(10000))
            return 1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    // When the frame was done, on a clock the parent shares, and how long
    // it took since main() began.
    std::printf("%.6f %.3f\n", monotonicSeconds(), sinceStart.nsecsElapsed() * 1e-6);
    std::fflush(stdout);
    return 0;
}

// CPU milliseconds per full repaint of the monitor, or of the bare window
// replaying its recorded frame, in a child process whose screens Qt scales by
// QT_SCALE_FACTOR as the parent set it.
int frameCostChild(const char *pictureFile, int argc, char **argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<QMainWindow> owner;
    if (*pictureFile) {
        owner = std::make_unique<ReplayWindow>(QString::fromLocal8Bit(pictureFile));
        owner->resize(1024, 1024);
    } else {
        OrvQtLib::initialize();
        if (!OrvQtLib::loadSkinPackage(QStringLiteral("./Quelvane.data")))
            return 1;
        owner = std::make_unique<OrvQtQuelvane>();
    }
    QMainWindow &window = *owner;
    window.show();
    // Until the window is exposed, repaint() paints nothing.
    QElapsedTimer waited;
    waited.start();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (waited.hasExpired(10000))
            return 1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    // A full frame: the window and each of its children, since repainting
    // only the window leaves out what an opaque child covers.
    const auto fullFrame = [&window] {
        window.repaint();
        for (QWidget *child : window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            child->repaint();
    };
    for (int i = 0; i < 10; ++i)
        fullFrame();
    const int frames = 40;
    const double start = processCpuSeconds();
    for (int i = 0; i < frames; ++i)
        fullFrame();
    std::printf("%.4f\n", (processCpuSeconds() - start) * 1e3 / frames);
    return 0;
}

double childFrameCost(const QString &program, const char *scale, const QString &pictureFile = QString())
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(scale));
    child.setProcessEnvironment(environment);
    child.start(program, {QStringLiteral("--frame-cost"), pictureFile});
    if (!child.waitForFinished(60000))
        return -1;
    return child.readAllStandardOutput().trimmed().toDouble();
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

FirstFrame childFirstFrame(const QString &program, const QString &kind, const QString &pictureFile)
{
    QProcess child;
    const double launched = monotonicSeconds();
    child.start(program, {QStringLiteral("--first-frame"), kind, pictureFile});
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
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], "--first-frame") == 0)
        return firstFrameChild(argv[2], argc == 4 ? argv[3] : "", sinceStart, 1, argv);
    if (argc == 3 && qstrcmp(argv[1], "--frame-cost") == 0) {
        Q_INIT_RESOURCE(quelvane);
        return frameCostChild(argv[2], 1, argv);
    }

    // Seconds of real timers per window; 0 measures only the first frame.
    int seconds = 20;
    if (argc == 2)
        seconds = std::max(0, atoi(argv[1]));

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(quelvane);
    OrvQtLib::initialize();
    if (!OrvQtLib::loadSkinPackage(QStringLiteral("./Quelvane.data"))) {
        std::fprintf(stderr, "run me from the folder holding Quelvane.data\n");
        return 1;
    }

    if (seconds > 0) {
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
    }

    QTemporaryDir pictureDir;
    const QString pictureFile = pictureDir.filePath(QStringLiteral("first-frame.pic"));
    if (!pictureDir.isValid() || !recordFirstFrame(pictureFile)) {
        std::fprintf(stderr, "cannot record the first frame\n");
        return 1;
    }
    struct Kind {
        const char *name;
        const char *label;
        std::vector<double> launch, main;
    };
    Kind kinds[] = {
        {"monitor", "monitor", {}, {}},
        {"bare", "bare QMainWindow", {}, {}},
        {"bare-font", "bare, font database loaded", {}, {}},
        {"replay", "bare, monitor's frame replayed", {}, {}},
    };
    const QString self = QCoreApplication::applicationFilePath();
    const int runs = 15;
    for (int run = 0; run < runs; ++run) {
        for (Kind &kind : kinds) {
            const FirstFrame frame = childFirstFrame(self, QLatin1String(kind.name), pictureFile);
            kind.launch.push_back(frame.fromLaunchMs);
            kind.main.push_back(frame.fromMainMs);
        }
    }
    const double bareLaunch = medianOf(kinds[1].launch);
    std::printf("\nstart to first frame, median of %d runs  from launch   from main()   / bare from launch\n", runs);
    for (const Kind &kind : kinds)
        std::printf("  %-36s %8.1f ms %10.1f ms %12.2f\n", kind.label, medianOf(kind.launch), medianOf(kind.main),
                    medianOf(kind.launch) / bareLaunch);
    const double launchRatio = medianOf(kinds[0].launch) / bareLaunch;
    std::printf("first frame monitor / bare from launch: %.2f (target <= 1.5 -> %s)\n", launchRatio,
                launchRatio <= 1.5 ? "met" : "NOT met");

    // A full frame on a screen of ratio 2 has four times the pixels; Qt's own
    // drawing of the same frame, replayed, is the reference.
    std::vector<double> atOne, atTwo, replayOne, replayTwo;
    for (int run = 0; run < 5; ++run) {
        atOne.push_back(childFrameCost(self, "1"));
        atTwo.push_back(childFrameCost(self, "2"));
        replayOne.push_back(childFrameCost(self, "1", pictureFile));
        replayTwo.push_back(childFrameCost(self, "2", pictureFile));
    }
    const double one = medianOf(atOne);
    const double two = medianOf(atTwo);
    const double scaleRatio = one > 0 ? two / one : 0;
    const double replayRatio = medianOf(replayOne) > 0 ? medianOf(replayTwo) / medianOf(replayOne) : 0;
    std::printf("\nfull frame, CPU ms, median of 5 runs   ratio 1     ratio 2    2 / 1\n");
    std::printf("  monitor                              %7.2f     %7.2f    %5.2f\n", one, two, scaleRatio);
    std::printf("  bare, monitor's frame replayed       %7.2f     %7.2f    %5.2f\n", medianOf(replayOne),
                medianOf(replayTwo), replayRatio);
    std::printf("frame at ratio 2 / ratio 1: %.2f (target <= 4.5 -> %s)\n", scaleRatio,
                scaleRatio > 0 && scaleRatio <= 4.5 ? "met" : "NOT met");
    return 0;
}
