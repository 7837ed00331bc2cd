#include "orvqtlib.h"
#include "skinpreview.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;
using namespace OrvQtLib::Tools;

namespace {

const QRgb Blue = 0xff0000ff;   // list background
const QRgb Red = 0xffff0000;    // list rows
const QRgb Green = 0xff00ff00;  // button
const QRgb Yellow = 0xffffff00; // button while hovered
const QRgb Grey = 0xff808080;   // button while disabled

const char Styles[] = R"({"style": [
    {"type": 1, "name": "bg", "drawImg": false, "clr": "ff0000ff"},
    {"type": 1, "name": "row", "drawImg": false, "clr": "ffff0000"},
    {"type": 1, "name": "btn", "drawImg": false, "clr": "ff00ff00"},
    {"type": 1, "name": "btnHover", "drawImg": false, "clr": "ffffff00"},
    {"type": 1, "name": "btnOff", "drawImg": false, "clr": "ff808080"}
]})";

// A list with no rows of its own and a button.
const char Window[] = R"({"w": 200, "h": 150, "elements": [
    {"type": "qtlist", "name": "list", "x": 0, "y": 0, "w": 100, "h": 150, "style": [["bg", 0, 0], ["row", 0, 2]]},
    {"type": "qtbutton", "name": "ok", "x": 110, "y": 10, "w": 80, "h": 30,
     "style": [["btn", 0, 0], ["btnHover", 0, 1], ["btnOff", 0, 3]]}
]})";

} // namespace

class TestSkinPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void renders_data();
    void renders();
    void refuses_data();
    void refuses();
    void options_data();
    void options();
    void gallery_data();
    void gallery();

private:
    QTemporaryDir m_dir;
    QString m_package;
};

void TestSkinPreview::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_package = m_dir.filePath("preview.data");
    QFile file(m_package);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ZipWriter().stored("style.json", Styles).stored("Preview.json", Window).archive());
}

void TestSkinPreview::renders_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QRgb>("button");
    QTest::addColumn<qreal>("scale");

    QTest::newRow("the description's size") << QSize() << QString() << QSize(200, 150) << Green << 1.0;
    QTest::newRow("a given size") << QSize(320, 90) << QString() << QSize(320, 90) << Green << 1.0;
    QTest::newRow("hovered") << QSize() << "ok=hover" << QSize(200, 150) << Yellow << 1.0;
    QTest::newRow("disabled") << QSize() << "ok=disabled" << QSize(200, 150) << Grey << 1.0;
    QTest::newRow("at scale 1.5") << QSize() << QString() << QSize(300, 225) << Green << 1.5;
}

void TestSkinPreview::renders()
{
    QFETCH(QSize, size);
    QFETCH(QString, state);
    QFETCH(QSize, imageSize);
    QFETCH(QRgb, button);
    QFETCH(qreal, scale);

    PreviewRequest request{m_package, QStringLiteral("Preview"), size, {}, {}, scale};
    if (!state.isEmpty()) {
        std::pair<QString, OrvQControlState> wanted;
        QVERIFY(parseStateOption(state, &wanted));
        request.states.push_back(wanted);
    }
    QString error;
    const QImage image = renderPreview(request, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), imageSize);
    // The list has no rows of its own: red rows are the sample rows.
    QCOMPARE(image.pixel(QPointF(50 * scale, 10 * scale).toPoint()), Red);
    QCOMPARE(image.pixel(QPointF(150 * scale, 25 * scale).toPoint()), button);
    QVERIFY(image.save(m_dir.filePath("out.png"), "PNG"));
    QCOMPARE(QImage(m_dir.filePath("out.png")).size(), imageSize);
}

void TestSkinPreview::refuses_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("error");

    QTest::newRow("no package") << "missing.data" << "Preview" << QString() << "no such file or folder";
    QTest::newRow("not a zip") << "notzip.data" << "Preview" << QString() << "not a zip archive the toolkit can open";
    QTest::newRow("no description") << QString() << "Absent" << QString() << "no such description";
    QTest::newRow("no such control") << QString() << "Preview" << "cancel=pressed" << "no control named \"cancel\"";
    QTest::newRow("nothing to check") << QString() << "Preview" << "list" << "no check box or radio button named \"list\"";
}

void TestSkinPreview::refuses()
{
    QFETCH(QString, package);
    QFETCH(QString, description);
    QFETCH(QString, state);
    QFETCH(QString, error);

    if (package == QLatin1String("notzip.data")) {
        QFile file(m_dir.filePath(package));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a zip") > 0);
    }
    PreviewRequest request{package.isEmpty() ? m_package : m_dir.filePath(package), description, QSize(), {}, {}};
    std::pair<QString, OrvQControlState> wanted;
    if (!state.isEmpty() && parseStateOption(state, &wanted))
        request.states.push_back(wanted);
    else if (!state.isEmpty())
        request.checked.append(state);
    QString message;
    bool unreadable = false;
    QVERIFY(renderPreview(request, &message, &unreadable).isNull());
    QVERIFY2(message.contains(error), qPrintable(message));
    QCOMPARE(unreadable, !package.isEmpty());
}

void TestSkinPreview::options_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QSize>("parsed");
    QTest::newRow("plain") << "640x480" << QSize(640, 480);
    QTest::newRow("zero") << "0x480" << QSize();
    QTest::newRow("beyond the bound") << "9000x10" << QSize();
    QTest::newRow("not a size") << "640" << QSize();
}

void TestSkinPreview::options()
{
    QFETCH(QString, size);
    QFETCH(QSize, parsed);
    QCOMPARE(parseSizeOption(size), parsed);
    std::pair<QString, OrvQControlState> state;
    QVERIFY(parseStateOption("a=b=pressed", &state));
    QCOMPARE(state.first, QStringLiteral("a=b"));
    QVERIFY(!parseStateOption("ok=focused", &state));
}

void TestSkinPreview::gallery_data()
{
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QPoint>("icon");
    QTest::addColumn<QRgb>("checkIcon");
    // Inside a check box's icon, left of its tick: "checkOff" above, and
    // "checkOn", which the description declares checked.
    QTest::newRow("as described, unchecked") << QStringList() << QPoint(365, 104) << 0xff0a0f14u;
    QTest::newRow("as described, checked") << QStringList() << QPoint(365, 134) << 0xff1f6febu;
    QTest::newRow("checked by option") << QStringList{"checkOff"} << QPoint(365, 104) << 0xff1f6febu;
}

void TestSkinPreview::gallery()
{
#ifdef ORV_GALLERY_PACKAGE
    QFETCH(QStringList, checked);
    QFETCH(QPoint, icon);
    QFETCH(QRgb, checkIcon);
    PreviewRequest request{QStringLiteral(ORV_GALLERY_PACKAGE), QStringLiteral("Gallery"), QSize(), {}, checked};
    QString error;
    const QImage image = renderPreview(request, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(1024, 720));
    QCOMPARE(image.pixel(icon), checkIcon);
    // The template list view has no model of its own: its sample rows show
    // the template's heart.
    QCOMPARE(image.pixel(45, 324), 0xff4dfd00u);
#else
    QSKIP("built without the gallery package");
#endif
}

QTEST_MAIN(TestSkinPreview)
#include "tst_skinpreview.moc"
