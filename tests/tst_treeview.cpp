#include "orvqtlib.h"
#include "testsupport.h"

#include <QStandardItemModel>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000, Green = 0xff00ff00, Blue = 0xff0000ff, Cyan = 0xff00ffff, White = 0xffffffff,
           Black = 0xff000000;

// Three top-level rows "W0" to "W2", the first with one child row.
struct Tree {
    QStandardItemModel model;
    std::unique_ptr<OrvQTreeView> view = std::make_unique<OrvQTreeView>();

    explicit Tree(const QByteArray &element = "{}")
    {
        for (int row = 0; row < 3; ++row)
            model.appendRow(new QStandardItem(QStringLiteral("W%1").arg(row)));
        model.item(0)->appendRow(new QStandardItem(QStringLiteral("child")));
        view->loadFromJson(parseJson(element));
        view->setModel(&model);
        view->resize(300, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    QRect row(int r) const { return view->visualRect(model.index(r, 0)); }
    QPoint probe(int r) const { return row(r).topRight() + QPoint(-2, 1); }
    void moveTo(const QPoint &pos)
    {
        QMouseEvent event(QEvent::MouseMove, pos, view->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &event);
    }
};

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initialize();
        QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
    }

    void rowHeights_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<int>("height");
        QTest::newRow("no attr") << QByteArray("{}") << 20;
        QTest::newRow("absent") << QByteArray(R"({"attr": {}})") << 20;
        QTest::newRow("0 gives 20") << QByteArray(R"({"attr": {"itemHeight": 0}})") << 20;
        QTest::newRow("32 whatever the font") << QByteArray(R"({"style": [["fontBig", 0, 6]],
            "attr": {"itemHeight": 32}})") << 32;
        QTest::newRow("negative") << QByteArray(R"({"attr": {"itemHeight": -32}})") << 20;
        QTest::newRow("beyond int") << QByteArray(R"({"attr": {"itemHeight": 1e12}})") << MaxRowExtent;
        QTest::newRow("wrong type") << QByteArray(R"({"attr": {"itemHeight": "32"}})") << 20;
        // Bar elements come before "attr" and leave the row height alone.
        QTest::newRow("after bar elements") << QByteArray(R"({"attr": {"itemHeight": 25},
            "child": [{"type": "qtscrollbar", "w": 14, "attr": {"size": 9}}]})") << 25;
    }

    void rowHeights()
    {
        QFETCH(QByteArray, element);
        QFETCH(int, height);
        Tree t(element);
        QCOMPARE(t.row(1).height(), height);
        QCOMPARE(t.row(2).top() - t.row(1).top(), height);
        // Rows span the view.
        QCOMPARE(t.row(1).right(), t.view->viewport()->width() - 1);
    }

    void styleSlots_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<int>("row1"); // 0 normal, 1 hovered, 2 selected
        QTest::addColumn<QRgb>("back");
        QTest::addColumn<QRgb>("text");
        QTest::addColumn<QRgb>("below"); // under the rows
        const QByteArray all = R"({"a": ["red", 0, 2], "b": ["blue", 0, 3], "c": ["green", 0, 4],
            "d": ["fontBlack", 0, 6], "e": ["fontRed", 0, 7], "f": ["cyan", 0, 0]})";
        QTest::newRow("normal") << all << 0 << Red << Black << Cyan;
        QTest::newRow("hovered: slots 3 and 7") << all << 1 << Blue << Red << Cyan;
        QTest::newRow("selected: slot 7 leaves its font") << all << 2 << Green << Black << Cyan;
        QTest::newRow("slots 1 and 8, unknown names") << QByteArray(R"([["red", 0, 1], ["fontRed", 0, 8],
            ["nosuch", 0, 2], ["fontBlack", 0, 6]])") << 0 << White << Black << White;
    }

    void styleSlots()
    {
        QFETCH(QByteArray, style);
        QFETCH(int, row1);
        QFETCH(QRgb, back);
        QFETCH(QRgb, text);
        QFETCH(QRgb, below);
        Tree t(R"({"style": )" + style + "}");
        if (row1 == 2)
            t.view->setCurrentIndex(t.model.index(1, 0));
        if (row1 == 1)
            t.moveTo(t.row(1).center());
        const QImage image = renderOf(*t.view);
        QCOMPARE(image.pixel(t.probe(1)), back);
        QVERIFY(!boxOf(image.copy(t.row(1)), text, 60).isEmpty());
        QCOMPARE(image.pixel(150, 250), below);
    }

    void textIsTheDisplayRole()
    {
        Tree t(R"({"style": [["red", 0, 2], ["fontBlack", 0, 6]]})");
        // A row with only a tool tip, and one with no data at all.
        t.model.item(1)->setData(QVariant(), Qt::DisplayRole);
        t.model.item(1)->setToolTip(QStringLiteral("tip"));
        t.model.item(2)->setData(QVariant(), Qt::DisplayRole);
        const QImage image = renderOf(*t.view);
        for (int r : {1, 2}) {
            QCOMPARE(image.pixel(t.probe(r)), Red);
            QVERIFY(boxOf(image.copy(t.row(r)), Black, 100).isEmpty());
        }
        QVERIFY(!boxOf(image.copy(t.row(0)), Black, 100).isEmpty());
    }

    void rowsSpanTheirIndentation_data()
    {
        QTest::addColumn<QByteArray>("styles");
        QTest::addColumn<QRgb>("rowColor");
        QTest::addColumn<QRgb>("arrowColor");
        QTest::newRow("dark rows, no font: white arrow") << QByteArray(R"([["cyan", 0, 0], ["black", 0, 2]])")
                                                         << Black << White;
        QTest::newRow("light rows, no font: black arrow") << QByteArray(R"([["black", 0, 0], ["white", 0, 2]])")
                                                          << White << Black;
        QTest::newRow("the row font's colour") << QByteArray(R"([["cyan", 0, 0], ["black", 0, 2], ["fontRed", 0, 6]])")
                                               << Black << Red;
    }

    void rowsSpanTheirIndentation()
    {
        QFETCH(QByteArray, styles);
        QFETCH(QRgb, rowColor);
        QFETCH(QRgb, arrowColor);
        Tree t(R"({"style": )" + styles + "}");
        t.view->expand(t.model.index(0, 0));
        const QModelIndex child = t.model.index(0, 0, t.model.index(0, 0));
        const QRect childRow = t.view->visualRect(child);
        QVERIFY(childRow.left() > 0);
        const QImage image = renderOf(*t.view);
        // Left of the child's cell: its row's style, not the background.
        QCOMPARE(image.pixel(1, childRow.center().y()), rowColor);
        QCOMPARE(image.pixel(childRow.left() - 2, childRow.top() + 1), rowColor);
        // The parent's indicator, and none for a row without children.
        const QRect parentBranch(0, t.row(0).top(), t.row(0).left(), t.row(0).height());
        QVERIFY(!boxOf(image.copy(parentBranch), arrowColor, 40).isEmpty());
        QVERIFY(boxOf(image.copy(0, t.row(1).top(), t.row(1).left(), t.row(1).height()), arrowColor, 40).isEmpty());
    }

    void hoverRow()
    {
        Tree t(R"({"style": [["red", 0, 2], ["blue", 0, 3]]})");
        t.moveTo(t.row(1).center());
        QCOMPARE(renderOf(*t.view).pixel(t.probe(1)), Blue);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(t.view->viewport(), &leave);
        QCOMPARE(renderOf(*t.view).pixel(t.probe(1)), Red);
        // A reset model forgets the row.
        t.moveTo(t.row(1).center());
        t.model.clear();
        QVERIFY(!t.view->hoverTracker()->hoverIndex().isValid());
    }

    void previewModel()
    {
        Tree t;
        std::unique_ptr<QStandardItemModel> preview(OrvQTreeViewImpl::previewModel(nullptr));
        t.view->setModel(preview.get());
        QCOMPARE(preview->rowCount(), 100);
        const QModelIndex first = preview->index(0, 0);
        QCOMPARE(first.data().toString(), QStringLiteral("item1"));
        QVERIFY(preview->itemFromIndex(first)->isCheckable());
        QVERIFY(!t.view->isExpanded(first));
        QCOMPARE(t.view->visualRect(preview->index(1, 0)).top(), 20);

        t.view->expand(first);
        const QModelIndex item2 = preview->index(0, 0, first);
        const QModelIndex item3 = preview->index(0, 1, first);
        QCOMPARE(item2.data().toString(), QStringLiteral("item2"));
        QCOMPARE(item3.data().toString(), QStringLiteral("item3"));
        // The second column shows, so "item3" is drawn beside "item2".
        const QRect cell = t.view->visualRect(item3);
        QVERIFY(cell.isValid() && cell.width() > 0);
        QCOMPARE(cell.top(), 20);
        QVERIFY(cell.left() > t.view->visualRect(item2).left());
    }
};

QTEST_MAIN(TestTreeView)
#include "tst_treeview.moc"
