#include "jsonreaders.h"

#include <json/reader.h>

#include <QDir>
#include <QDirIterator>
#include <QtTest>

namespace {

// jsoncpp's own reading of a text, as descriptions were read before the
// plain reader went in front of it.
bool jsoncppParse(const QByteArray &text, Json::Value &root)
{
    root = Json::Value();
    const int nul = text.indexOf('\0');
    const QByteArray head = nul < 0 ? text : text.left(nul);
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Json::Reader reader;
#pragma GCC diagnostic pop
        if (reader.parse(head.constData(), head.constData() + head.size(), root, true))
            return true;
    } catch (const Json::Exception &) {
    }
    root = Json::Value();
    return false;
}

// Both readers agree on whether the text parses and on the value.
bool sameAsJsoncpp(const QByteArray &text, QByteArray *why)
{
    Json::Value expected;
    Json::Value actual;
    const bool expectedOk = jsoncppParse(text, expected);
    const bool actualOk = OrvQtLib::parseJsonDocument(text.constData(), size_t(text.size()), actual);
    if (expectedOk == actualOk && expected == actual)
        return true;
    *why = "differs on: " + text.left(200);
    return false;
}

} // namespace

class TestJsonReader : public QObject
{
    Q_OBJECT

private slots:
    void testHostile_data();
    void testHostile();
    void testCorpus();
};

void TestJsonReader::testHostile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("plain"); // whether the plain reader takes it itself
    QTest::newRow("types") << QByteArray(R"({"a":[1,-2,0.5,true,false,null,"s",{},[]],"b":{"c":"d"}})") << true;
    QTest::newRow("int and uint limits")
        << QByteArray("[2147483647,2147483648,4294967296,-2147483649,999999999999999999,-0,007]") << true;
    QTest::newRow("huge integers")
        << QByteArray("[9223372036854775807,9223372036854775808,18446744073709551616,-9223372036854775809]") << false;
    QTest::newRow("doubles") << QByteArray("[1e3,1.25E-2,-0.0,0e0,1.7976931348623157e308,2.2250738585072014e-308]")
                             << true;
    QTest::newRow("out of range doubles") << QByteArray("[1e999,-1e999,1e-400,4.9e-324]") << false;
    QTest::newRow("loose numbers") << QByteArray("[1.,-,1e,.5,+1,1.2.3]") << false;
    QTest::newRow("escapes") << QByteArray(R"(["a\"b\\c\/\b\f\n\r\t",{"k\n":1}])") << true;
    QTest::newRow("unicode escapes") << QByteArray(R"(["\u00e9\ud83d\ude00","\ud800","\uZZZZ"])") << false;
    QTest::newRow("bad utf-8 kept as bytes") << QByteArray("{\"\xff\xfe\":\"\xc3\x28\xe2\x82\"}") << true;
    QTest::newRow("comments") << QByteArray("// head\n{\"a\":1 /* inner */, \"b\":2} // tail") << false;
    QTest::newRow("duplicate keys") << QByteArray(R"({"a":[1,2],"a":{"b":1},"a":"last"})") << true;
    QTest::newRow("trailing comma") << QByteArray(R"({"a":1,})") << false;
    QTest::newRow("text after the root") << QByteArray(R"({"a":1} trailing [)") << true;
    QTest::newRow("unterminated") << QByteArray(R"({"a":"b)") << false;
    QTest::newRow("nul ends the text") << QByteArray("{\"a\":1}\0garbage", 15) << true;
    QTest::newRow("nesting at the plain limit") << QByteArray(256, '[') + QByteArray(256, ']') << true;
    QTest::newRow("nesting past the plain limit") << QByteArray(700, '[') + QByteArray(700, ']') << false;
    QTest::newRow("nesting past jsoncpp's limit") << QByteArray(5000, '[') + QByteArray(5000, ']') << false;
}

void TestJsonReader::testHostile()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, plain);
    QByteArray why;
    QVERIFY2(sameAsJsoncpp(text, &why), why.constData());
    Json::Value value;
    const int nul = text.indexOf('\0');
    QCOMPARE(OrvQtLib::parsePlainJson(text.constData(), size_t(nul < 0 ? text.size() : nul), value), plain);
}

// Every JSON file of the fuzz corpus and the skins, whole, cut short and
// with bytes overwritten at a stride: the readers must agree on each.
void TestJsonReader::testCorpus()
{
    int files = 0;
    for (const char *root : {ORV_FUZZ_CORPUS_DIR, ORV_SOURCE_DIR "/skin"}) {
        QDirIterator it(QString::fromUtf8(root), {QStringLiteral("*.json")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            ++files;
            QByteArray why;
            QVERIFY2(sameAsJsoncpp(text, &why), qPrintable(file.fileName()));
            const int stride = qMax(1, text.size() / 24);
            for (int i = 0; i < text.size(); i += stride) {
                QVERIFY2(sameAsJsoncpp(text.left(i), &why), why.constData());
                for (const char c : {'"', '\\', '.', '/', ',', '}'}) {
                    QByteArray changed = text;
                    changed[i] = c;
                    QVERIFY2(sameAsJsoncpp(changed, &why), why.constData());
                }
            }
        }
    }
    QVERIFY(files > 30);
}

QTEST_GUILESS_MAIN(TestJsonReader)
#include "tst_jsonreader.moc"
