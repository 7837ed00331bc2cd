// The data grid and the tree view at 100,000 rows against a plain QTableView
// and a plain QTreeView with QStyledItemDelegate on the same models (the
// plain tree at the skinned rows' height, its header hidden as ours), side
// by side in one run, 400 x 600 views.
//
// Grid: 5 columns, the check column on, an image in every tenth cell; model
// set to first frame, scroll steps of 40 pixels, hover moves.
// Tree: top-level rows with one child each; first frame, expanding and
// collapsing all, scroll steps.
//
//   bench_datagrid [rows]   (100000)

#include "benchsupport.h"
#include "controlregistry.h"
#include "datagrid.h"
#include "jsonreaders.h"
#include "treeview.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

using namespace OrvQtLib;

namespace {

const QSize ViewSize(400, 600);
constexpr int Steps = 500;
constexpr int StepPixels = 40;
constexpr int HoverMoves = 200;
constexpr int Rounds = 3;

// Qt's own delegate at a given row height.
class RowHeightDelegate : public QStyledItemDelegate
{
public:
    RowHeightDelegate(int height, QObject *parent) : QStyledItemDelegate(parent), m_height(height) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_height);
    }

private:
    int m_height;
};

class GridModel : public QAbstractTableModel
{
public:
    explicit GridModel(int rows) : m_checks(size_t(rows), 0) {}

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : int(m_checks.size()); }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        switch (role) {
        case Qt::DisplayRole:
            return QStringLiteral("cell %1 %2").arg(index.row()).arg(index.column());
        case Qt::CheckStateRole:
            return index.column() == 0 ? QVariant(m_checks[size_t(index.row())] ? Qt::Checked : Qt::Unchecked)
                                       : QVariant();
        case CellImageRole:
            return (index.row() * 5 + index.column()) % 10 == 0 ? QVariant(QStringLiteral("images/cell.png"))
                                                                 : QVariant();
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(QStringLiteral("Col%1").arg(section + 1))
                                             : QVariant(section + 1);
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QAbstractTableModel::flags(index) | (index.column() == 0 ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
    }

private:
    std::vector<char> m_checks;
};

// Top-level rows, each with one child. A child's internal id is its parent's
// row plus one; top-level rows have 0.
class TreeModel : public QAbstractItemModel
{
public:
    explicit TreeModel(int rows) : m_rows(rows) {}

    QModelIndex index(int row, int column, const QModelIndex &parent) const override
    {
        if (column != 0 || row < 0)
            return {};
        if (!parent.isValid())
            return row < m_rows ? createIndex(row, 0, quintptr(0)) : QModelIndex();
        if (parent.internalId() == 0 && row == 0)
            return createIndex(0, 0, quintptr(parent.row()) + 1);
        return {};
    }
    QModelIndex parent(const QModelIndex &child) const override
    {
        if (!child.isValid() || child.internalId() == 0)
            return {};
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex &parent) const override
    {
        if (!parent.isValid())
            return m_rows;
        return parent.internalId() == 0 && parent.column() == 0 ? 1 : 0;
    }
    int columnCount(const QModelIndex &) const override { return 1; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return index.internalId() == 0 ? QStringLiteral("row %1").arg(index.row())
                                       : QStringLiteral("child of %1").arg(index.internalId() - 1);
    }

private:
    int m_rows;
};

void settle()
{
    QCoreApplication::processEvents();
}

double msSince(const CpuTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Figures {
    double firstFrame = 0;
    double stepMean = 0;
    double stepP99 = 0;
    double hoverMean = 0;
    double expandAll = 0;
    double collapseAll = 0;
};

double firstFrame(QAbstractItemView *view, QAbstractItemModel *model)
{
    view->resize(ViewSize);
    view->show();
    settle();
    CpuTimer timer;
    timer.start();
    // Both views lay their items out on the next turn of the event loop.
    view->setModel(model);
    settle();
    view->viewport()->repaint();
    const double ms = msSince(timer);
    settle();
    return ms;
}

void scrollSteps(QAbstractItemView *view, Figures &f)
{
    QScrollBar *bar = view->verticalScrollBar();
    std::vector<double> steps;
    CpuTimer timer;
    for (int i = 0; i < Steps; ++i) {
        timer.start();
        bar->setValue(bar->value() + StepPixels);
        settle();
        steps.push_back(msSince(timer));
    }
    f.stepMean = meanOf(steps);
    f.stepP99 = percentile99(steps);
}

double hoverMoves(QAbstractItemView *view)
{
    std::vector<double> hovers;
    QPoint last;
    CpuTimer timer;
    for (int i = 0; i < HoverMoves; ++i) {
        const QPoint at(150, 40 + (i * 7) % (ViewSize.height() - 80));
        QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        // The platform sends both; a plain view highlights cells on the hover.
        QHoverEvent hover(QEvent::HoverMove, at, last);
        last = at;
        timer.start();
        QCoreApplication::sendEvent(view->viewport(), &hover);
        QCoreApplication::sendEvent(view->viewport(), &move);
        settle();
        hovers.push_back(msSince(timer));
    }
    return meanOf(hovers);
}

Figures measureGrid(QTableView *view, int rows)
{
    GridModel model(rows);
    Figures f;
    f.firstFrame = firstFrame(view, &model);
    scrollSteps(view, f);
    f.hoverMean = hoverMoves(view);
    view->setModel(nullptr);
    return f;
}

Figures measureTree(QTreeView *view, int rows)
{
    TreeModel model(rows);
    Figures f;
    f.firstFrame = firstFrame(view, &model);
    scrollSteps(view, f);
    CpuTimer timer;
    timer.start();
    view->expandAll();
    settle();
    view->viewport()->repaint();
    f.expandAll = msSince(timer);
    timer.start();
    view->collapseAll();
    settle();
    view->viewport()->repaint();
    f.collapseAll = msSince(timer);
    view->setModel(nullptr);
    return f;
}

struct Table {
    const std::vector<Figures> &ours;
    const std::vector<Figures> &plain;

    void row(const char *name, double Figures::*field, double target) const
    {
        const auto median = [field](const std::vector<Figures> &runs) {
            std::vector<double> values;
            for (const Figures &f : runs)
                values.push_back(f.*field);
            return medianOf(values);
        };
        const double a = median(ours);
        const double b = median(plain);
        std::printf("%-32s %12.3f %12.3f %8.2f %8.1f %s\n", name, a, b, a / b, target,
                    a / b <= target ? "met" : "NOT met");
    }
};

void header(const char *title, int rows)
{
    std::printf("\n%s, %d rows, 400 x 600 view, CPU time, median of %d rounds\n", title, rows, Rounds);
    std::printf("%-32s %12s %12s %8s %8s\n", "figure", "ours (ms)", "plain (ms)", "ratio", "target");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    initialize();
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    // The cell image, found on disk under the working directory.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("images"));
    QImage cell(16, 16, QImage::Format_ARGB32);
    cell.fill(0xff3070c0);
    cell.save(dir.filePath(QStringLiteral("images/cell.png")));
    QDir::setCurrent(dir.path());

    OrvQTableView grid;
    const char *gridElement = R"({"attr": {"checkstyle": true, "itemHeight": 30}})";
    Json::Value element;
    parseJsonDocument(gridElement, std::strlen(gridElement), element);
    grid.loadFromJson(element);
    QTableView plainGrid;
    plainGrid.setItemDelegate(new QStyledItemDelegate(&plainGrid));
    plainGrid.setMouseTracking(true);
    plainGrid.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    plainGrid.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    OrvQTreeView tree;
    QTreeView plainTree;
    // The skinned tree's row height and hidden header, so that both lay out
    // and paint the same rows.
    const int rowHeight = tree.itemDelegate()->sizeHint(QStyleOptionViewItem(), QModelIndex()).height();
    plainTree.setItemDelegate(new RowHeightDelegate(rowHeight, &plainTree));
    plainTree.setHeaderHidden(true);
    plainTree.setMouseTracking(true);
    plainTree.setUniformRowHeights(true);
    plainTree.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    // The first round warms both; all rounds count, alternately.
    std::vector<Figures> oursGrid, plainGrids, oursTree, plainTrees;
    for (int round = 0; round < Rounds; ++round) {
        oursGrid.push_back(measureGrid(&grid, rows));
        plainGrids.push_back(measureGrid(&plainGrid, rows));
        oursTree.push_back(measureTree(&tree, rows));
        plainTrees.push_back(measureTree(&plainTree, rows));
    }

    header("Data grid, 5 columns, check column, an image in every tenth cell", rows);
    const Table grids{oursGrid, plainGrids};
    grids.row("model set to first frame", &Figures::firstFrame, 1.5);
    grids.row("scroll step, mean", &Figures::stepMean, 2.0);
    grids.row("scroll step, 99th percentile", &Figures::stepP99, 2.0);
    grids.row("hover move, mean", &Figures::hoverMean, 2.0);

    header("Tree view, one child under each row", rows);
    const Table trees{oursTree, plainTrees};
    trees.row("model set to first frame", &Figures::firstFrame, 1.5);
    trees.row("expand all", &Figures::expandAll, 1.5);
    trees.row("collapse all", &Figures::collapseAll, 1.5);
    trees.row("scroll step, mean", &Figures::stepMean, 2.0);
    trees.row("scroll step, 99th percentile", &Figures::stepP99, 2.0);
    return 0;
}
