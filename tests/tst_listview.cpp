#include "orvqtlib.h"
#include "testsupport.h"

#include <QScreen>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// A 200-wide view of 30-pixel rows; the template holds two overlapping
// buttons and a check box.
const QByteArray ListElement = R"({"type": "qtlistview", "w": 200, "h": 200,
    "style": {"a": ["red", 0, 2], "b": ["blue", 0, 4]}, "attr": {"itemHeight": 30, "spacing": 0},
    "child": [{"type": "container", "w": 200, "h": 30, "child": [
        {"type": "button", "name": "under", "x": 0, "y": 0, "w": 100, "h": 30},
        {"type": "button", "name": "over", "x": 50, "y": 5, "w": 100, "h": 20},
        {"type": "checkbox", "name": "check", "x": 160, "y": 5, "w": 40, "h": 20,
         "style": [["fontBlack", 0, 8]], "attr": {"text": "x"}}]}]})";

struct Fixture {
    QWidget host;
    OrvQListView *view = nullptr;
    bool exposed = false;
    QStringListModel model{QStringList{"a", "b", "c", "d"}};

    explicit Fixture(const QByteArray &element = ListElement)
    {
        host.resize(200, 200);
        view = qobject_cast<OrvQListView *>(buildElement(parseJson(element), &host));
        view->controlBase()->applyLayout();
        view->setModel(&model);
        host.show();
        exposed = QTest::qWaitForWindowExposed(&host);
    }
    QPoint rowPoint(int row, int x, int y) const { return view->visualRect(model.index(row)).topLeft() + QPoint(x, y); }
};

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rowSizes_data();
    void rowSizes();
    void presses_data();
    void presses();
    void rowLooksLikeTheTemplateAlone();
    void rowsFollowTheViewInItsWindow_data();
    void rowsFollowTheViewInItsWindow();
    void hostileTemplates();
    void beamAtTheFirstMove();
};

void TestListView::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestListView::rowSizes_data()
{
    QTest::addColumn<QByteArray>("attr");
    QTest::addColumn<QSize>("item");
    QTest::newRow("0 gives 20") << QByteArray(R"({"itemHeight": 0})") << QSize(200, 20);
    QTest::newRow("icon mode without width") << QByteArray(R"({"itemMode": 1, "itemHeight": 9})") << QSize(20, 9);
    QTest::newRow("negative and huge are clamped") << QByteArray(R"({"itemHeight": -8, "spacing": 1e12})")
                                                   << QSize(200, 20);
}

void TestListView::rowSizes()
{
    QFETCH(QByteArray, attr);
    QFETCH(QSize, item);
    OrvQListView view;
    view.loadFromJson(parseJson(R"({"attr": )" + attr + "}"));
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 200, 5);
    QCOMPARE(view.itemDelegate()->sizeHint(option, QModelIndex()), item);
    QVERIFY(view.spacing() <= 4096);
}

void TestListView::presses_data()
{
    QTest::addColumn<QPoint>("at"); // in row 2
    QTest::addColumn<QString>("control");
    QTest::newRow("overlap: the later control wins") << QPoint(70, 15) << "over";
    QTest::newRow("the earlier one outside the overlap") << QPoint(20, 15) << "under";
    QTest::newRow("row background: nothing") << QPoint(155, 2) << "";
}

void TestListView::presses()
{
    QFETCH(QPoint, at);
    QFETCH(QString, control);
    Fixture f;
    QSignalSpy pressed(f.view, &OrvQListView::pressCtrl);
    QTest::mousePress(f.view->viewport(), Qt::LeftButton, {}, f.rowPoint(2, at.x(), at.y()));
    QCOMPARE(pressed.count(), control.isEmpty() ? 0 : 1);
    if (!control.isEmpty()) {
        QCOMPARE(pressed.at(0).at(0).value<QWidget *>()->objectName(), control);
        QCOMPARE(pressed.at(0).at(1).value<QModelIndex>().row(), 2);
    }
}

void TestListView::rowLooksLikeTheTemplateAlone()
{
    Fixture f;
    // A disabled control stays disabled, a pressed one pressed, after rows paint.
    QWidget *check = f.view->findChild<QWidget *>("check");
    check->setEnabled(false);
    f.view->selectionModel()->select(f.model.index(1), QItemSelectionModel::Select);
    const QImage image = renderOf(*f.view);
    QVERIFY(!check->isEnabled());

    // The rows' styles: normal red, selected blue.
    QCOMPARE(image.pixel(f.rowPoint(0, 199, 29)), 0xffff0000u);
    QCOMPARE(image.pixel(f.rowPoint(1, 199, 29)), 0xff0000ffu);
    // The check box's text sits in each row where it sits in the template.
    QWidget *container = f.view->findChild<OrvQContainer *>();
    container->setVisible(true);
    const QImage alone = renderOf(*container).copy(160, 0, 40, 30);
    container->setVisible(false);
    QCOMPARE(image.copy(QRect(f.rowPoint(3, 160, 0), QSize(40, 30))), alone);
}

void TestListView::rowsFollowTheViewInItsWindow_data()
{
    QTest::addColumn<bool>("onScreen");
    QTest::newRow("window grabbed") << false;
    QTest::newRow("window on screen") << true;
}

void TestListView::rowsFollowTheViewInItsWindow()
{
    QFETCH(bool, onScreen);
    Fixture f;
    QVERIFY(f.exposed);
    const QRect row = f.view->visualRect(f.model.index(1));
    const QImage alone = renderOf(*f.view).copy(row);
    // Away from the window's origin, rows are painted where the view is.
    const QPoint at(37, 23);
    f.host.resize(260, 240);
    f.view->move(at);
    QCoreApplication::processEvents();
    QImage window;
    if (onScreen) {
        f.host.repaint();
        window = QGuiApplication::primaryScreen()->grabWindow(f.host.winId()).toImage();
    } else {
        window = f.host.grab().toImage();
    }
    QCOMPARE(window.convertToFormat(alone.format()).copy(row.translated(at)), alone);
}

void TestListView::hostileTemplates()
{
    Fixture f;
    // A fill hook that deletes a control, and one that repaints inside a paint.
    int fills = 0;
    f.view->setItemFillHook([&](OrvQListView *view, QWidget *item, const QModelIndex &) {
        ++fills;
        delete item->findChild<QWidget *>("under");
        view->viewport()->repaint();
    });
    renderOf(*f.view);
    QVERIFY(fills > 0);
    // A pressCtrl slot that deletes the view.
    connect(f.view, &OrvQListView::pressCtrl, f.view, [&f] { delete f.view; });
    QPointer<OrvQListView> watch(f.view);
    QTest::mousePress(f.view->viewport(), Qt::LeftButton, {}, f.rowPoint(0, 70, 15));
    QVERIFY(watch.isNull());

    // A template without controls is never hit.
    Fixture empty(R"({"type": "listview", "child": [{"type": "container"}, 5, {"type": "container"}]})");
    QSignalSpy pressed(empty.view, &OrvQListView::pressCtrl);
    QTest::mousePress(empty.view->viewport(), Qt::LeftButton, {}, empty.rowPoint(0, 5, 5));
    QCOMPARE(pressed.count(), 0);
}

void TestListView::beamAtTheFirstMove()
{
    Fixture f(R"({"type": "qtlistview", "w": 200, "h": 200, "attr": {"itemHeight": 30, "spacing": 0},
        "child": [{"type": "container", "w": 200, "h": 30, "child": [
            {"type": "qtlabelex", "name": "note", "x": 100, "y": 0, "w": 100, "h": 30, "attr": {"text": "n"}}]}]})");
    QVERIFY(f.exposed);
    f.view->findChild<OrvQLabelEx *>("note")->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QWidget *viewport = f.view->viewport();
    sendMouse(viewport, QEvent::MouseMove, f.rowPoint(1, 20, 15));
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
    // Straight into another row, onto the label: no second move needed.
    sendMouse(viewport, QEvent::MouseMove, f.rowPoint(2, 150, 15));
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
    sendMouse(viewport, QEvent::MouseMove, f.rowPoint(2, 20, 15));
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestListView)
#include "tst_listview.moc"
