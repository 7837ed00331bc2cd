#include "jsonreaders.h"
#include "stylerecords.h"
#include "testsupport.h"

#include <QtTest>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;

namespace {

QVariant rectField(const OrvQRectStyle &s, const QString &field)
{
    static const QMap<QString, std::function<QVariant(const OrvQRectStyle &)>> fields = {
        {"nonEmpty", [](const OrvQRectStyle &r) { return QVariant(r.nonEmpty); }},
        {"colorMode", [](const OrvQRectStyle &r) { return QVariant(r.colorMode); }},
        {"color", [](const OrvQRectStyle &r) { return QVariant(r.color.rgba()); }},
        {"borderColor", [](const OrvQRectStyle &r) { return QVariant(r.borderColor.rgba()); }},
        {"round", [](const OrvQRectStyle &r) { return QVariant(r.round); }},
        {"borderSize", [](const OrvQRectStyle &r) { return QVariant(r.borderSize); }},
        {"border", [](const OrvQRectStyle &r) { return QVariant(r.border); }},
        {"leftBorder", [](const OrvQRectStyle &r) { return QVariant(r.leftBorder); }},
        {"bottomBorder", [](const OrvQRectStyle &r) { return QVariant(r.bottomBorder); }},
        {"image", [](const OrvQRectStyle &r) { return QVariant(r.image); }},
        {"margin", [](const OrvQRectStyle &r) {
             return QVariant(QString("%1 %2 %3 %4").arg(r.grid.top).arg(r.grid.right).arg(r.grid.bottom).arg(r.grid.left));
         }},
        {"repeatCenter", [](const OrvQRectStyle &r) { return QVariant(r.grid.repeatCenter); }},
        {"gradient", [](const OrvQRectStyle &r) { return QVariant(r.gradient); }},
        {"color2", [](const OrvQRectStyle &r) { return QVariant(r.color2.rgba()); }},
    };
    return fields.value(field)(s);
}

QVariant fontField(const OrvQFontStyle &s, const QString &field)
{
    static const QMap<QString, std::function<QVariant(const OrvQFontStyle &)>> fields = {
        {"bold", [](const OrvQFontStyle &f) { return QVariant(f.bold); }},
        {"italic", [](const OrvQFontStyle &f) { return QVariant(f.italic); }},
        {"size", [](const OrvQFontStyle &f) { return QVariant(f.size); }},
        {"family", [](const OrvQFontStyle &f) { return QVariant(f.family); }},
        {"color", [](const OrvQFontStyle &f) { return QVariant(f.color.isValid() ? f.color.rgba() : 0u); }},
        {"colorValid", [](const OrvQFontStyle &f) { return QVariant(f.color.isValid()); }},
        {"isHor", [](const OrvQFontStyle &f) { return QVariant(f.isHor); }},
        {"hor", [](const OrvQFontStyle &f) { return QVariant(f.hor); }},
        {"ver", [](const OrvQFontStyle &f) { return QVariant(f.ver); }},
        {"x", [](const OrvQFontStyle &f) { return QVariant(f.x); }},
        {"elideMode", [](const OrvQFontStyle &f) { return QVariant(f.elideMode); }},
    };
    return fields.value(field)(s);
}

const QString YaHei = QStringLiteral("\u5FAE\u8F6F\u96C5\u9ED1");

} // namespace

class TestStyleRecords : public QObject
{
    Q_OBJECT

private slots:
    void testColorText_data();
    void testColorText();
    void testRectKeys_data();
    void testRectKeys();
    void testFontKeys_data();
    void testFontKeys();
    void testFontFamilyFromGbk();
    void testParseStyles_data();
    void testParseStyles();
};

void TestStyleRecords::testColorText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("value");

    QTest::newRow("eight digits") << QByteArray("ffff0000") << 0xffff0000u;
    QTest::newRow("six digits have alpha 0") << QByteArray("ff0000") << 0x00ff0000u;
    QTest::newRow("upper case and 0x") << QByteArray("0XFF00FF00") << 0xff00ff00u;
    QTest::newRow("leading blanks") << QByteArray(" \t\n80") << 0x80u;
    QTest::newRow("plus sign") << QByteArray("+7f") << 0x7fu;
    QTest::newRow("stops at a non-digit") << QByteArray("12g4") << 0x12u;
    QTest::newRow("empty") << QByteArray("") << 0u;
    QTest::newRow("no digits") << QByteArray("zz") << 0u;
    QTest::newRow("0x without digits") << QByteArray("0x") << 0u;
    QTest::newRow("nine digits clamp") << QByteArray("1ffffffff") << 0xffffffffu;
    QTest::newRow("beyond unsigned long clamps") << QByteArray("123456789abcdef0123456789") << 0xffffffffu;
    QTest::newRow("blank before sign only") << QByteArray("- 1") << 0u;
}

void TestStyleRecords::testColorText()
{
    QFETCH(QByteArray, text);
    QFETCH(quint32, value);

    const std::string s = text.toStdString();
    QCOMPARE(hexColorValue(s), value);
    QCOMPARE(rectColorFromHex(s).rgba(), QRgb(value));
    // Font colours ignore the top byte: always opaque.
    QCOMPARE(colorFromHex(s).rgba(), QRgb(value | 0xff000000u));
}

void TestStyleRecords::testRectKeys_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const QByteArray bare = R"({"type":1,"name":"r"})";
    // What a record read from the file holds when keys are absent; "border",
    // "borderSize" and "borderclr" differ from a record built in code.
    QTest::newRow("bare: image mode") << bare << "colorMode" << QVariant(false);
    QTest::newRow("bare: border off") << bare << "border" << QVariant(false);
    QTest::newRow("bare: border size 1") << bare << "borderSize" << QVariant(1);
    QTest::newRow("bare: white border") << bare << "borderColor" << QVariant(0xffffffffu);
    QTest::newRow("bare: white fill") << bare << "color" << QVariant(0xffffffffu);
    QTest::newRow("bare: sides on") << bare << "leftBorder" << QVariant(true);
    QTest::newRow("bare: no image") << bare << "image" << QVariant(QString());
    QTest::newRow("bare: margin zero") << bare << "margin" << QVariant("0 0 0 0");
    QTest::newRow("bare: non-empty") << bare << "nonEmpty" << QVariant(true);

    QTest::newRow("drawImg false: colour mode") << QByteArray(R"({"drawImg":false})") << "colorMode" << QVariant(true);
    QTest::newRow("clr is AARRGGBB") << QByteArray(R"({"clr":"80102030"})") << "color" << QVariant(0x80102030u);
    QTest::newRow("six-digit clr transparent") << QByteArray(R"({"clr":"ff0000"})") << "color" << QVariant(0x00ff0000u);
    QTest::newRow("borderclr") << QByteArray(R"({"borderclr":"ff00ff00"})") << "borderColor" << QVariant(0xff00ff00u);
    QTest::newRow("img is UTF-8") << QByteArray("{\"img\":\"images/\xc3\xa4.png\"}") << "image" << QVariant(QString::fromUtf8("images/\xc3\xa4.png"));
    QTest::newRow("margin order") << QByteArray(R"({"margin":[1,2,3,4]})") << "margin" << QVariant("1 2 3 4");
    QTest::newRow("short margin") << QByteArray(R"({"margin":[5]})") << "margin" << QVariant("5 0 0 0");
    QTest::newRow("margin element of wrong type") << QByteArray(R"({"margin":["a",2,{},4]})") << "margin" << QVariant("0 2 0 4");
    QTest::newRow("margin not an array") << QByteArray(R"({"margin":"1,2,3,4"})") << "margin" << QVariant("0 0 0 0");
    QTest::newRow("margin object") << QByteArray(R"({"margin":{"0":1}})") << "margin" << QVariant("0 0 0 0");
    QTest::newRow("repeatCenter") << QByteArray(R"({"repeatCenter":true})") << "repeatCenter" << QVariant(true);
    QTest::newRow("gradient") << QByteArray(R"({"gradient":true})") << "gradient" << QVariant(true);
    QTest::newRow("clr2 is AARRGGBB") << QByteArray(R"({"clr2":"80102030"})") << "color2" << QVariant(0x80102030u);
    QTest::newRow("bottomBorder off") << QByteArray(R"({"bottomBorder":false})") << "bottomBorder" << QVariant(false);

    // Keys of the wrong type behave as if absent.
    QTest::newRow("string border") << QByteArray(R"({"border":"true"})") << "border" << QVariant(false);
    QTest::newRow("object borderSize") << QByteArray(R"({"borderSize":{}})") << "borderSize" << QVariant(1);
    QTest::newRow("string round") << QByteArray(R"({"round":"4"})") << "round" << QVariant(0);
    QTest::newRow("array clr") << QByteArray(R"({"clr":[1]})") << "color" << QVariant(0xffffffffu);
    QTest::newRow("string drawImg") << QByteArray(R"({"drawImg":"no"})") << "colorMode" << QVariant(false);
    QTest::newRow("array img") << QByteArray(R"({"img":[]})") << "image" << QVariant(QString());
    QTest::newRow("huge round") << QByteArray(R"({"round":99999999999})") << "round" << QVariant(0);
}

void TestStyleRecords::testRectKeys()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    const Json::Value record = parseJson(json);
    QVERIFY(record.isObject());
    QCOMPARE(rectField(readRectStyle(record), field), expected);
}

void TestStyleRecords::testFontKeys_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    const QByteArray bare = R"({"type":2,"name":"f"})";
    QTest::newRow("bare: default family") << bare << "family" << QVariant(YaHei);
    QTest::newRow("bare: white") << bare << "color" << QVariant(0xffffffffu);
    QTest::newRow("bare: size 12") << bare << "size" << QVariant(12);
    QTest::newRow("bare: centred vertically") << bare << "ver" << QVariant(1);
    QTest::newRow("bare: horizontal") << bare << "isHor" << QVariant(true);
    QTest::newRow("bare: elide right") << bare << "elideMode" << QVariant(int(Qt::ElideRight));

    QTest::newRow("six-digit clr opaque") << QByteArray(R"({"clr":"ff0000"})") << "color" << QVariant(0xffff0000u);
    QTest::newRow("alpha ignored") << QByteArray(R"({"clr":"00123456"})") << "color" << QVariant(0xff123456u);
    QTest::newRow("bad clr opaque black") << QByteArray(R"({"clr":"xyz"})") << "color" << QVariant(0xff000000u);
    QTest::newRow("ASCII family") << QByteArray(R"({"family":"Arial"})") << "family" << QVariant(QString("Arial"));
    QTest::newRow("bold italic") << QByteArray(R"({"bold":true,"italic":true})") << "bold" << QVariant(true);
    QTest::newRow("hor") << QByteArray(R"({"hor":2})") << "hor" << QVariant(2);
    QTest::newRow("x") << QByteArray(R"({"x":-3})") << "x" << QVariant(-3);
    QTest::newRow("isHor false") << QByteArray(R"({"isHor":false})") << "isHor" << QVariant(false);
    QTest::newRow("no elide key") << QByteArray(R"({"elideMode":3,"elide":3})") << "elideMode" << QVariant(int(Qt::ElideRight));

    QTest::newRow("string size") << QByteArray(R"({"size":"20"})") << "size" << QVariant(12);
    QTest::newRow("object ver") << QByteArray(R"({"ver":{}})") << "ver" << QVariant(1);
    QTest::newRow("array family") << QByteArray(R"({"family":["Arial"]})") << "family" << QVariant(YaHei);
    QTest::newRow("string bold") << QByteArray(R"({"bold":"yes"})") << "bold" << QVariant(false);
}

void TestStyleRecords::testFontKeys()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);

    const Json::Value record = parseJson(json);
    QVERIFY(record.isObject());
    QCOMPARE(fontField(readFontStyle(record), field), expected);
}

void TestStyleRecords::testFontFamilyFromGbk()
{
    // The family in the file is GBK bytes, not UTF-8.
    Json::Value record(Json::objectValue);
    record["type"] = 2;
    record["family"] = std::string("\xce\xa2\xc8\xed\xd1\xc5\xba\xda");
    QCOMPARE(readFontStyle(record).family, YaHei);

    // A record built in code holds the text of the default family itself.
    QCOMPARE(OrvQFontStyle().family, YaHei);
    QVERIFY(!OrvQFontStyle().color.isValid());
    const OrvQRectStyle code;
    QVERIFY(code.border);
    QCOMPARE(code.borderSize, 0);
    QCOMPARE(code.borderColor.rgba(), QColor(128, 128, 128).rgba());
}

void TestStyleRecords::testParseStyles_data()
{
    QTest::addColumn<QByteArray>("styles");
    QTest::addColumn<QStringList>("rects"); // name=round
    QTest::addColumn<QStringList>("fonts"); // name=size

    QTest::newRow("array")
        << QByteArray(R"([{"type":1,"name":"a","round":1},{"type":2,"name":"a","size":9}])")
        << QStringList{"a=1"} << QStringList{"a=9"};
    QTest::newRow("first of a name wins")
        << QByteArray(R"([{"type":1,"name":"a","round":1},{"type":1,"name":"a","round":2},
                         {"type":2,"name":"f","size":9},{"type":2,"name":"f","size":10}])")
        << QStringList{"a=1"} << QStringList{"f=9"};
    QTest::newRow("object in member-name order")
        << QByteArray(R"({"b":{"type":1,"name":"x","round":2},"a":{"type":1,"name":"x","round":1}})")
        << QStringList{"x=1"} << QStringList{};
    QTest::newRow("no type, other type, type of wrong type skipped")
        << QByteArray(R"([{"name":"a"},{"type":3,"name":"b"},{"type":"1","name":"c"},{"type":1,"name":"d"}])")
        << QStringList{"d=0"} << QStringList{};
    QTest::newRow("records that are not objects skipped")
        << QByteArray(R"([1,"s",[{"type":1,"name":"in"}],null,true,{"type":1,"name":"ok","round":3}])")
        << QStringList{"ok=3"} << QStringList{};
    QTest::newRow("missing name is the empty name")
        << QByteArray(R"([{"type":1,"round":5},{"type":1,"round":6},{"type":1,"name":7}])")
        << QStringList{"=5", "7=0"} << QStringList{};
    QTest::newRow("name of wrong type is the empty name")
        << QByteArray(R"([{"type":2,"name":{},"size":5},{"type":2,"name":[],"size":6}])")
        << QStringList{} << QStringList{"=5"};
    QTest::newRow("string") << QByteArray(R"("style")") << QStringList{} << QStringList{};
    QTest::newRow("number") << QByteArray("42") << QStringList{} << QStringList{};
    QTest::newRow("empty array") << QByteArray("[]") << QStringList{} << QStringList{};
}

void TestStyleRecords::testParseStyles()
{
    QFETCH(QByteArray, styles);
    QFETCH(QStringList, rects);
    QFETCH(QStringList, fonts);

    OrvQStyleTables tables;
    parseStyles(parseJson(styles), tables);

    QStringList gotRects;
    for (const auto &entry : tables.rects)
        gotRects << entry.first + '=' + QString::number(entry.second.round);
    QStringList gotFonts;
    for (const auto &entry : tables.fonts)
        gotFonts << entry.first + '=' + QString::number(entry.second.size);
    QCOMPARE(gotRects, rects);
    QCOMPARE(gotFonts, fonts);
}

QTEST_GUILESS_MAIN(TestStyleRecords)
#include "tst_stylerecords.moc"
