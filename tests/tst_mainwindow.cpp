#include "orvqtquelvane.h"

#include "control.h"
#include "controlregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace OrvQtLib;

namespace {

// A bare control type, so the description on disk builds without relying on
// any particular control family.
class TestPanel : public OrvQControl<QWidget>
{
    Q_OBJECT
    Q_INTERFACES(OrvQtLib::IOrvQControlBase)

public:
    static QString staticTypeName() { return QStringLiteral("tstpanel"); }
    QString typeName() const override { return staticTypeName(); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testMinimumSizeBeforeShow();
    void testWindowButtons_data();
    void testWindowButtons();
    void testMainFrameFromDisk();
    void testNoMainFrameAnywhere();
};

void TestMainWindow::initTestCase()
{
    initialize();
    registerControl("tstpanel", &createControlOf<TestPanel>, false);
}

void TestMainWindow::testMinimumSizeBeforeShow()
{
    OrvQtQuelvane window;
    QVERIFY(!window.isVisible());
    QCOMPARE(window.minimumSize(), QSize(1024, 1024));
    QVERIFY(window.width() >= 1024);
    QVERIFY(window.height() >= 1024);
    window.resize(300, 200);
    QVERIFY(window.width() >= 1024 && window.height() >= 1024);
}

void TestMainWindow::testWindowButtons_data()
{
    QTest::addColumn<bool>("withParent");
    QTest::newRow("no parent") << false;
    QTest::newRow("with parent") << true;
}

void TestMainWindow::testWindowButtons()
{
    QFETCH(bool, withParent);
    QWidget owner;
    std::unique_ptr<OrvQtQuelvane> ownWindow;
    OrvQtQuelvane *window;
    if (withParent) {
        window = new OrvQtQuelvane(&owner);
    } else {
        ownWindow = std::make_unique<OrvQtQuelvane>();
        window = ownWindow.get();
    }
    QVERIFY(window->isWindow());
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->windowType(), Qt::Window);
}

void TestMainWindow::testMainFrameFromDisk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath("MainFrame.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"elements": [{"type": "tstpanel", "name": "fromDisk", "x": 4, "y": 6, "w": 200, "h": 100}]})");
    file.close();

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(!QFile::exists("Quelvane.data"));
    OrvQtQuelvane window;
    QDir::setCurrent(previous);

    QWidget *panel = window.findChild<QWidget *>("fromDisk");
    QVERIFY(panel);
    QCOMPARE(panel->parentWidget(), &window);
    QCOMPARE(panel->geometry(), QRect(4, 6, 200, 100));
}

void TestMainWindow::testNoMainFrameAnywhere()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    OrvQtQuelvane window;
    QDir::setCurrent(previous);
    QVERIFY(!window.findChild<TestPanel *>());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
