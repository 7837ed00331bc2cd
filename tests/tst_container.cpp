#include "container.h"
#include "controlregistry.h"
#include "jsonreaders.h"
#include "label.h"
#include "resourcemanager.h"
#include "windowloader.h"
#include "testsupport.h"

#include <QImage>
#include <QtTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

// One child per letter: L a fixed-layout label, A an anchored label, F a
// label with a fill layout, W a plain widget. Each starts at (1, 2).
QWidget *addChild(QWidget *parent, QChar kind, const QSize &size)
{
    if (kind == QLatin1Char('W')) {
        auto *plain = new QWidget(parent);
        plain->setGeometry(QRect(QPoint(1, 2), size));
        return plain;
    }
    auto *label = new OrvQLabel(parent);
    if (kind == QLatin1Char('A')) {
        OrvQLayoutParams params;
        params.p5 = 1;
        params.p6 = 2;
        params.p7 = size.width();
        params.p8 = size.height();
        label->setAnchorLayout(params);
    } else if (kind == QLatin1Char('F')) {
        label->setGeometry(QRect(QPoint(1, 2), size));
        label->setManagedLayout(0, 0, 0, 0, 0, 0);
    } else {
        label->setFixedLayout(1, 2, size.width(), size.height());
    }
    return label;
}

struct Window {
    std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
    OrvQContainer *container = nullptr;

    explicit Window(const char *element)
    {
        top->resize(400, 300);
        container = new OrvQContainer(top.get());
        container->loadFromJson(parseJson(element));
    }
};

QColor pixelOf(QWidget *widget, const QPoint &at)
{
    return widget->grab().toImage().pixelColor(at);
}

} // namespace

class TestContainer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void testArrangement_data();
    void testArrangement();
    void testAnchoredChildTakesOffsets();
    void testRearrangesOnResize();
    void testNestedContainersAfterShow();
    void testResizeAgainstOwnLayoutSettles();
    void testHostileSpace();

    void testLook_data();
    void testLook();
    void testSetNormalStyle();
    void testOpaqueOnlyWhenItCoversAll_data();
    void testOpaqueOnlyWhenItCoversAll();
    void testRegisteredNames();

private:
};

void TestContainer::initTestCase()
{
    initialize();
    OrvQResourceManager::instance().parseStyles(parseJson(R"([
        {"type": 1, "name": "ct.red", "clr": "ffff0000", "drawImg": false},
        {"type": 1, "name": "ct.blue", "clr": "ff0000ff", "drawImg": false},
        {"type": 1, "name": "ct.round", "clr": "ff0000ff", "drawImg": false, "round": 4},
        {"type": 1, "name": "ct.glass", "clr": "800000ff", "drawImg": false}
    ])"));
}

void TestContainer::testArrangement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("space");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QVector<QSize>>("sizes");
    QTest::addColumn<QVector<QPoint>>("expected");

    const QSize s40(40, 10);
    const QSize s30(30, 20);
    QTest::newRow("no mode keeps layouts") << 4 << 5 << QSize(100, 100) << "LL" << QVector<QSize>{s40, s40}
                                           << QVector<QPoint>{{1, 2}, {1, 2}};
    QTest::newRow("unknown mode keeps layouts") << 9 << 5 << QSize(100, 100) << "LL" << QVector<QSize>{s40, s40}
                                                << QVector<QPoint>{{1, 2}, {1, 2}};
    QTest::newRow("row without space touches") << 0 << 0 << QSize(100, 100) << "LLL"
                                               << QVector<QSize>{s40, s30, s40}
                                               << QVector<QPoint>{{0, 2}, {40, 2}, {70, 2}};
    QTest::newRow("row skips plain widgets, counts fill")
        << 0 << 5 << QSize(100, 100) << "LWFL" << QVector<QSize>{s40, s30, s30, s40}
        << QVector<QPoint>{{5, 2}, {1, 2}, {1, 2}, {85, 2}};
    QTest::newRow("column") << 1 << 3 << QSize(100, 100) << "LL" << QVector<QSize>{s40, s30}
                            << QVector<QPoint>{{1, 3}, {1, 16}};
    QTest::newRow("wrapping rows") << 2 << 5 << QSize(100, 100) << "LLL" << QVector<QSize>{s40, s40, s40}
                                   << QVector<QPoint>{{5, 5}, {50, 5}, {5, 20}};
    QTest::newRow("exactly reaching the width stays") << 2 << 5 << QSize(95, 100) << "LLL"
                                                      << QVector<QSize>{s40, s40, s40}
                                                      << QVector<QPoint>{{5, 5}, {50, 5}, {5, 20}};
    QTest::newRow("one past the width wraps") << 2 << 5 << QSize(94, 100) << "LL" << QVector<QSize>{s40, s40}
                                              << QVector<QPoint>{{5, 5}, {5, 20}};
    QTest::newRow("first child wider than the row") << 2 << 5 << QSize(30, 100) << "L" << QVector<QSize>{s40}
                                                    << QVector<QPoint>{{5, 20}};
    QTest::newRow("plain widget wraps without moving")
        << 2 << 5 << QSize(100, 100) << "LWL" << QVector<QSize>{s40, QSize(60, 30), s40}
        << QVector<QPoint>{{5, 5}, {1, 2}, {5, 40}};
    QTest::newRow("wrap uses the height of the child that does not fit")
        << 2 << 0 << QSize(70, 100) << "LL" << QVector<QSize>{QSize(40, 50), s40}
        << QVector<QPoint>{{0, 0}, {0, 10}};
    QTest::newRow("wrapping columns") << 3 << 5 << QSize(100, 50) << "LLL" << QVector<QSize>{s30, s30, s30}
                                      << QVector<QPoint>{{5, 5}, {40, 5}, {75, 5}};
    QTest::newRow("wrapping columns, plain widget")
        << 3 << 2 << QSize(100, 30) << "WL" << QVector<QSize>{QSize(20, 40), s40}
        << QVector<QPoint>{{1, 2}, {24, 2}};
}

void TestContainer::testArrangement()
{
    QFETCH(int, mode);
    QFETCH(int, space);
    QFETCH(QSize, size);
    QFETCH(QString, kinds);
    QFETCH(QVector<QSize>, sizes);
    QFETCH(QVector<QPoint>, expected);

    const QByteArray element = QStringLiteral(R"({"x": 0, "y": 0, "w": %1, "h": %2,
        "attr": {"childLayout": %3, "space": %4}})").arg(size.width()).arg(size.height()).arg(mode).arg(space)
        .toUtf8();
    Window window(element.constData());
    QVector<QWidget *> children;
    for (int i = 0; i < kinds.size(); ++i)
        children << addChild(window.container, kinds.at(i), sizes.at(i));
    window.container->updateLayout();
    window.top->show();

    for (int i = 0; i < children.size(); ++i)
        QCOMPARE(children.at(i)->pos(), expected.at(i));
}

void TestContainer::testAnchoredChildTakesOffsets()
{
    Window window(R"({"x": 0, "y": 0, "w": 100, "h": 100, "attr": {"childLayout": 2, "space": 4}})");
    QWidget *first = addChild(window.container, QLatin1Char('A'), QSize(50, 10));
    QWidget *second = addChild(window.container, QLatin1Char('A'), QSize(50, 10));
    window.container->updateLayout();
    window.top->show();

    QCOMPARE(first->geometry(), QRect(4, 4, 50, 10));
    QCOMPARE(second->geometry(), QRect(4, 18, 50, 10));
    const OrvQLayoutParams *params = controlInterface(second)->layoutData();
    QVERIFY(params);
    QCOMPARE(params->p5, 4);
    QCOMPARE(params->p6, 18);
}

void TestContainer::testRearrangesOnResize()
{
    Window window(R"({"x": 0, "y": 0, "w": 200, "h": 100, "attr": {"childLayout": 2, "space": 0}})");
    QWidget *first = addChild(window.container, QLatin1Char('L'), QSize(60, 10));
    QWidget *second = addChild(window.container, QLatin1Char('L'), QSize(60, 10));
    window.container->updateLayout();
    window.top->show();
    QCOMPARE(second->pos(), QPoint(60, 0));

    window.container->setFixedLayout(0, 0, 100, 100);
    QCOMPARE(first->pos(), QPoint(0, 0));
    QCOMPARE(second->pos(), QPoint(0, 10));
}

void TestContainer::testNestedContainersAfterShow()
{
    // Fill layouts all the way down: every level is 2 pixels smaller on each
    // side, and the innermost one arranges its labels in a wrapping row.
    QWidget top;
    top.resize(300, 200);
    QByteArray description = R"({"elements": [)";
    const int depth = 12;
    for (int i = 0; i < depth; ++i)
        description += R"({"type": "container", "layout": {"type": 1, "x": 2, "y": 2, "r": 2, "b": 2},)"
                       R"( "child": [)";
    description += R"({"type": "container", "name": "inner", "layout": {"type": 1},
        "attr": {"childLayout": 2}, "child": [
        {"type": "label", "name": "a", "w": 100, "h": 10},
        {"type": "label", "name": "b", "w": 100, "h": 10},
        {"type": "label", "name": "c", "w": 100, "h": 10}]})";
    for (int i = 0; i < depth; ++i)
        description += "]}";
    description += "]}";
    const Json::Value root = parseJson(description.constData());
    QVERIFY(root.isObject());
    QVERIFY(buildElements(root, &top));
    top.show();

    auto *inner = top.findChild<OrvQContainer *>("inner");
    QVERIFY(inner);
    QCOMPARE(inner->size(), QSize(300 - 4 * depth, 200 - 4 * depth));
    QCOMPARE(top.findChild<QWidget *>("b")->pos(), QPoint(100, 0));
    QCOMPARE(top.findChild<QWidget *>("c")->pos(), QPoint(0, 10));

    // Narrowing the outermost container cascades down and re-wraps.
    auto *outer = qobject_cast<OrvQContainer *>(inner->parentWidget());
    while (qobject_cast<OrvQContainer *>(outer->parentWidget()))
        outer = qobject_cast<OrvQContainer *>(outer->parentWidget());
    outer->setFillLayout(2, 2, 100, 2);
    outer->updateLayout();
    QCOMPARE(inner->width(), 300 - 102 - 4 * (depth - 1));
    QCOMPARE(top.findChild<QWidget *>("b")->pos(), QPoint(0, 10));
    QCOMPARE(top.findChild<QWidget *>("c")->pos(), QPoint(0, 20));
}

void TestContainer::testResizeAgainstOwnLayoutSettles()
{
    Window window(R"({"x": 10, "y": 10, "w": 100, "h": 50, "attr": {"childLayout": 0}})");
    QWidget *child = addChild(window.container, QLatin1Char('L'), QSize(20, 20));
    window.container->updateLayout();
    window.top->show();
    window.container->setMinimumSize(0, 0);
    window.container->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    // Its resize handler puts it back at its own layout without recursing.
    window.container->resize(300, 200);
    QCOMPARE(window.container->geometry(), QRect(10, 10, 100, 50));
    QCOMPARE(child->pos(), QPoint(0, 2));
}

void TestContainer::testHostileSpace()
{
    Window window(R"({"x": 0, "y": 0, "w": 100, "h": 100, "attr": {"childLayout": 2, "space": 2147483647}})");
    QWidget *first = addChild(window.container, QLatin1Char('L'), QSize(10, 10));
    QWidget *second = addChild(window.container, QLatin1Char('L'), QSize(10, 10));
    window.container->updateLayout();
    window.top->show();
    QCOMPARE(first->x(), QWIDGETSIZE_MAX);
    QCOMPARE(second->x(), QWIDGETSIZE_MAX);
}

void TestContainer::testLook_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("expected");

    const QColor grey(128, 128, 128);
    const QColor red(255, 0, 0);
    const QColor blue(0, 0, 255);
    QTest::newRow("default grey") << QByteArray("[]") << true << grey;
    QTest::newRow("default grey disabled") << QByteArray("[]") << false << grey;
    QTest::newRow("state 0 sets both") << QByteArray(R"([["ct.red", 0, 0]])") << false << red;
    QTest::newRow("state 1 disabled only") << QByteArray(R"([["ct.red", 0, 0], ["ct.blue", 0, 1]])")
                                           << true << red;
    QTest::newRow("state 1 when disabled") << QByteArray(R"([["ct.red", 0, 0], ["ct.blue", 0, 1]])")
                                           << false << blue;
    QTest::newRow("later entry wins") << QByteArray(R"([["ct.red", 0, 0], ["ct.blue", 0, 0]])") << true << blue;
    QTest::newRow("unknown name and state") << QByteArray(R"([["ct.none", 0, 0], ["ct.red", 0, 2]])") << true
                                            << grey;
    QTest::newRow("object of entries") << QByteArray(R"({"b": ["ct.blue", 0, 0], "a": ["ct.red", 0, 0]})")
                                       << true << blue;
}

void TestContainer::testLook()
{
    QFETCH(QByteArray, style);
    QFETCH(bool, enabled);
    QFETCH(QColor, expected);
    const QByteArray element = R"({"x": 0, "y": 0, "w": 40, "h": 30, "style": )" + style + "}";
    Window window(element.constData());
    window.container->updateLayout();
    window.container->setEnabled(enabled);
    QCOMPARE(pixelOf(window.container, QPoint(20, 15)), expected);
}

void TestContainer::testSetNormalStyle()
{
    Window window(R"({"x": 0, "y": 0, "w": 40, "h": 30})");
    window.container->updateLayout();
    OrvQRectStyle style;
    style.color = QColor(0, 255, 0);
    window.container->setNormalStyle(style);
    QCOMPARE(pixelOf(window.container, QPoint(5, 5)), QColor(0, 255, 0));
    window.container->setEnabled(false);
    QCOMPARE(pixelOf(window.container, QPoint(5, 5)), QColor(128, 128, 128));
}

// Qt paints nothing beneath an opaque widget, so a container that leaves
// any pixel uncovered must not claim to be one.
void TestContainer::testOpaqueOnlyWhenItCoversAll_data()
{
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("square opaque fill") << QByteArray(R"([["ct.red", 0, 0]])") << true;
    QTest::newRow("rounded corners") << QByteArray(R"([["ct.round", 0, 0]])") << false;
    QTest::newRow("translucent fill") << QByteArray(R"([["ct.glass", 0, 0]])") << false;
    QTest::newRow("translucent while disabled") << QByteArray(R"([["ct.red", 0, 0], ["ct.glass", 0, 1]])") << false;
}

void TestContainer::testOpaqueOnlyWhenItCoversAll()
{
    QFETCH(QByteArray, style);
    QFETCH(bool, opaque);
    const QByteArray element = R"({"x": 0, "y": 0, "w": 40, "h": 30, "style": )" + style + "}";
    Window window(element.constData());
    QCOMPARE(window.container->testAttribute(Qt::WA_OpaquePaintEvent), opaque);
}

void TestContainer::testRegisteredNames()
{
    QWidget parent;
    for (const char *name : {"qtcontainer", "container"}) {
        QWidget *widget = createControl(name, parseJson(R"({"w": 10, "h": 10})"), &parent);
        QVERIFY(qobject_cast<OrvQContainer *>(widget));
        QCOMPARE(controlInterface(widget)->typeName(), QStringLiteral("qtcontainer"));
        QVERIFY(widget->hasMouseTracking());
    }
}

QTEST_MAIN(TestContainer)
#include "tst_container.moc"
