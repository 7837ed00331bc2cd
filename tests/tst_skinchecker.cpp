#include "orvqtlib.h"
#include "controlreference.h"
#include "skinchecker.h"
#include "skinformatguide.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;
using namespace OrvQtLib::Tools;

namespace {

// A PNG whose header declares `side` x `side` pixels around one real pixel.
QByteArray pngDeclaring(int side)
{
    QByteArray bytes = png(QSize(1, 1));
    // IHDR: length at 8, type at 12, width and height at 16 and 20, CRC at 29.
    for (int at : {16, 20}) {
        bytes[at] = char(side >> 24);
        bytes[at + 1] = char(side >> 16);
        bytes[at + 2] = char(side >> 8);
        bytes[at + 3] = char(side);
    }
    const quint32 crc = crc32Of(bytes.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = char(crc >> (24 - 8 * i));
    return bytes;
}

// One fault of each kind, each in a place of its own.
const char FaultyStyles[] = R"({"style": [
    {"type": 1, "name": "panel", "drawImg": false, "clr": "ff202020"},
    {"type": 2, "name": "text", "clr": "ffffff"},
    {"type": 1, "name": "huge", "img": "images/huge.png"},
    {"type": 1, "name": "panel", "drawImg": false},
    {"type": 1, "name": "typo", "drawImg": false, "clr": "ff000000", "bordrclr": "ff000000"},
    {"type": 2, "name": "textSize", "size": "18"},
    {"type": 1, "name": "hash", "drawImg": false, "clr": "#ff0000"},
    {"type": 1, "name": "named", "drawImg": false, "clr": "blue"},
    {"type": 1, "name": "sixDigits", "drawImg": false, "clr": "ff0000"},
    {"type": 1, "name": "nineDigits", "drawImg": false, "clr": "1ffffffff"},
    {"type": 1, "name": "grid", "img": "images/ok.png", "margin": [1, 2, 3]},
    {"name": "untyped", "drawImg": false}
]})";

const char FaultyWindow[] = R"({"w": 300, "h": 200, "elements": [
    {"type": "qtbuton", "x": 0},
    {"type": "qtcontainer", "style": [["missing", 0, 0], ["text", 0, 1]], "child": [
        {"type": "qtscrollbar", "attr": {"hor": true}}
    ]},
    {"type": "qtbutton", "tooltip": ")" "\xc4\xe3\xba\xc3" R"(", "style": [["panel", 0, 4], ["panel", 0, 99]],
     "attr": {"iconPth": "images/ok.png", "showText": "yes", "iconPath": "images/none.png"}},
    {"type": "qtpicture", "attr": {"path": "images/broken.png"}, "tetx": 1},
    {"type": "qtslider", "attr": {"thumbW": -5}},
    {"type": "qtlist", "w": "wide", "layout": {"type": 1, "wtype": 1}, "child": [
        {"type": "qtscrollbar", "w": 9999, "attr": {"upicon": "images/ok.png"}, "style": [["text", 0, 0]]}
    ]},
    {"type": "qtdatagrid", "attr": {"checkstyle": true, "checkedImg": "images/on.png", "uncheckImg": "images/ok.png"}},
    {"type": "qtcombobox", "attr": {"btnIcon": "images/ok.png", "btnHotIcon": "images/hot.png"}},
    {"type": "qtcontainer", "style": [["empty", 0, 0]], "child": [
        {"type": "qtslider", "name": "rateSlider", "attr": {"max": 10, "val": 11}},
        {"type": "qtradiobox", "name": "rateSlider", "style": [["text", 0, 8]]},
        {"type": "qtcontainer", "name": "bare"},
        {"type": "qtcheckbox", "name": "off", "enable": false}
    ]}
]})";

QString writePackage(const QTemporaryDir &dir, const QString &name, const ZipWriter &writer)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.archive()) < 0)
        return QString();
    return path;
}

int countOf(const std::vector<SkinFinding> &findings, const QString &member, const QString &path,
            const QString &fragment, bool warning)
{
    return int(std::count_if(findings.begin(), findings.end(), [&](const SkinFinding &f) {
        return f.member == member && f.path == path && f.message.contains(fragment) && f.warning == warning;
    }));
}

QString listing(const std::vector<SkinFinding> &findings)
{
    QStringList lines;
    for (const SkinFinding &finding : findings)
        lines.append(formatFinding(finding));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestSkinChecker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eachFaultOnce_data();
    void eachFaultOnce();
    void nothingElseReported();
    void styleFile_data();
    void styleFile();
    void shippedPackagesAreClean_data();
    void shippedPackagesAreClean();
    void rootCauseOnce_data();
    void rootCauseOnce();
    void hostilePackageEnds();
    void guideUpToDate();
    void referenceUpToDate();

private:
    QTemporaryDir m_dir;
    std::vector<SkinFinding> m_faults;
};

void TestSkinChecker::initTestCase()
{
    initialize();
    QVERIFY(m_dir.isValid());
    ZipWriter writer;
    writer.stored("style.json", FaultyStyles)
        .deflated("main.json", FaultyWindow)
        .stored("broken.json", "{\n  \"elements\": [\n    }\n")
        .stored("images/ok.png", png(QSize(4, 4)))
        .stored("images/broken.png", "not an image at all")
        .stored("images/huge.png", pngDeclaring(20000))
        .stored("Images/OK.png", png(QSize(2, 2)))
        .stored("./stray.png", png(QSize(2, 2)))
        .stored("__MACOSX/._main.json", "resource fork")
        .stored("images/._ok.png", "resource fork")
        .raw({"packed.png", "BZh9", 12, 0, 40})

        .stored("images/ok@2x.png", png(QSize(8, 6)))
        .stored("images/lone@2x.png", png(QSize(4, 4)));
    const QString package = writePackage(m_dir, "faults.data", writer);
    QVERIFY(!package.isEmpty());
    m_faults = checkSkinPackage(package);
}

void TestSkinChecker::eachFaultOnce_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("warning");

    QTest::newRow("does not parse") << "broken.json" << "-" << "does not parse: Line 3, Column 5" << false;
    QTest::newRow("./ name") << "./stray.png" << "-" << "starts with \"./\"" << false;
    QTest::newRow("case duplicate") << "Images/OK.png" << "-" << "shadowed by the earlier \"images/ok.png\"" << false;
    QTest::newRow("style defined twice") << "style.json" << "style[3]" << "\"panel\" is defined before, at style[0]"
                                         << true;
    QTest::newRow("image too large") << "style.json" << "style[2]" << "\"images/huge.png\", larger than" << false;
    QTest::newRow("unknown type") << "main.json" << "elements[0]" << "unknown type \"qtbuton\" (did you mean \"qtbutton\"?)"
                                  << false;
    QTest::newRow("undefined style") << "main.json" << "elements[1]" << "style \"missing\" in slot 0 is not defined"
                                     << false;
    QTest::newRow("font for rect") << "main.json" << "elements[1]" << "\"text\" in slot 1 is a font style" << false;
    QTest::newRow("bar outside scroll area") << "main.json" << "elements[1].child[0]"
                                             << "scroll bar element \"qtscrollbar\" outside a scroll area" << false;
    QTest::newRow("rect for font") << "main.json" << "elements[2]" << "\"panel\" in slot 4 is a rect style" << false;
    QTest::newRow("no such slot") << "main.json" << "elements[2]" << "qtbutton has no style slot 99" << false;
    QTest::newRow("attr typo") << "main.json" << "elements[2]" << "\"iconPth\" is not read by qtbutton (did you mean \"iconPath\"?)"
                               << false;
    QTest::newRow("wrong JSON type") << "main.json" << "elements[2]"
                                     << "attr \"showText\" is a text, not a boolean: the toolkit reads it as absent" << false;
    QTest::newRow("missing image") << "main.json" << "elements[2]" << "\"images/none.png\", which is not in the package"
                                   << false;
    QTest::newRow("undecodable image") << "main.json" << "elements[3]" << "\"images/broken.png\", which does not decode"
                                       << false;
    QTest::newRow("element key typo") << "main.json" << "elements[3]" << "key \"tetx\" is not read" << false;
    QTest::newRow("text not UTF-8") << "main.json" << "elements[2]" << "\"tooltip\" is not valid UTF-8: read as GBK"
                                    << true;
    QTest::newRow("clamped") << "main.json" << "elements[4]" << "attr \"thumbW\" -5 is clamped to 0" << true;
    QTest::newRow("common key type") << "main.json" << "elements[5]" << "\"w\" is a text, not an integer" << false;
    QTest::newRow("layout typo") << "main.json" << "elements[5]" << "layout key \"wtype\" is not read (did you mean \"wType\"?)"
                                 << false;
    QTest::newRow("bar thickness clamped") << "main.json" << "elements[5].child[0]" << "\"w\" 9999 is clamped to 512"
                                           << true;
    QTest::newRow("bar has no font slot") << "main.json" << "elements[5].child[0]"
                                          << "\"text\" in slot 0 is a font style" << false;
    QTest::newRow("grid check image") << "main.json" << "elements[6]"
                                      << "attr \"checkedImg\" names image \"images/on.png\", which is not in" << false;
    QTest::newRow("style key typo") << "style.json" << "style[4]" << "\"bordrclr\" is not read by a rect style (did you mean \"borderclr\"?)" << false;
    QTest::newRow("style value type") << "style.json" << "style[5]" << "\"size\" is a text, not an integer" << false;
    QTest::newRow("colour with #") << "style.json" << "style[6]" << "starts with \"#\"" << false;
    QTest::newRow("colour name") << "style.json" << "style[7]" << "\"blue\" is not hexadecimal digits" << false;
    QTest::newRow("six-digit rect colour") << "style.json" << "style[8]" << "so it is transparent" << true;
    QTest::newRow("nine-digit colour") << "style.json" << "style[9]" << "more than eight digits" << false;
    QTest::newRow("margin of three") << "style.json" << "style[10]" << "\"margin\" is not four integers" << false;
    QTest::newRow("record without type") << "style.json" << "style[11]" << "has no \"type\"" << true;
    QTest::newRow("unsupported method") << "packed.png" << "-" << "method 12 (bzip2)" << false;
    QTest::newRow("mac members noted once") << "faults.data" << "-" << "2 macOS resource members" << true;
    QTest::newRow("val above max") << "main.json" << "elements[8].child[0] \"rateSlider\"" << "\"val\" 11 is above \"max\" 10" << true;
    QTest::newRow("sibling name clash") << "main.json" << "elements[8].child[1] \"rateSlider\""
                                        << "shares its name with its sibling elements[8].child[0]" << true;
    QTest::newRow("radio without slot 4") << "main.json" << "elements[8].child[1] \"rateSlider\"" << "opaque white box" << true;
    QTest::newRow("grey container") << "main.json" << "elements[8].child[2] \"bare\"" << "rgb(128, 128, 128)" << true;
    QTest::newRow("disabled check box") << "main.json" << "elements[8].child[3] \"off\"" << "draws no icon" << true;
    QTest::newRow("variant not N times its base") << "images/ok@2x.png" << "-"
                                                  << "8 x 6 pixels, not 2 times the 4 x 4 of \"images/ok.png\"" << false;
    QTest::newRow("variant without base") << "images/lone@2x.png" << "-" << "without its base image \"images/lone.png\""
                                          << true;
    QTest::newRow("combo button icon") << "main.json" << "elements[7]"
                                       << "attr \"btnHotIcon\" names image \"images/hot.png\", which is not in" << false;
}

void TestSkinChecker::eachFaultOnce()
{
    QFETCH(QString, member);
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(bool, warning);
    QVERIFY2(countOf(m_faults, member, path, message, warning) == 1, qPrintable(listing(m_faults)));
}

void TestSkinChecker::nothingElseReported()
{
    // One line per row above: no fault is reported twice or by accident.
    QCOMPARE(int(m_faults.size()), 41);
    QVERIFY(hasErrors(m_faults));
}

void TestSkinChecker::styleFile_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("finding");

    QTest::newRow("missing") << QByteArray("other.txt") << QByteArray("x") << "style.json: -: missing";
    QTest::newRow("malformed") << QByteArray("style.json") << QByteArray("{\"style\": [")
                               << "style.json: -: does not parse: Line 1, Column 12";
    QTest::newRow("no style member") << QByteArray("style.json") << QByteArray("{\"styles\": []}")
                                     << "style.json: -: has no \"style\" member";
    QTest::newRow("./ prefix hides it") << QByteArray("./style.json") << QByteArray("{\"style\": []}")
                                        << "style.json: -: missing";
    QTest::newRow("case folded") << QByteArray("STYLE.JSON") << QByteArray("{\"style\": []}") << QString();
}

void TestSkinChecker::styleFile()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, finding);
    ZipWriter writer;
    writer.stored(name, content);
    const std::vector<SkinFinding> findings = checkSkinPackage(writePackage(m_dir, "style.data", writer));
    const QString text = listing(findings);
    if (finding.isEmpty())
        QVERIFY2(findings.empty(), qPrintable(text));
    else
        QVERIFY2(text.contains(finding), qPrintable(text));
}

// Shipped packages and the guide's examples have no errors; their warnings
// are the looks they show on purpose.
void TestSkinChecker::shippedPackagesAreClean_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("controls") << QStringLiteral(ORV_TEST_DATA_DIR "/controls/controls.zip") << QStringList();
#ifdef ORV_QUELVANE_PACKAGE
    QTest::newRow("monitor") << QStringLiteral(ORV_QUELVANE_PACKAGE) << QStringList();
    QTest::newRow("gallery") << QStringLiteral(ORV_GALLERY_PACKAGE) << QStringList{"\"checkDisabled\""};
#endif
    // A folder: the guide's pictures are rendered from it.
    QTest::newRow("guide examples") << QStringLiteral(ORV_SOURCE_DIR "/docs/examples")
                                    << QStringList{"\"radioNoSlot4\"", "\"noStyle\"", "\"disabledCheck\""};
}

void TestSkinChecker::shippedPackagesAreClean()
{
    QFETCH(QString, package);
    QFETCH(QStringList, warnings);
    const std::vector<SkinFinding> findings = checkSkinPackage(package);
    QStringList warned;
    for (const SkinFinding &finding : findings)
        warned.append(finding.warning ? finding.path.section(QLatin1Char(' '), 1) : formatFinding(finding));
    QVERIFY2(warned == warnings, qPrintable(listing(findings)));
}

// A root cause is one finding, without the lines that follow from it.
void TestSkinChecker::rootCauseOnce_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QByteArray>("window");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<int>("status");

    const QByteArray styles = R"({"style": [{"type": 1, "name": "bg", "drawImg": false, "clr": "ff000000"}]})";
    const QByteArray window = R"({"elements": [{"type": "qtbutton", "style": [["bg", 0, 0], ["bg", 0, 1]]}]})";
    QTest::newRow("zipped with its folder") << QByteArray("PumpSkin/") << styles << window
                                            << "PumpSkin/: -: every member is inside the folder" << 1;
    QTest::newRow("no style.json") << QByteArray() << QByteArray() << window << "style.json: -: missing" << 1;
    QTest::newRow("style.json unreadable") << QByteArray() << QByteArray("{\"style\": [") << window
                                           << "style.json: -: does not parse" << 1;
    QTest::newRow("elements not an array") << QByteArray() << styles << QByteArray(R"({"elements": {"a": {}}})")
                                           << "main.json: elements: is an object, not an array" << 1;
    QTest::newRow("not a package") << QByteArray() << QByteArray() << QByteArray()
                                   << "not a zip archive the toolkit can open" << 2;
}

void TestSkinChecker::rootCauseOnce()
{
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, style);
    QFETCH(QByteArray, window);
    QFETCH(QString, finding);
    QFETCH(int, status);
    const QString path = m_dir.filePath(QStringLiteral("cause.data"));
    if (window.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("PK but no zip") > 0);
    } else {
        ZipWriter writer;
        if (!style.isEmpty())
            writer.stored(prefix + "style.json", style);
        writer.stored(prefix + "main.json", window);
        QVERIFY(!writePackage(m_dir, "cause.data", writer).isEmpty());
    }
    const std::vector<SkinFinding> findings = checkSkinPackage(path);
    QVERIFY2(findings.size() == 1 && formatFinding(findings[0]).contains(finding), qPrintable(listing(findings)));
    QCOMPARE(exitStatus(findings), status);
}

void TestSkinChecker::guideUpToDate()
{
    QFile committed(QStringLiteral(ORV_SOURCE_DIR "/docs/skin-format.md"));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(committed.readAll());
    const QString updated = updateSkinFormatGuide(guide);
    QVERIFY(updated.contains("| `gradient` | boolean |"));
    QVERIFY2(updated == guide, "docs/skin-format.md is out of date: cmake --build build --target skin_format_reference");
}

void TestSkinChecker::hostilePackageEnds()
{
    // Nesting past the reader's limit, a flood of bad elements, a member
    // declaring gigabytes and an image declaring a huge picture.
    QByteArray flood = "{\"elements\": [";
    for (int i = 0; i < 20000; ++i)
        flood += "{\"type\": \"nosuchtype\", \"bad\": 1},";
    flood += "0]}";
    ZipWriter::Member bomb;
    bomb.name = "bomb.json";
    bomb.data = rawDeflate(QByteArray(1 << 16, '['));
    bomb.method = 8;
    bomb.crc = crc32Of(QByteArray(1 << 16, '['));
    bomb.uncompressedSize = 0xffffffffu;
    ZipWriter writer;
    writer.stored("style.json", "{\"style\": [{\"type\": 1, \"name\": \"a\", \"img\": \"big.png\"}]}")
        .stored("deep.json", QByteArray(100000, '['))
        .deflated("flood.json", flood)
        .raw(bomb)
        .stored("big.png", pngDeclaring(60000));
    const std::vector<SkinFinding> findings = checkSkinPackage(writePackage(m_dir, "hostile.data", writer));
    const QString text = listing(findings);
    QVERIFY2(text.contains("deep.json: -: does not parse"), qPrintable(text));
    QVERIFY2(text.contains("bomb.json: -: does not parse"), qPrintable(text));
    QVERIFY2(text.contains("style.json: style[0]: \"img\" names image \"big.png\", larger than"), qPrintable(text));
    QVERIFY2(text.contains("flood.json: -: 19801 more findings not shown"), qPrintable(text));
    QVERIFY(findings.size() < 300);
}

void TestSkinChecker::referenceUpToDate()
{
    QFile committed(QStringLiteral(ORV_SOURCE_DIR "/docs/controls.md"));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    const QString reference = controlReference();
    QVERIFY(reference.contains("## qtbutton"));
    QVERIFY2(QString::fromUtf8(committed.readAll()) == reference,
             "docs/controls.md is out of date: cmake --build build --target controls_reference");
}

QTEST_MAIN(TestSkinChecker)
#include "tst_skinchecker.moc"
