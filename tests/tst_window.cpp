#include "orvqtlib.h"
#include "testsupport.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

using Action = std::function<void(OrvQWindow *)>;

void sendMouse(QWidget *window, QEvent::Type type, const QPoint &global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, window->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

// Presses at `local`, moves the pointer by each step and releases there.
void gesture(QWidget *window, const QPoint &local, const QVector<QPoint> &steps,
             Qt::MouseButton button = Qt::LeftButton)
{
    QPoint global = window->mapToGlobal(local);
    sendMouse(window, QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
    sendMouse(window, QEvent::MouseButtonPress, global, button, button);
    for (const QPoint &step : steps)
        sendMouse(window, QEvent::MouseMove, global += step, Qt::NoButton, button);
    sendMouse(window, QEvent::MouseButtonRelease, global, button, Qt::NoButton);
}

std::unique_ptr<OrvQWindow> makeWindow(bool resizable = false)
{
    auto window = std::make_unique<OrvQWindow>();
    window->setGeometry(100, 100, 500, 500);
    window->setResizable(resizable);
    return window;
}

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(QMargins)

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void zones_data();
    void zones();
    void turningResizeOffRestoresArrow();
    void dragBand_data();
    void dragBand();
    void edgeResize_data();
    void edgeResize();
    void loopEnds_data();
    void loopEnds();
    void deletedWhileLoopRuns_data();
    void deletedWhileLoopRuns();
    void windowKeys_data();
    void windowKeys();
    void resizeLaysOutControls();
};

void TestWindow::initTestCase()
{
    initialize();
}

void TestWindow::zones_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("cursor");

    QTest::newRow("left") << QPoint(3, 250) << 0 << int(Qt::SizeHorCursor);
    QTest::newRow("right") << QPoint(497, 250) << 1 << int(Qt::SizeHorCursor);
    QTest::newRow("top") << QPoint(250, 0) << 2 << int(Qt::SizeVerCursor);
    QTest::newRow("bottom") << QPoint(250, 499) << 3 << int(Qt::SizeVerCursor);
    QTest::newRow("bottom-right") << QPoint(499, 499) << 4 << int(Qt::SizeFDiagCursor);
    QTest::newRow("top-right") << QPoint(499, 0) << 5 << int(Qt::SizeBDiagCursor);
    QTest::newRow("top-left") << QPoint(0, 0) << 6 << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom-left") << QPoint(0, 499) << 7 << int(Qt::SizeBDiagCursor);
    QTest::newRow("inside the left band") << QPoint(4, 250) << -1 << int(Qt::ArrowCursor);
    QTest::newRow("inside the right band") << QPoint(496, 250) << -1 << int(Qt::ArrowCursor);
}

void TestWindow::zones()
{
    QFETCH(QPoint, at);
    QFETCH(int, edge);
    QFETCH(int, cursor);

    auto window = makeWindow(true);
    const QPoint global = window->mapToGlobal(at);
    sendMouse(window.get(), QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
    QCOMPARE(int(window->cursor().shape()), cursor);
    sendMouse(window.get(), QEvent::MouseButtonPress, global, Qt::RightButton, Qt::RightButton);
    QCOMPARE(window->impl()->resizeEdge(), -1);
    sendMouse(window.get(), QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(window->impl()->resizeEdge(), edge);

    // Without "resize" nothing is grabbed and the cursor stays.
    auto fixed = makeWindow(false);
    sendMouse(fixed.get(), QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton);
    sendMouse(fixed.get(), QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(fixed->impl()->resizeEdge(), -1);
    QCOMPARE(fixed->cursor().shape(), Qt::ArrowCursor);
}

void TestWindow::turningResizeOffRestoresArrow()
{
    auto window = makeWindow(true);
    QVERIFY(window->hasMouseTracking());
    sendMouse(window.get(), QEvent::MouseMove, window->mapToGlobal(QPoint(1, 250)), Qt::NoButton, Qt::NoButton);
    QCOMPARE(window->cursor().shape(), Qt::SizeHorCursor);
    window->setResizable(false);
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!window->hasMouseTracking());
    QVERIFY(!window->impl()->isResizeCursorShown());
}

void TestWindow::dragBand_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("draggable");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("moves");

    QTest::newRow("last row of the band") << 39 << int(Qt::LeftButton) << true << false << true;
    QTest::newRow("below the band") << 40 << int(Qt::LeftButton) << true << false << false;
    QTest::newRow("right button") << 39 << int(Qt::RightButton) << true << false << false;
    QTest::newRow("not draggable") << 10 << int(Qt::LeftButton) << false << false << false;
    QTest::newRow("maximised still drags") << 39 << int(Qt::LeftButton) << true << true << true;
}

void TestWindow::dragBand()
{
    QFETCH(int, y);
    QFETCH(int, button);
    QFETCH(bool, draggable);
    QFETCH(bool, maximized);
    QFETCH(bool, moves);

    auto window = makeWindow(true);
    window->setDraggable(draggable);
    if (maximized)
        window->setWindowState(Qt::WindowMaximized);
    const QRect before = window->geometry();
    gesture(window.get(), QPoint(250, y), {{10, 5}, {20, 15}}, Qt::MouseButton(button));
    QCOMPARE(window->geometry(), moves ? before.translated(30, 20) : before);
    QVERIFY(!window->impl()->isDragging());
}

void TestWindow::edgeResize_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QVector<QPoint>>("steps");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QMargins>("moved"); // how far each side moves: left, top, right, bottom

    QTest::newRow("right grows") << QPoint(499, 250) << QVector<QPoint>{{30, 0}} << 400 << QMargins(0, 0, 30, 0);
    QTest::newRow("right stops at the minimum")
        << QPoint(499, 250) << QVector<QPoint>{{-150, 0}} << 400 << QMargins(0, 0, -100, 0);
    QTest::newRow("right follows the pointer back")
        << QPoint(499, 250) << QVector<QPoint>{{-150, 0}, {50, 0}, {50, 0}} << 400 << QMargins(0, 0, -50, 0);
    QTest::newRow("left stops, right stays") << QPoint(0, 250) << QVector<QPoint>{{150, 0}} << 400
                                             << QMargins(100, 0, 0, 0);
    QTest::newRow("left follows the pointer back")
        << QPoint(0, 250) << QVector<QPoint>{{150, 0}, {-80, 0}} << 400 << QMargins(70, 0, 0, 0);
    QTest::newRow("top stops, bottom stays") << QPoint(250, 0) << QVector<QPoint>{{0, 150}} << 400
                                             << QMargins(0, 100, 0, 0);
    QTest::newRow("bottom shrinks") << QPoint(250, 499) << QVector<QPoint>{{0, -30}} << 400
                                    << QMargins(0, 0, 0, -30);
    QTest::newRow("top-left stops on both") << QPoint(0, 0) << QVector<QPoint>{{150, 40}} << 400
                                            << QMargins(100, 40, 0, 0);
    QTest::newRow("bottom-right") << QPoint(499, 499) << QVector<QPoint>{{-30, 200}} << 400
                                  << QMargins(0, 0, -30, 200);
    QTest::newRow("top-right") << QPoint(499, 0) << QVector<QPoint>{{20, 150}} << 400 << QMargins(0, 100, 20, 0);
    QTest::newRow("left grows to a larger minimum")
        << QPoint(0, 250) << QVector<QPoint>{{1, 0}} << 600 << QMargins(-100, 0, 0, 0);
    QTest::newRow("huge minimum") << QPoint(499, 250) << QVector<QPoint>{{1, 0}} << int(QWIDGETSIZE_MAX)
                                  << QMargins(0, 0, QWIDGETSIZE_MAX - 500, 0);
}

void TestWindow::edgeResize()
{
    QFETCH(QPoint, at);
    QFETCH(QVector<QPoint>, steps);
    QFETCH(int, minimum);
    QFETCH(QMargins, moved);

    auto window = makeWindow(true);
    window->setMinWidth(minimum);
    window->setMinHeight(minimum);
    const QRect before = window->geometry();
    gesture(window.get(), at, steps);
    QCOMPARE(window->geometry(), before.adjusted(moved.left(), moved.top(), moved.right(), moved.bottom()));
    QCOMPARE(window->impl()->resizeEdge(), -1);
}

void TestWindow::loopEnds_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("rejected");
    QTest::addColumn<int>("finished");

    QTest::newRow("close") << Action([](OrvQWindow *w) { w->close(); }) << 1 << 1;
    QTest::newRow("reject") << Action([](OrvQWindow *w) { w->reject(); }) << 1 << 1;
    QTest::newRow("accept") << Action([](OrvQWindow *w) { w->accept(); }) << 0 << 1;
    QTest::newRow("done") << Action([](OrvQWindow *w) { w->done(5); }) << 0 << 1;
    QTest::newRow("hide") << Action([](OrvQWindow *w) { w->hide(); }) << 0 << 0;
    QTest::newRow("escape") << Action([](OrvQWindow *w) { QTest::keyClick(w, Qt::Key_Escape); }) << 1 << 1;
}

void TestWindow::loopEnds()
{
    QFETCH(Action, action);
    QFETCH(int, rejected);
    QFETCH(int, finished);

    auto window = makeWindow();
    // A close while the loop is not running must not end the next run early.
    window->show();
    window->close();
    QSignalSpy rejectedSpy(window.get(), &QDialog::rejected);
    QSignalSpy finishedSpy(window.get(), &QDialog::finished);

    bool shown = false;
    bool timedOut = false;
    QTimer::singleShot(0, window.get(), [&] {
        shown = window->isVisible();
        action(window.get());
    });
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, [&] { timedOut = true; window->eventLoop()->exit(1); });
    watchdog.start(5000);

    QCOMPARE(window->runEventLoop(), 0);
    QVERIFY(shown);
    QVERIFY(!timedOut);
    QVERIFY(!window->isVisible());
    QCOMPARE(rejectedSpy.count(), rejected);
    QCOMPARE(finishedSpy.count(), finished);
}

void TestWindow::deletedWhileLoopRuns_data()
{
    QTest::addColumn<bool>("byFinishedOnClose");
    QTest::newRow("deleted directly") << false;
    QTest::newRow("deleted by finished on close") << true;
}

void TestWindow::deletedWhileLoopRuns()
{
    QFETCH(bool, byFinishedOnClose);

    auto window = makeWindow();
    OrvQWindow *raw = window.get();
    // The runner's exec() still uses the loop after the window has gone.
    const std::weak_ptr<QEventLoop> loop = raw->eventLoop();
    bool loopOutlivedWindow = false;
    const auto destroy = [&] {
        window.reset();
        loopOutlivedWindow = !loop.expired();
    };
    if (byFinishedOnClose) {
        connect(raw, &QDialog::finished, destroy);
        QTimer::singleShot(0, [raw] { raw->close(); });
    } else {
        QTimer::singleShot(0, destroy);
    }
    QCOMPARE(raw->runEventLoop(), 0);
    QVERIFY(!window);
    QVERIFY(loopOutlivedWindow);
    QVERIFY(loop.expired());
}

void TestWindow::windowKeys_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("draggable");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<bool>("onlyCaption");

    QTest::newRow("none") << QByteArray("{}") << QSize(500, 500) << true << false << QSize(400, 400) << false;
    QTest::newRow("all") << QByteArray(R"({"w": 640, "h": 480, "drag": false, "resize": true, "minW": 300,
                                          "minH": 200, "onlyDragCaption": true})")
                         << QSize(640, 480) << false << true << QSize(300, 200) << true;
    QTest::newRow("hostile") << QByteArray(R"({"w": -5, "h": 1e12, "drag": "no", "resize": [true],
                                              "minW": 1e12, "minH": -3, "onlyDragCaption": {}})")
                             << QSize(1, QWIDGETSIZE_MAX) << true << false << QSize(QWIDGETSIZE_MAX, 1) << false;
}

void TestWindow::windowKeys()
{
    QFETCH(QByteArray, description);
    QFETCH(QSize, size);
    QFETCH(bool, draggable);
    QFETCH(bool, resizable);
    QFETCH(QSize, minimum);
    QFETCH(bool, onlyCaption);

    auto window = makeWindow();
    applyWindowKeys(parseJson(description), window.get());
    QCOMPARE(window->size(), size);
    QCOMPARE(window->isDraggable(), draggable);
    QCOMPARE(window->isResizable(), resizable);
    QCOMPARE(window->hasMouseTracking(), resizable);
    QCOMPARE(QSize(window->minWidth(), window->minHeight()), minimum);
    QCOMPARE(window->onlyDragCaption(), onlyCaption);

    // The setters hold what they are given to the same range.
    window->setMinWidth(INT_MAX);
    window->setMinHeight(INT_MIN);
    QCOMPARE(QSize(window->minWidth(), window->minHeight()), QSize(QWIDGETSIZE_MAX, 1));
}

void TestWindow::resizeLaysOutControls()
{
    auto window = makeWindow();
    QVERIFY(buildElements(parseJson(R"({"elements": [{"type": "container", "name": "fill",
                                        "layout": {"type": 1, "x": 10, "y": 20, "r": 30, "b": 40}}]})"),
                          window.get()));
    window->show();
    window->resize(300, 200);
    QCOMPARE(window->findChild<QWidget *>("fill")->geometry(), QRect(10, 20, 260, 140));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
