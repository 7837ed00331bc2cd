#include "orvqtlib.h"
#include "testsupport.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Red = 0xffff0000;
const QRgb Green = 0xff00ff00;
const QRgb Blue = 0xff0000ff;

// Items red, hovered green, pressed blue; three actions without menus.
std::unique_ptr<OrvQMenuBar> makeBar()
{
    auto bar = std::make_unique<OrvQMenuBar>();
    bar->loadFromJson(parseJson(R"({"style": [["red", 0, 0], ["green", 0, 1], ["blue", 0, 2],
                                              ["fontWhite", 0, 3]]})"));
    bar->addAction(QStringLiteral("&File"));
    bar->addAction(QStringLiteral("&Edit"));
    bar->addAction(QStringLiteral("&View"));
    bar->resize(400, 30);
    bar->show();
    return bar;
}

QPoint centreOf(OrvQMenuBar &bar, int index)
{
    return bar.actionGeometry(bar.actions().at(index)).center();
}

// The colour at the top left corner of each item.
QList<QRgb> looksOf(OrvQMenuBar &bar)
{
    const QImage image = renderOf(bar);
    QList<QRgb> looks;
    for (QAction *action : bar.actions())
        looks << QColor(image.pixel(bar.actionGeometry(action).topLeft() + QPoint(1, 1))).rgb();
    return looks;
}

} // namespace

class TestMenuBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void looks();
    void keyboardActiveItemLooksHovered();
    void withoutActionsPaintsNothing();
    void actionsChangedResetIndexes();
    void deletedByTriggeredAction();
    void releaseTriggers_data();
    void releaseTriggers();
    void mnemonics_data();
    void mnemonics();
};

void TestMenuBar::initTestCase()
{
    initialize();
    QVERIFY(loadSkinPackage(QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip")));
}

void TestMenuBar::looks()
{
    auto bar = makeBar();
    QCOMPARE(looksOf(*bar), (QList<QRgb>{Red, Red, Red}));

    sendMouse(bar.get(), QEvent::MouseMove, centreOf(*bar, 1));
    QCOMPARE(looksOf(*bar), (QList<QRgb>{Red, Green, Red}));
    // Empty bar space keeps the hover look until the pointer leaves.
    sendMouse(bar.get(), QEvent::MouseMove, QPoint(395, 15));
    QCOMPARE(bar->impl()->hoverIndex(), 1);
    QCOMPARE(looksOf(*bar).at(1), Green);

    sendMouse(bar.get(), QEvent::MouseButtonPress, centreOf(*bar, 0));
    QCOMPARE(bar->impl()->pressedIndex(), 0);
    QCOMPARE(looksOf(*bar).at(0), Blue);
    // Released elsewhere: the pressed look goes.
    sendMouse(bar.get(), QEvent::MouseButtonRelease, QPoint(395, 15));
    QCOMPARE(bar->impl()->pressedIndex(), -1);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(bar.get(), &leave);
    QCOMPARE(bar->impl()->hoverIndex(), -1);
    QCOMPARE(looksOf(*bar), (QList<QRgb>{Red, Red, Red}));
}

void TestMenuBar::keyboardActiveItemLooksHovered()
{
    auto bar = makeBar();
    bar->setActiveAction(bar->actions().at(2));
    QCOMPARE(looksOf(*bar), (QList<QRgb>{Red, Red, Green}));
}

void TestMenuBar::withoutActionsPaintsNothing()
{
    OrvQMenuBar bar;
    bar.loadFromJson(parseJson(R"({"style": [["red", 0, 0]]})"));
    bar.resize(200, 30);
    QCOMPARE(boxOf(renderOf(bar), Red), QRect());
    QCOMPARE(qAlpha(renderOf(bar).pixel(100, 15)), 0);
}

void TestMenuBar::actionsChangedResetIndexes()
{
    auto bar = makeBar();
    sendMouse(bar.get(), QEvent::MouseMove, centreOf(*bar, 2));
    sendMouse(bar.get(), QEvent::MouseButtonPress, centreOf(*bar, 2));
    QCOMPARE(bar->impl()->hoverIndex(), 2);
    QCOMPARE(bar->impl()->pressedIndex(), 2);
    bar->removeAction(bar->actions().at(0));
    QCOMPARE(bar->impl()->hoverIndex(), -1);
    QCOMPARE(bar->impl()->pressedIndex(), -1);

    sendMouse(bar.get(), QEvent::MouseMove, centreOf(*bar, 1));
    QCOMPARE(bar->impl()->hoverIndex(), 1);
    bar->addAction(QStringLiteral("Help"));
    QCOMPARE(bar->impl()->hoverIndex(), -1);
}

void TestMenuBar::deletedByTriggeredAction()
{
    auto *bar = makeBar().release();
    QPointer<OrvQMenuBar> watch(bar);
    connect(bar->actions().at(1), &QAction::triggered, bar, [bar] { delete bar; });
    sendMouse(bar, QEvent::MouseButtonPress, centreOf(*bar, 1));
    QVERIFY(!watch.isNull());
    sendMouse(bar, QEvent::MouseButtonRelease, centreOf(*bar, 1));
    QVERIFY(watch.isNull());
    QCoreApplication::processEvents();
}

void TestMenuBar::releaseTriggers_data()
{
    QTest::addColumn<int>("pressOn"); // -1: empty bar space
    QTest::addColumn<int>("releaseOn");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("press and release on an item") << 1 << 1 << true;
    QTest::newRow("release on another item") << 0 << 1 << true;
    QTest::newRow("pressed on empty space") << -1 << 1 << true;
    QTest::newRow("released on empty space") << 1 << -1 << true;
    QTest::newRow("disabled action") << 1 << 1 << false;
}

// A release triggers exactly when it does on a plain QMenuBar, once.
void TestMenuBar::releaseTriggers()
{
    QFETCH(int, pressOn);
    QFETCH(int, releaseOn);
    QFETCH(bool, enabled);

    auto bar = makeBar();
    QMenuBar plain;
    for (QAction *action : bar->actions())
        plain.addAction(action->text());
    plain.resize(bar->size());
    plain.show();

    QList<int> counts;
    for (QMenuBar *menuBar : {static_cast<QMenuBar *>(bar.get()), &plain}) {
        QAction *action = menuBar->actions().at(1);
        action->setCheckable(true);
        action->setEnabled(enabled);
        QSignalSpy actionSpy(action, &QAction::triggered);
        QSignalSpy barSpy(menuBar, &QMenuBar::triggered);
        const auto at = [&](int index) {
            return index < 0 ? QPoint(395, 15) : menuBar->actionGeometry(menuBar->actions().at(index)).center();
        };
        sendMouse(menuBar, QEvent::MouseButtonPress, at(pressOn));
        sendMouse(menuBar, QEvent::MouseButtonRelease, at(releaseOn));
        QCOMPARE(barSpy.count(), actionSpy.count());
        QCOMPARE(action->isChecked(), actionSpy.count() == 1);
        counts << actionSpy.count();
    }
    QCOMPARE(counts.at(0), counts.at(1));
    QCOMPARE(counts.at(0), enabled && releaseOn >= 0 ? 1 : 0);
    QCOMPARE(bar->impl()->pressedIndex(), -1);
}

void TestMenuBar::mnemonics_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("marker") << "&File" << "File";
    QTest::newRow("doubled") << "&&" << "&";
    QTest::newRow("mixed") << "Save && &Quit" << "Save & Quit";
    QTest::newRow("trailing") << "End&" << "End&";
    QTest::newRow("none") << "Plain" << "Plain";
}

void TestMenuBar::mnemonics()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(withoutMnemonics(text), shown);
}

QTEST_MAIN(TestMenuBar)
#include "tst_menubar.moc"
