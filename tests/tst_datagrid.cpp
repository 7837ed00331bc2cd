#include "orvqtlib.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000, Green = 0xff00ff00, Blue = 0xff0000ff, Yellow = 0xffffff00, Cyan = 0xff00ffff,
           White = 0xffffffff, Black = 0xff000000;

// Three rows of two 100-pixel columns under a 30-pixel header; row i reads
// "Wi" and "xi", and its first cell is user-checkable and unchecked.
struct Grid {
    QStandardItemModel model{3, 2};
    std::unique_ptr<OrvQTableView> view = std::make_unique<OrvQTableView>();

    explicit Grid(const QByteArray &element = "{}")
    {
        fill();
        view->loadFromJson(parseJson(element));
        view->horizontalHeader()->setFixedHeight(30);
        view->verticalHeader()->setDefaultSectionSize(30);
        view->setModel(&model);
        view->resize(400, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    void fill()
    {
        model.setRowCount(3);
        model.setColumnCount(2);
        model.setHorizontalHeaderLabels({"Name", "Other"});
        for (int row = 0; row < 3; ++row) {
            auto *first = new QStandardItem(QStringLiteral("W%1").arg(row));
            first->setCheckable(true);
            first->setCheckState(Qt::Unchecked);
            model.setItem(row, 0, first);
            model.setItem(row, 1, new QStandardItem(QStringLiteral("x%1").arg(row)));
        }
    }
    QRect cell(int row, int column) const { return view->visualRect(model.index(row, column)); }
    // A cell's rectangle in the grid's own coordinates, as rendered.
    QRect rendered(int row, int column) const { return cell(row, column).translated(view->viewport()->pos()); }
    void send(QEvent::Type type, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent event(type, pos, view->viewport()->mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &event);
    }
    // Left edge of the black text in a cell, relative to the cell.
    int textLeft(int row, int column)
    {
        const QRect r = rendered(row, column);
        return boxOf(renderOf(*view).copy(r), Black, 100).left();
    }
};

} // namespace

class TestDataGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initialize();
        QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
        // A 16 x 16 check image of one colour.
        const QByteArray extra = ZipWriter().stored("images/check16.png", png(QSize(16, 16))).archive();
        OrvQResourceManager::instance().loadPackageFromMemory(extra.constData(), extra.size());
    }

    void styleSlots_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<int>("row1"); // 0 normal, 1 hovered, 2 selected
        QTest::addColumn<QRgb>("cell");
        QTest::addColumn<QRgb>("text"); // 0: not looked for
        QTest::addColumn<QRgb>("header");
        QTest::addColumn<QRgb>("background");
        const QByteArray later = R"({"a": ["red", 0, 2], "b": ["green", 0, 4], "c": ["fontBlack", 0, 6],
            "d": ["fontRed", 0, 8]})";
        QTest::newRow("slot 2 fills all, a later 4 the selected state") << later << 2 << Green << Red << White
                                                                        << White;
        QTest::newRow("normal keeps slot 2") << later << 0 << Red << Black << White << White;
        QTest::newRow("hover: slot 3") << QByteArray(R"([["red", 0, 2], ["blue", 0, 3], ["fontBlack", 0, 6],
            ["fontRed", 0, 7]])") << 1 << Blue << Red << White << White;
        QTest::newRow("selected wins over hover") << QByteArray(R"([["red", 0, 2], ["blue", 0, 3], ["green", 0, 4]])")
                                                  << 3 << Green << QRgb(0) << White << White;
        QTest::newRow("header 10 and 14, background 0") << QByteArray(R"([["yellow", 0, 10], ["fontRed", 0, 14],
            ["cyan", 0, 0], ["fontBlack", 0, 6]])") << 0 << White << Black << Yellow << Cyan;
        QTest::newRow("header states 11 to 17 are never drawn") << QByteArray(R"([["red", 0, 11], ["red", 0, 12],
            ["red", 0, 13], ["fontRed", 0, 15], ["fontRed", 0, 16], ["fontRed", 0, 17]])") << 0 << White << QRgb(0)
                                                                << White << White;
        QTest::newRow("slots 1, 18 and -1, unknown names") << QByteArray(R"([["red", 0, 1], ["red", 0, 18],
            ["red", 0, -1], ["nosuch", 0, 2]])") << 0 << White << QRgb(0) << White << White;
    }

    void styleSlots()
    {
        QFETCH(QByteArray, style);
        QFETCH(int, row1);
        QFETCH(QRgb, cell);
        QFETCH(QRgb, text);
        QFETCH(QRgb, header);
        QFETCH(QRgb, background);
        Grid g(R"({"style": )" + style + "}");
        if (row1 >= 2)
            g.view->selectRow(1);
        if (row1 & 1)
            g.send(QEvent::MouseMove, g.cell(1, 1).center());
        const QImage image = renderOf(*g.view);
        QCOMPARE(image.pixel(g.rendered(1, 1).topRight() + QPoint(-2, 2)), cell);
        if (text)
            QVERIFY(!boxOf(image.copy(g.rendered(1, 0)), text, 60).isEmpty());
        QCOMPARE(image.pixel(195, 2), header);
        QCOMPARE(image.pixel(300, 250), background);
        // Titles use header font [0] only.
        const QRgb title = style.contains("14") ? Red : Black;
        QVERIFY(!boxOf(image.copy(0, 0, 100, 30), title, 60).isEmpty());
    }

    void checkClicks_data()
    {
        QTest::addColumn<QList<int>>("events"); // event types, in order
        QTest::addColumn<int>("x");             // in the cell
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("state");
        using E = QEvent;
        const QList<int> click{E::MouseButtonPress, E::MouseButtonRelease};
        QTest::newRow("click in the box") << click << 12 << int(Qt::LeftButton) << int(Qt::Checked);
        QTest::newRow("second click unchecks") << click + click << 12 << int(Qt::LeftButton) << int(Qt::Unchecked);
        QTest::newRow("double click: two presses")
            << click + QList<int>{E::MouseButtonPress, E::MouseButtonDblClick, E::MouseButtonRelease} << 12
            << int(Qt::LeftButton) << int(Qt::Unchecked);
        QTest::newRow("box edge") << click << 28 << int(Qt::LeftButton) << int(Qt::Checked);
        QTest::newRow("left of the box") << click << 3 << int(Qt::LeftButton) << int(Qt::Unchecked);
        QTest::newRow("past the box") << click << 60 << int(Qt::LeftButton) << int(Qt::Unchecked);
        QTest::newRow("right button") << click << 12 << int(Qt::RightButton) << int(Qt::Unchecked);
    }

    void checkClicks()
    {
        QFETCH(QList<int>, events);
        QFETCH(int, x);
        QFETCH(int, button);
        QFETCH(int, state);
        Grid g(R"({"attr": {"checkstyle": true}})");
        const QPoint at(g.cell(1, 0).left() + x, g.cell(1, 0).center().y());
        for (int type : events)
            g.send(QEvent::Type(type), at, Qt::MouseButton(button));
        // Written as a check state, never as a bool.
        QCOMPARE(g.model.item(1)->data(Qt::CheckStateRole), QVariant(state));
        QCOMPARE(g.model.item(0)->checkState(), Qt::Unchecked);
    }

    void headerCheckBox_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("hideFirst");
        QTest::addColumn<QList<bool>>("emitted");
        QTest::newRow("twice") << QByteArray(R"({"checkstyle": true})") << 2 << false << QList<bool>{true, false};
        QTest::newRow("check column off") << QByteArray("{}") << 2 << false << QList<bool>{};
        QTest::newRow("first column hidden") << QByteArray(R"({"checkstyle": true})") << 2 << true
                                             << QList<bool>{};
        QTest::newRow("no columns") << QByteArray(R"({"checkstyle": true})") << 0 << false << QList<bool>{};
    }

    void headerCheckBox()
    {
        QFETCH(QByteArray, attr);
        QFETCH(int, columns);
        QFETCH(bool, hideFirst);
        QFETCH(QList<bool>, emitted);
        Grid g(R"({"style": [["red", 0, 10]], "attr": )" + attr + "}");
        g.model.setHorizontalHeaderLabels({"", ""});
        g.model.setColumnCount(columns);
        g.view->setColumnHidden(0, hideFirst);
        QSignalSpy spy(g.view.get(), &OrvQTableView::headerCheckedChanged);
        QWidget *header = g.view->horizontalHeader()->viewport();
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(header, Qt::LeftButton, {}, QPoint(12, 15));
        QList<bool> seen;
        for (const QList<QVariant> &args : spy)
            seen << args.at(0).toBool();
        QCOMPARE(seen, emitted);
        // The box (the built-in image's grey frame) is drawn only where it
        // can be clicked.
        QCOMPARE(renderOf(*g.view).pixel(6, 14) == 0xffccccccu, !emitted.isEmpty());
    }

    void textOffsets_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<QString>("image"); // role 356 of row 1's first cell
        QTest::addColumn<int>("offset");
        QTest::newRow("16 x 16 checked image: 26") << QByteArray(R"({"checkstyle": true,
            "checkedImg": "images/check16.png"})") << QString() << 26;
        QTest::newRow("default box: 34") << QByteArray(R"({"checkstyle": true})") << QString() << 34;
        QTest::newRow("missing check image keeps the size") << QByteArray(R"({"checkstyle": true,
            "uncheckImg": "images/nosuch.png", "checkedImg": 7})") << QString() << 34;
        QTest::newRow("missing cell image: none") << QByteArray("{}") << "images/nosuch.png" << 0;
        QTest::newRow("8-pixel cell image: 18") << QByteArray("{}") << "images/icon.png" << 18;
        QTest::newRow("box and image") << QByteArray(R"({"checkstyle": true, "checkedImg": "images/check16.png"})")
                                       << "images/icon.png" << 44;
    }

    void textOffsets()
    {
        QFETCH(QByteArray, attr);
        QFETCH(QString, image);
        QFETCH(int, offset);
        const QByteArray fonts = R"("style": [["fontBlack", 0, 6]])";
        Grid plain("{" + fonts + "}");
        Grid g("{" + fonts + R"(, "attr": )" + attr + "}");
        plain.model.item(1)->setData(QStringLiteral("images/nosuch.png"), CellImageRole);
        g.model.item(1)->setData(image, CellImageRole);
        QCOMPARE(g.textLeft(1, 0) - plain.textLeft(1, 0), offset);
        // An image found is centred in its slot, after the box.
        if (image == QLatin1String("images/icon.png")) {
            const QRect cell = g.rendered(1, 0);
            QCOMPARE(boxOf(renderOf(*g.view).copy(cell), Yellow).topLeft(),
                     QPoint(offset - 18 + 5, (cell.height() - 8) / 2));
        }
    }

    void missingImagesAreRemembered()
    {
        QTemporaryDir dir;
        const QString kept = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Grid g(R"({"style": [["fontBlack", 0, 6]]})");
        g.model.item(0)->setData(QStringLiteral("late.png"), CellImageRole);
        const int before = g.textLeft(0, 0);
        QFile file(dir.filePath("late.png"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(png(QSize(6, 6), QImage::Format_ARGB32, Yellow));
        file.close();
        // The miss is remembered until the grid gets a model again.
        QCOMPARE(g.textLeft(0, 0), before);
        g.view->setModel(&g.model);
        QCOMPARE(g.textLeft(0, 0), before + 16);
        QDir::setCurrent(kept);
    }

    void cellsKeepThePainter()
    {
        Grid g(R"({"style": [["fontRed", 0, 6], ["red", 0, 2]], "attr": {"checkstyle": true}})");
        g.model.item(0)->setData(QStringLiteral("images/icon.png"), CellImageRole);
        QImage image(100, 30, QImage::Format_ARGB32);
        QPainter painter(&image);
        const QPen pen(Qt::green, 3);
        painter.setPen(pen);
        painter.setBrush(Qt::blue);
        const QPainter::RenderHints hints = painter.renderHints();
        const QFont font = painter.font();
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 100, 30);
        g.view->itemDelegate()->paint(&painter, option, g.model.index(0, 0));
        QCOMPARE(painter.pen(), pen);
        QCOMPARE(painter.brush(), QBrush(Qt::blue));
        QVERIFY(!painter.hasClipping());
        QCOMPARE(painter.renderHints(), hints);
        QCOMPARE(painter.font(), font);
    }

    void hoverRow_data()
    {
        QTest::addColumn<int>("leave"); // 0 pointer leaves, 1 model reset, 2 model replaced
        QTest::newRow("pointer leaves the rows") << 0;
        QTest::newRow("model reset") << 1;
        QTest::newRow("model replaced") << 2;
    }

    void hoverRow()
    {
        QFETCH(int, leave);
        Grid g(R"({"style": [["red", 0, 2], ["blue", 0, 3]]})");
        const QPoint probe = g.rendered(1, 1).topRight() + QPoint(-2, 2);
        const auto rowColour = [&] { return renderOf(*g.view).pixel(probe); };
        g.send(QEvent::MouseMove, g.cell(1, 1).center());
        QCOMPARE(rowColour(), Blue);
        QStandardItemModel other(3, 2);
        if (leave == 0) {
            QEvent event(QEvent::Leave);
            QCoreApplication::sendEvent(g.view->viewport(), &event);
        } else if (leave == 1) {
            g.model.clear();
            g.fill();
        } else {
            g.view->setModel(&other);
        }
        QCOMPARE(rowColour(), Red);
        QVERIFY(!g.view->hoverTracker()->hoverIndex().isValid());
    }

    void previewModel()
    {
        Grid g;
        std::unique_ptr<QStandardItemModel> preview(OrvQTableViewImpl::previewModel(nullptr));
        g.view->setModel(preview.get());
        QCOMPARE(preview->rowCount(), 100);
        QCOMPARE(preview->columnCount(), 5);
        QCOMPARE(preview->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Col1"));
        QCOMPARE(preview->index(0, 0).data().toString(), QStringLiteral("item 0 0"));
        QCOMPARE(preview->index(99, 4).data().toString(), QStringLiteral("item 99 4"));
        g.view->scrollToBottom();
        QVERIFY(g.view->visualRect(preview->index(99, 0)).bottom() <= g.view->viewport()->height());
    }

    void hostileValues_data()
    {
        QTest::addColumn<QByteArray>("attr");
        QTest::addColumn<int>("header");
        QTest::addColumn<QAbstractItemView::SelectionMode>("mode");
        QTest::newRow("negative height") << QByteArray(R"({"itemHeight": -5, "multiselect": true})") << 0
                                         << QAbstractItemView::ExtendedSelection;
        QTest::newRow("height beyond int") << QByteArray(R"({"itemHeight": 1e12})") << MaxRowExtent
                                           << QAbstractItemView::SingleSelection;
        QTest::newRow("wrong types are absent") << QByteArray(R"({"itemHeight": "40", "multiselect": "yes",
            "checkstyle": [true], "checkedImg": {}})") << 30 << QAbstractItemView::SingleSelection;
    }

    void hostileValues()
    {
        QFETCH(QByteArray, attr);
        QFETCH(int, header);
        QFETCH(QAbstractItemView::SelectionMode, mode);
        Grid g;
        g.view->loadFromJson(parseJson(R"({"style": {"a": ["red", 0, 1e20]}, "attr": )" + attr + "}"));
        QCOMPARE(g.view->horizontalHeader()->maximumHeight(), header);
        QCOMPARE(g.view->selectionMode(), mode);
        renderOf(*g.view);
    }

    void slotsThatDeleteTheGrid()
    {
        // From the header check box.
        {
            Grid g(R"({"attr": {"checkstyle": true}})");
            OrvQTableView *view = g.view.release();
            QPointer<OrvQTableView> watch(view);
            connect(view, &OrvQTableView::headerCheckedChanged, view, [view] { delete view; });
            QTest::mousePress(view->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(12, 15));
            QVERIFY(watch.isNull());
        }
        // From the model, when a row's box is clicked.
        Grid g(R"({"attr": {"checkstyle": true}})");
        OrvQTableView *view = g.view.release();
        QPointer<OrvQTableView> watch(view);
        connect(&g.model, &QAbstractItemModel::dataChanged, view, [view] { delete view; });
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(12, 15));
        QVERIFY(watch.isNull());
        QCOMPARE(g.model.item(0)->checkState(), Qt::Checked);
    }
};

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
