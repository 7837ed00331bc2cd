#include "orvqtlib.h"
#include "testsupport.h"

#include <QEventLoop>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

using Action = std::function<void(OrvQWindow *)>;

void sendGlobalMouse(QWidget *window, QEvent::Type type, const QPoint &global, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons buttons = Qt::NoButton)
{
    QMouseEvent event(type, window->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

// Hovers and presses at `local`, moves the pointer by each step, releases.
void gesture(QWidget *window, const QPoint &local, const QVector<QPoint> &steps,
             Qt::MouseButton button = Qt::LeftButton)
{
    QPoint global = window->mapToGlobal(local);
    sendGlobalMouse(window, QEvent::MouseMove, global);
    sendGlobalMouse(window, QEvent::MouseButtonPress, global, button, button);
    for (const QPoint &step : steps)
        sendGlobalMouse(window, QEvent::MouseMove, global += step, Qt::NoButton, button);
    sendGlobalMouse(window, QEvent::MouseButtonRelease, global, button);
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
    void initTestCase() { initialize(); }
    void zones_data();
    void zones();
    void gestures_data();
    void gestures();
    void loopEnds_data();
    void loopEnds();
    void deletedWhileLoopRuns_data();
    void deletedWhileLoopRuns();
    void windowKeys_data();
    void windowKeys();
    void resizeLaysOutControls();
};

void TestWindow::zones_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("edge");
    QTest::addColumn<Qt::CursorShape>("cursor");
    QTest::newRow("left") << QPoint(3, 250) << 0 << Qt::SizeHorCursor;
    QTest::newRow("right") << QPoint(497, 250) << 1 << Qt::SizeHorCursor;
    QTest::newRow("top") << QPoint(250, 0) << 2 << Qt::SizeVerCursor;
    QTest::newRow("bottom") << QPoint(250, 499) << 3 << Qt::SizeVerCursor;
    QTest::newRow("bottom-right") << QPoint(499, 499) << 4 << Qt::SizeFDiagCursor;
    QTest::newRow("top-right") << QPoint(499, 0) << 5 << Qt::SizeBDiagCursor;
    QTest::newRow("top-left") << QPoint(0, 0) << 6 << Qt::SizeFDiagCursor;
    QTest::newRow("bottom-left") << QPoint(0, 499) << 7 << Qt::SizeBDiagCursor;
    QTest::newRow("inside the left band") << QPoint(4, 250) << -1 << Qt::ArrowCursor;
    QTest::newRow("inside the right band") << QPoint(496, 250) << -1 << Qt::ArrowCursor;
}

void TestWindow::zones()
{
    QFETCH(QPoint, at);
    QFETCH(int, edge);
    QFETCH(Qt::CursorShape, cursor);
    auto window = makeWindow(true);
    const QPoint global = window->mapToGlobal(at);
    sendGlobalMouse(window.get(), QEvent::MouseMove, global);
    QCOMPARE(window->cursor().shape(), cursor);
    sendGlobalMouse(window.get(), QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(window->impl()->resizeEdge(), edge);

    // No more moves would come to take the edge cursor back.
    window->setResizable(false);
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(window->impl()->resizeEdge(), -1);
    sendGlobalMouse(window.get(), QEvent::MouseMove, global);
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
}

void TestWindow::gestures_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QVector<QPoint>>("steps");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QMargins>("moved"); // how far the left, top, right and bottom sides move

    using Steps = QVector<QPoint>;
    const int left = Qt::LeftButton;
    QTest::newRow("drag in the last row of the band")
        << QPoint(250, 39) << Steps{{10, 5}, {20, 15}} << left << 400 << QMargins(30, 20, 30, 20);
    QTest::newRow("no drag below the band") << QPoint(250, 40) << Steps{{10, 5}} << left << 400 << QMargins();
    QTest::newRow("right button neither drags nor resizes")
        << QPoint(0, 0) << Steps{{10, 5}} << int(Qt::RightButton) << 400 << QMargins();
    QTest::newRow("right stops at the minimum")
        << QPoint(499, 250) << Steps{{-150, 0}} << left << 400 << QMargins(0, 0, -100, 0);
    QTest::newRow("right picks up where the pointer returns")
        << QPoint(499, 250) << Steps{{-150, 0}, {50, 0}, {50, 0}} << left << 400 << QMargins(0, 0, -50, 0);
    QTest::newRow("left stops, right stays")
        << QPoint(0, 250) << Steps{{150, 0}} << left << 400 << QMargins(100, 0, 0, 0);
    QTest::newRow("top stops, bottom stays")
        << QPoint(250, 0) << Steps{{0, 150}} << left << 400 << QMargins(0, 100, 0, 0);
    QTest::newRow("top-left") << QPoint(0, 0) << Steps{{150, 40}} << left << 400 << QMargins(100, 40, 0, 0);
    QTest::newRow("bottom-right")
        << QPoint(499, 499) << Steps{{-30, 80}} << left << 400 << QMargins(0, 0, -30, 80);
    QTest::newRow("left grows to a larger minimum")
        << QPoint(0, 250) << Steps{{1, 0}} << left << 600 << QMargins(-100, 0, 0, 0);
    // Growing to a minimum of millions of pixels would need gigabytes of
    // backing store: the screens bound it.
    const int screens = QGuiApplication::primaryScreen()->availableVirtualSize().width();
    QTest::newRow("huge minimum stops at the screens' width")
        << QPoint(499, 250) << Steps{{1, 0}} << left << int(QWIDGETSIZE_MAX) << QMargins(0, 0, screens - 500, 0);
}

void TestWindow::gestures()
{
    QFETCH(QPoint, at);
    QFETCH(QVector<QPoint>, steps);
    QFETCH(int, button);
    QFETCH(int, minimum);
    QFETCH(QMargins, moved);
    auto window = makeWindow(true);
    window->setMinWidth(minimum);
    window->setMinHeight(minimum);
    const QRect before = window->geometry();
    gesture(window.get(), at, steps, Qt::MouseButton(button));
    QCOMPARE(window->geometry(), before.adjusted(moved.left(), moved.top(), moved.right(), moved.bottom()));
}

void TestWindow::loopEnds_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("rejected");
    QTest::addColumn<int>("finished");
    QTest::newRow("close") << Action([](OrvQWindow *w) { w->close(); }) << 1 << 1;
    QTest::newRow("reject") << Action([](OrvQWindow *w) { w->reject(); }) << 1 << 1;
    QTest::newRow("accept") << Action([](OrvQWindow *w) { w->accept(); }) << 0 << 1;
    QTest::newRow("hide") << Action([](OrvQWindow *w) { w->hide(); }) << 0 << 0;
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
    QTimer::singleShot(0, window.get(), [&] {
        shown = window->isVisible();
        action(window.get());
    });
    QTimer watchdog;
    connect(&watchdog, &QTimer::timeout, [&] { window->eventLoop()->exit(1); });
    watchdog.start(5000);
    QCOMPARE(window->runEventLoop(), 0);
    QVERIFY(shown);
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
    QVERIFY(loopOutlivedWindow);
    QVERIFY(loop.expired());
}

void TestWindow::windowKeys_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << QByteArray(R"({"w": 640, "h": 480, "drag": false, "resize": true, "minW": 300,
                                          "minH": 200, "onlyDragCaption": true})")
                         << "640x480 drag 0 resize 1 tracking 1 min 300x200 caption 1";
    QTest::newRow("hostile") << QByteArray(R"({"w": -5, "h": 1e12, "drag": "no", "resize": [true],
                                              "minW": 1e12, "minH": -3, "onlyDragCaption": {}})")
                             << "1x16777215 drag 1 resize 0 tracking 0 min 16777215x1 caption 0";
}

void TestWindow::windowKeys()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, expected);
    auto window = makeWindow();
    applyWindowKeys(parseJson(description), window.get());
    QCOMPARE(QStringLiteral("%1x%2 drag %3 resize %4 tracking %5 min %6x%7 caption %8")
                 .arg(window->width()).arg(window->height()).arg(window->isDraggable())
                 .arg(window->isResizable()).arg(window->hasMouseTracking()).arg(window->minWidth())
                 .arg(window->minHeight()).arg(window->onlyDragCaption()),
             expected);
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
