// Fills a skinned OrvQList and a plain QListWidget with the same 100,000
// rows in a 400 x 600 view, side by side, and prints the time from filling
// to the first frame and the time of 40-pixel scroll steps, as ratios.

#include "controlregistry.h"
#include "list.h"
#include "resourcemanager.h"

#include <json/reader.h>

#include <QApplication>
#include "benchsupport.h"
#include <QImage>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

using namespace OrvQtLib;

namespace {

constexpr int RowCount = 100000;
constexpr int FillRounds = 5;
constexpr int ScrollSteps = 500;
constexpr int ScrollStep = 40;
const QSize ViewSize(400, 600);

// Rows with a one-pixel separator, as skins draw them, and the same rows
// without it, to tell the separator's cost from the rest.
const char *const Styles = R"([
    {"type": 1, "name": "bench.back", "drawImg": false, "clr": "ff202830"},
    {"type": 1, "name": "bench.row", "drawImg": false, "clr": "ff303a44", "border": true,
     "bottomBorder": true, "leftBorder": false, "topBorder": false, "rightBorder": false,
     "borderSize": 1, "borderclr": "ff404a54"},
    {"type": 1, "name": "bench.flatrow", "drawImg": false, "clr": "ff303a44", "border": false},
    {"type": 1, "name": "bench.hover", "drawImg": false, "clr": "ff3c4a58"},
    {"type": 1, "name": "bench.selected", "drawImg": false, "clr": "ff2d6cdf"},
    {"type": 2, "name": "bench.text", "clr": "e0e0e0", "family": "DejaVu Sans", "size": 12}])";

const char *const Element = R"({"style": [["bench.back", 0, 0], ["bench.row", 0, 2], ["bench.hover", 0, 3],
    ["bench.selected", 0, 4], ["bench.text", 0, 6]], "attr": {"itemHeight": 20}})";
const char *const FlatElement = R"({"style": [["bench.back", 0, 0], ["bench.flatrow", 0, 2],
    ["bench.hover", 0, 3], ["bench.selected", 0, 4], ["bench.text", 0, 6]], "attr": {"itemHeight": 20}})";

Json::Value parsed(const char *text)
{
    Json::Value value;
    Json::Reader().parse(text, value);
    return value;
}

const QStringList &rowTexts()
{
    static const QStringList texts = [] {
        QStringList list;
        list.reserve(RowCount);
        for (int i = 0; i < RowCount; ++i)
            list.append(QStringLiteral("row %1").arg(i));
        return list;
    }();
    return texts;
}

std::unique_ptr<QListWidget> makeOurs(const char *element = Element)
{
    auto list = std::make_unique<OrvQList>();
    list->loadFromJson(parsed(element));
    list->resize(ViewSize);
    return list;
}

// The reference with the same view settings: rows of one size, scrolled
// by pixels.
std::unique_ptr<QListWidget> makePlain()
{
    auto list = std::make_unique<QListWidget>();
    list->setUniformItemSizes(true);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->resize(ViewSize);
    return list;
}

// Qt's defaults: every row measured on its own.
std::unique_ptr<QListWidget> makeDefault()
{
    auto list = std::make_unique<QListWidget>();
    list->resize(ViewSize);
    return list;
}

// Filling a list up to its first frame, rendered into an image.
qint64 timeFirstFrame(QListWidget &list, QImage &frame)
{
    CpuTimer timer;
    timer.start();
    for (const QString &text : rowTexts())
        list.addItem(text);
    list.render(&frame);
    return timer.nsecsElapsed();
}

// One step: move the bar by 40 pixels and paint the viewport.
qint64 timeStep(QListWidget &list, QImage &frame)
{
    CpuTimer timer;
    timer.start();
    QScrollBar *bar = list.verticalScrollBar();
    bar->setValue(bar->value() + ScrollStep);
    list.viewport()->render(&frame);
    return timer.nsecsElapsed();
}

double median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return double(values[values.size() / 2]);
}

double mean(const std::vector<qint64> &values)
{
    return double(std::accumulate(values.begin(), values.end(), qint64(0))) / double(values.size());
}

double percentile99(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return double(values[(values.size() * 99 + 99) / 100 - 1]);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initialize();
    OrvQResourceManager::instance().parseStyles(parsed(Styles));
    rowTexts();

    QImage frame(ViewSize, QImage::Format_ARGB32_Premultiplied);
    std::vector<qint64> ours, plain, defaults;
    // The first round warms all three up; the lists alternate.
    for (int round = 0; round <= FillRounds; ++round) {
        const qint64 a = timeFirstFrame(*makeOurs(), frame);
        const qint64 b = timeFirstFrame(*makePlain(), frame);
        const qint64 c = timeFirstFrame(*makeDefault(), frame);
        if (round > 0) {
            ours.push_back(a);
            plain.push_back(b);
            defaults.push_back(c);
        }
    }

    // The first frame lays the rows out and sets the bars' ranges; the
    // steps alternate between the lists.
    std::unique_ptr<QListWidget> lists[] = {makeOurs(), makePlain(), makeOurs(FlatElement)};
    std::vector<qint64> steps[3];
    for (auto &list : lists)
        timeFirstFrame(*list, frame);
    for (int step = 0; step < ScrollSteps; ++step) {
        for (int i = 0; i < 3; ++i)
            steps[i].push_back(timeStep(*lists[i], frame));
    }
    for (auto &list : lists) {
        if (list->verticalScrollBar()->value() != ScrollSteps * ScrollStep) {
            std::fprintf(stderr, "a list did not scroll\n");
            return 2;
        }
    }

    const auto rowsShown = [](QListWidget &list) { return list.viewport()->height() / list.sizeHintForRow(0); };
    std::printf("%d rows in a %dx%d view; rows per frame: OrvQList %d, QListWidget %d\n", RowCount,
                ViewSize.width(), ViewSize.height(), rowsShown(*lists[0]), rowsShown(*lists[1]));
    std::printf("reference: QListWidget with the same view settings (uniform row sizes, scrolled by pixels)\n\n");
    std::printf("%-34s %12s %12s %8s %8s\n", "measure", "OrvQList ms", "QListWidget", "ratio", "target");
    bool met = true;
    const auto row = [&met](const char *measure, double a, double b, bool target) {
        const double ratio = b > 0 ? a / b : 0;
        if (target)
            met = met && ratio <= 1.2;
        std::printf("%-34s %12.3f %12.3f %8.3f", measure, a / 1e6, b / 1e6, ratio);
        if (target)
            std::printf("   <= 1.2 %s", ratio <= 1.2 ? "met" : "MISSED");
        std::printf("\n");
    };
    row("fill to first frame, median", median(ours), median(plain), true);
    row("scroll step, mean", mean(steps[0]), mean(steps[1]), true);
    row("scroll step, 99th percentile", percentile99(steps[0]), percentile99(steps[1]), true);
    row("  rows without separator, mean", mean(steps[2]), mean(steps[1]), false);
    row("  rows without separator, 99th", percentile99(steps[2]), percentile99(steps[1]), false);
    row("fill to first frame, Qt defaults", median(ours), median(defaults), false);
    return met ? 0 : 1;
}
