// A template list view of 100,000 rows against a plain QListView with
// QStyledItemDelegate on the same model, side by side in one run, each in a
// window of 500 other widgets: the first frame after setting the model,
// scroll steps, hover moves, fill-hook calls per step and resident memory
// over a scroll through the whole range. Times are the GUI thread's CPU time.
//
//   bench_listview [rows]   (100000)

#include "controlregistry.h"
#include "label.h"
#include "listview.h"
#include "windowloader.h"
#include "jsonreaders.h"

#include "benchsupport.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <unistd.h>
#include <vector>

using namespace OrvQtLib;

namespace {

const QSize ViewSize(400, 600);
constexpr int Steps = 500;
constexpr int StepPixels = 40;
constexpr int HoverMoves = 200;

// Six controls: two labels, a button, a check box, a progress bar, a picture.
const char *const TemplateList = R"({"elements": [{"type": "qtlistview", "w": 400, "h": 600,
    "attr": {"itemHeight": 30, "spacing": 0},
    "child": [{"type": "container", "w": 400, "h": 30, "child": [
        {"type": "label", "name": "title", "x": 4, "y": 0, "w": 150, "h": 30},
        {"type": "label", "name": "detail", "x": 160, "y": 0, "w": 80, "h": 30},
        {"type": "button", "x": 245, "y": 4, "w": 50, "h": 22, "attr": {"text": "Open"}},
        {"type": "checkbox", "x": 300, "y": 5, "w": 20, "h": 20},
        {"type": "progressbar", "x": 325, "y": 10, "w": 40, "h": 10, "attr": {"val": 40}},
        {"type": "picture", "x": 370, "y": 3, "w": 24, "h": 24, "attr": {"path": "images/none.png"}}]}]}]})";

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct Figures {
    double firstFrame = 0; // ms
    double stepMean = 0;   // ms
    double stepP99 = 0;    // ms
    double hoverMean = 0;  // ms
    double fillsPerStep = 0;
    long residentGrowth = 0; // KiB
};

void settle()
{
    QCoreApplication::processEvents();
}

// A window like an application's: the view beside a few hundred other
// widgets, so that work done per window rather than per view shows.
std::unique_ptr<QWidget> hostWindowFor(QWidget *view)
{
    constexpr int OtherWidgets = 500;
    auto window = std::make_unique<QWidget>();
    window->resize(ViewSize.width() + 200, ViewSize.height());
    view->setParent(window.get());
    view->setGeometry(QRect(QPoint(), ViewSize));
    for (int i = 0; i < OtherWidgets; ++i) {
        auto *label = new QLabel(QStringLiteral("field %1").arg(i), window.get());
        label->setGeometry(ViewSize.width() + 10, (i * 20) % ViewSize.height(), 180, 20);
    }
    return window;
}

// Runs the scenario on `view`, shown in `window`; `fills` counts the fill
// hook's calls.
Figures measure(QWidget *window, QListView *view, QAbstractItemModel *model, const std::function<qint64()> &fills)
{
    Figures f;
    window->show();
    settle();

    CpuTimer timer;
    timer.start();
    // Both views lay their items out on the next turn of the event loop.
    view->setModel(model);
    settle();
    view->viewport()->repaint();
    f.firstFrame = timer.nsecsElapsed() / 1e6;
    settle();

    QScrollBar *bar = view->verticalScrollBar();
    std::vector<double> steps;
    const qint64 fillsBefore = fills();
    for (int i = 0; i < Steps; ++i) {
        timer.restart();
        bar->setValue(bar->value() + StepPixels);
        settle();
        steps.push_back(timer.nsecsElapsed() / 1e6);
    }
    f.fillsPerStep = double(fills() - fillsBefore) / Steps;
    f.stepMean = meanOf(steps);
    f.stepP99 = percentile99(steps);

    std::vector<double> hovers;
    QPoint lastHover;
    for (int i = 0; i < HoverMoves; ++i) {
        const QPoint at(200, (i * 7) % ViewSize.height());
        QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        // The platform sends both; a plain view highlights rows on the hover.
        QHoverEvent hover(QEvent::HoverMove, at, lastHover);
        lastHover = at;
        timer.restart();
        QCoreApplication::sendEvent(view->viewport(), &hover);
        QCoreApplication::sendEvent(view->viewport(), &move);
        settle();
        hovers.push_back(timer.nsecsElapsed() / 1e6);
    }
    f.hoverMean = meanOf(hovers);

    // The whole range down and back, a page at a time.
    const long before = residentKiB();
    for (int pass = 0; pass < 2; ++pass) {
        for (int v = 0; v <= bar->maximum(); v += ViewSize.height()) {
            bar->setValue(pass == 0 ? v : bar->maximum() - v);
            settle();
        }
    }
    f.residentGrowth = residentKiB() - before;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    initialize();
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    QStringList texts;
    texts.reserve(rows);
    for (int i = 0; i < rows; ++i)
        texts << QStringLiteral("row %1").arg(i);
    QStringListModel ourModel(texts);
    QStringListModel plainModel(texts);

    QWidget host;
    Json::Value root;
    parseJsonDocument(TemplateList, strlen(TemplateList), root);
    auto *ours = qobject_cast<OrvQListView *>(buildElements(root, &host));
    if (!ours) {
        std::printf("could not build the list view\n");
        return 1;
    }
    ours->setItemFillHook([](OrvQListView *, QWidget *item, const QModelIndex &index) {
        if (auto *title = item->findChild<OrvQLabel *>(QStringLiteral("title")))
            title->setText(index.data().toString());
        if (auto *detail = item->findChild<OrvQLabel *>(QStringLiteral("detail")))
            detail->setText(QString::number(index.row() * 3));
    });
    OrvQListView *ourView = ours; // owned by its window
    const std::unique_ptr<QWidget> ourWindow = hostWindowFor(ourView);

    auto *plain = new QListView; // owned by its window
    plain->setItemDelegate(new QStyledItemDelegate(plain));
    plain->setUniformItemSizes(true);
    plain->setMouseTracking(true);
    plain->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    const std::unique_ptr<QWidget> plainWindow = hostWindowFor(plain);

    // Warm both, then measure them alternately.
    std::vector<Figures> mine, theirs;
    for (int round = 0; round < 3; ++round) {
        QStringListModel a(texts), b(texts);
        mine.push_back(measure(ourWindow.get(), ourView, &a, [&] { return ourView->templateDelegate()->fillCount(); }));
        theirs.push_back(measure(plainWindow.get(), plain, &b, [] { return qint64(0); }));
        ourView->setModel(nullptr);
        plain->setModel(nullptr);
    }
    const auto median = [](const std::vector<Figures> &runs, double Figures::*field) {
        std::vector<double> values;
        for (const Figures &f : runs)
            values.push_back(f.*field);
        return medianOf(values);
    };

    const int visibleRows = ViewSize.height() / 30 + 1;
    std::printf("%d rows, 400 x 600 view in a window of 500 other widgets, CPU time, median of 3 rounds\n", rows);
    std::printf("%-28s %12s %12s %8s %8s\n", "figure", "ours (ms)", "plain (ms)", "ratio", "target");
    const auto row = [&](const char *name, double Figures::*field, double target) {
        const double a = median(mine, field);
        const double b = median(theirs, field);
        std::printf("%-28s %12.3f %12.3f %8.2f %8.1f %s\n", name, a, b, a / b, target,
                    a / b <= target ? "met" : "NOT met");
    };
    row("model set to first frame", &Figures::firstFrame, 1.5);
    row("scroll step, mean", &Figures::stepMean, 2.0);
    row("scroll step, 99th percentile", &Figures::stepP99, 2.0);
    row("hover move, mean", &Figures::hoverMean, 2.0);
    const double fills = median(mine, &Figures::fillsPerStep);
    std::printf("fill-hook calls per step: %.2f (at most %d: %s)\n", fills, visibleRows + 2,
                fills <= visibleRows + 2 ? "met" : "NOT met");
    long growth = 0;
    for (const Figures &f : mine)
        growth = std::max(growth, f.residentGrowth);
    std::printf("resident growth over the whole range and back: %ld KiB (under 1024: %s)\n", growth,
                growth < 1024 ? "met" : "NOT met");
    return 0;
}
