#include "orvqtlib.h"
#include "testsupport.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

int messages = 0;

// A hidden 200 x 200 view with 16-pixel bars, built by the loader into `host`.
OrvQScrollView *build(QWidget &host, const QByteArray &children, const QByteArray &style = "[]")
{
    host.resize(300, 300);
    buildElements(parseJson(R"({"elements": [{"type": "scrollview", "w": 200, "h": 200, "style": )" + style
                            + R"(, "child": [{"type": "qtscrollbar", "w": 16}, )" + children + "]}]}"),
                  &host);
    return host.findChild<OrvQScrollView *>();
}

} // namespace

class TestScrollView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initialize();
        QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
    }

    void content_data()
    {
        QTest::addColumn<QByteArray>("children");
        QTest::addColumn<QString>("content"); // object name, empty: none
        QTest::addColumn<int>("vertical");    // range before show: 600 over a 184-high viewport
        QTest::newRow("no container") << QByteArray(R"({"type": "label", "w": 300, "h": 600})") << "" << 0;
        QTest::newRow("the first of three") << QByteArray(R"({"type": "label"}, {"type": "container", "name": "a",
            "w": 300, "h": 600, "child": [{"type": "label", "name": "in", "layout": {"type": 1, "x": 5, "r": 5}}]},
            {"type": "container", "name": "b"}, {"type": "container", "name": "c"})") << "a" << 416;
    }

    void content()
    {
        QFETCH(QByteArray, children);
        QFETCH(QString, content);
        QFETCH(int, vertical);
        QWidget host;
        OrvQScrollView *view = build(host, children);
        QWidget *chosen = view->impl()->content();
        QCOMPARE(chosen ? chosen->objectName() : QString(), content);
        QCOMPARE(view->verticalScrollBar()->maximum(), vertical);
        if (chosen)
            QCOMPARE(chosen->findChild<QWidget *>("in")->geometry(), QRect(5, 0, 290, 600));

        QSignalSpy moved(view, &OrvQScrollView::scrollPosChanged);
        view->verticalScrollBar()->setValue(30);
        QPoint sum;
        for (const QList<QVariant> &signal : moved)
            sum += QPoint(signal.at(0).toInt(), signal.at(1).toInt());
        QCOMPARE(sum, QPoint(0, chosen ? -30 : 0));
        // A content the host replaces is never reached through a stale pointer.
        view->setWidget(new QWidget);
        QCOMPARE(view->impl()->content(), view->widget());
    }

    void background_data()
    {
        QTest::addColumn<QByteArray>("style");
        QTest::addColumn<QRgb>("color");
        QTest::newRow("none: white") << QByteArray("[]") << 0xffffffffu;
        QTest::newRow("slot 5 like 0, negative ignored") << QByteArray(R"([["red", 0, 5], ["green", 0, -1]])")
                                                         << 0xffff0000u;
        QTest::newRow("last wins") << QByteArray(R"({"b": ["green", 0, 0], "a": ["red", 0, 9]})") << 0xff00ff00u;
    }

    void background()
    {
        QFETCH(QByteArray, style);
        QFETCH(QRgb, color);
        QWidget host;
        OrvQScrollView *view = build(host, R"({"type": "container", "w": 100, "h": 100})", style);
        QCOMPARE(renderOf(*view).pixel(150, 150), color);
        // A see-through content shows the background, not Qt's palette.
        OrvQRectStyle none;
        none.nonEmpty = false;
        qobject_cast<OrvQContainer *>(view->widget())->setNormalStyle(none);
        QCOMPARE(renderOf(*view).pixel(50, 50), color);
    }

    void hostileDescription()
    {
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &) {
                // Only Qt's; the toolkit reports what it clamps on its own category.
                if (qstrcmp(context.category, "orvqtlib.skin") != 0)
                    ++messages;
            });
        QWidget host;
        OrvQScrollView *view = build(host, R"({"type": "container", "w": 16777216, "h": -5, "layout": {"type": 1,
            "r": 1e9}}, {"type": "qtscrollbar", "w": "9", "h": 1e12, "attr": {"hor": 1, "size": -4, "upicon": 3},
            "style": {"a": [null, 0, 10], "b": ["red", 0, 1e20]}})", R"({"a": ["red", "0", "5"], "b": 5})");
        host.show();
        renderOf(host);
        view->verticalScrollBar()->setValue(INT_MAX);
        qInstallMessageHandler(previous);
        QCOMPARE(messages, 0);
    }
};

QTEST_MAIN(TestScrollView)
#include "tst_scrollview.moc"
