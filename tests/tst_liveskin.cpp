#include "orvqtlib.h"
#include "testsupport.h"

#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

const QRgb Grey = 0xff808080; // a container without a style

// Two looks of one window: the background, the text colour, a logo image
// and a style only the first package has.
QByteArray styles(const char *background, bool withTile)
{
    const QByteArray text = withTile ? "00ff00" : "ff00ff";
    QByteArray json = QByteArray(R"({"style": [{"type": 1, "name": "bg", "drawImg": false, "clr": ")")
        + background + R"("}, {"type": 2, "name": "txt", "size": 14, "clr": ")" + text + R"("})";
    if (withTile)
        json += R"(, {"type": 1, "name": "tile", "drawImg": false, "clr": "ff00ff00"})";
    return json + "]}";
}

const char Window[] = R"({"elements": [
    {"type": "qtcontainer", "name": "root", "layout": {"type": 1}, "style": [["bg", 0, 0]], "child": [
        {"type": "qtpicture", "name": "logo", "x": 10, "y": 10, "w": 20, "h": 20, "attr": {"path": "images/logo.png"}},
        {"type": "qtcontainer", "name": "tile", "x": 40, "y": 10, "w": 20, "h": 20, "style": [["tile", 0, 0]]},
        {"type": "qtcheckbox", "name": "check", "x": 10, "y": 40, "w": 100, "h": 20},
        {"type": "qtdedit", "name": "edit", "x": 10, "y": 70, "w": 100, "h": 24},
        {"type": "qtslider", "name": "slider", "x": 10, "y": 100, "w": 100, "h": 20},
        {"type": "qtlist", "name": "list", "x": 120, "y": 10, "w": 100, "h": 100},
        {"type": "qtlabel", "name": "label", "x": 10, "y": 125, "w": 100, "h": 20, "style": [["txt", 0, 0]],
         "attr": {"text": "HHHH"}},
        {"type": "qttext", "name": "rich", "x": 120, "y": 115, "w": 100, "h": 25}
    ]}
]})";

QByteArray package(const char *background, QRgb logo, bool withTile)
{
    return ZipWriter()
        .deflated("style.json", styles(background, withTile))
        .deflated("Win.json", Window)
        .stored("images/logo.png", png(QSize(20, 20), QImage::Format_ARGB32, logo))
        .archive();
}

} // namespace

class TestLiveSkin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void switchRestylesInPlace();
    void refusedPackageChangesNothing_data();
    void refusedPackageChangesNothing();

private:
    QString write(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    QString m_a;
    QString m_b;
    std::unique_ptr<QWidget> m_window;
};

QString TestLiveSkin::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

void TestLiveSkin::initTestCase()
{
    QVERIFY(m_dir.isValid());
    initialize();
    m_a = write("a.data", package("ffff0000", 0xff0000ff, true));
    m_b = write("b.data", package("ff0000ff", 0xffffff00, false));
    QVERIFY(!m_a.isEmpty() && !m_b.isEmpty());
}

void TestLiveSkin::init()
{
    QVERIFY(replaceSkinPackage(m_a));
    m_window = std::make_unique<QWidget>();
    m_window->resize(240, 150);
    QVERIFY(loadWindowLayout(m_window.get(), "Win"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestLiveSkin::switchRestylesInPlace()
{
    auto *check = m_window->findChild<QAbstractButton *>("check");
    auto *edit = m_window->findChild<QLineEdit *>("edit");
    auto *slider = m_window->findChild<QSlider *>("slider");
    auto *list = m_window->findChild<QListWidget *>("list");
    auto *label = m_window->findChild<QWidget *>("label");
    auto *rich = m_window->findChild<QTextEdit *>("rich");
    QVERIFY(check && edit && slider && list && label && rich);
    rich->setHtml(R"(<img src="images/logo.png">)");
    check->setChecked(true);
    edit->setFocus();
    QTest::keyClicks(edit, "typed");
    slider->setValue(37);
    for (int i = 0; i < 100; ++i)
        list->addItem(QString::number(i));
    QTRY_VERIFY(list->verticalScrollBar()->maximum() > 40);
    list->verticalScrollBar()->setValue(40);
    const QRect editGeometry = edit->geometry();

    QImage before = m_window->grab().toImage();
    QCOMPARE(before.pixel(5, 5), 0xffff0000u);
    QCOMPARE(before.pixel(20, 20), 0xff0000ffu);
    QCOMPARE(before.pixel(50, 20), 0xff00ff00u);
    QVERIFY(!boxOf(label->grab().toImage(), 0xff00ff00, 40).isEmpty());
    QVERIFY(!boxOf(rich->grab().toImage(), 0xff0000ff).isEmpty());

    QSignalSpy changed(skinNotifier(), &OrvQSkinNotifier::skinChanged);
    QVERIFY(replaceSkinPackage(m_b));
    QCOMPARE(changed.count(), 1);

    const QImage after = m_window->grab().toImage();
    QCOMPARE(after.pixel(5, 5), 0xff0000ffu);   // B's background
    QCOMPARE(after.pixel(20, 20), 0xffffff00u); // B's logo
    QCOMPARE(after.pixel(50, 20), Grey);        // B lacks the style: as loaded without it
    QVERIFY(!boxOf(label->grab().toImage(), 0xffff00ff, 40).isEmpty());
    QVERIFY(!boxOf(rich->grab().toImage(), 0xffffff00).isEmpty());
    QVERIFY(check->isChecked());
    QCOMPARE(edit->text(), QStringLiteral("typed"));
    QCOMPARE(m_window->focusWidget(), edit);
    QCOMPARE(edit->geometry(), editGeometry);
    QCOMPARE(slider->value(), 37);
    QCOMPARE(list->count(), 100);
    QCOMPARE(list->verticalScrollBar()->value(), 40);

    // And back: the style B lacked comes back with A.
    QVERIFY(replaceSkinPackage(m_a));
    QCOMPARE(m_window->grab().toImage().pixel(50, 20), 0xff00ff00u);
}

void TestLiveSkin::refusedPackageChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray b = package("ff0000ff", 0xffffff00, false);
    QTest::newRow("truncated") << b.left(b.size() / 2);
    QTest::newRow("not a zip") << QByteArray(4096, 'x');
    QTest::newRow("no style.json")
        << ZipWriter().deflated("Win.json", Window).stored("images/logo.png", png(QSize(4, 4))).archive();
    // style.json reads, but a member after it does not inflate.
    ZipWriter::Member broken{"images/logo.png", QByteArray(64, '\xff'), 8, 0, 4096};
    QTest::newRow("member fails halfway")
        << ZipWriter().deflated("style.json", styles("ff0000ff", false)).raw(broken).archive();
    QTest::newRow("missing file") << QByteArray();
}

void TestLiveSkin::refusedPackageChangesNothing()
{
    QFETCH(QByteArray, bytes);
    const QString path = bytes.isEmpty() ? m_dir.filePath("absent.data") : write("bad.data", bytes);
    const QImage before = m_window->grab().toImage();
    QSignalSpy changed(skinNotifier(), &OrvQSkinNotifier::skinChanged);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("skin not switched"));
    QVERIFY(!replaceSkinPackage(path));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_window->grab().toImage(), before);
    OrvQRectStyle tile;
    QVERIFY(OrvQResourceManager::instance().rectStyle("tile", tile));
    QVERIFY(OrvQResourceManager::instance().fileData("images/logo.png", nullptr, nullptr));
}

QTEST_MAIN(TestLiveSkin)
#include "tst_liveskin.moc"
