#include "fuzzentries.h"
#include "scrollarea.h"

#include "controlbase.h"
#include "controlkeys.h"
#include "controlregistry.h"
#include "windowloader.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <optional>
#include <set>
#include <string>

namespace {

// One line of a libFuzzer dictionary: a quoted token with \\, \" and \xAB
// escapes. Nullopt for anything libFuzzer would refuse.
std::optional<std::string> dictionaryToken(const std::string &line)
{
    if (line.size() < 2 || line.front() != '"' || line.back() != '"')
        return std::nullopt;
    std::string token;
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            return std::nullopt;
        if (c != '\\') {
            token += c;
            continue;
        }
        if (++i + 1 >= line.size())
            return std::nullopt;
        if (line[i] == '\\' || line[i] == '"') {
            token += line[i];
        } else if (line[i] == 'x' && i + 3 < line.size()) {
            bool ok = false;
            token += char(QByteArray::fromStdString(line.substr(i + 1, 2)).toInt(&ok, 16));
            if (!ok)
                return std::nullopt;
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return token;
}

QStringList names(const std::vector<const char *> &keys)
{
    QStringList list;
    for (const char *key : keys)
        list << QString::fromLatin1(key);
    return list;
}

QStringList names(const std::vector<OrvQtLib::OrvQKeyInfo> &keys)
{
    QStringList list;
    for (const OrvQtLib::OrvQKeyInfo &key : keys)
        list << QString::fromLatin1(key.name);
    return list;
}

} // namespace

// Replays every committed fuzzer seed (and every crash input added there
// after a fix) through the fuzzers' entry functions, under the ordinary
// build's sanitizers. The description entry needs the QApplication that
// QTEST_MAIN makes; it makes its own only in the fuzzer binaries.
class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testReplay_data();
    void testReplay();
    void testDictionary_data();
    void testDictionary();

private:
    std::set<std::string> m_dictionary;
};

void TestFuzzCorpus::initTestCase()
{
    const std::string text = OrvQtLib::Fuzz::descriptionDictionary();
    QVERIFY(!text.empty());
    for (const QByteArray &line : QByteArray::fromStdString(text).split('\n')) {
        if (line.isEmpty())
            continue;
        const std::optional<std::string> token = dictionaryToken(line.toStdString());
        QVERIFY2(token && !token->empty(), line.constData());
        m_dictionary.insert(*token);
    }
}

void TestFuzzCorpus::testReplay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QString root = QStringLiteral(ORV_FUZZ_CORPUS_DIR);
    for (const char *target : {"ziparchive", "package", "styles", "description"}) {
        const QDir dir(root + QLatin1Char('/') + QLatin1String(target));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), target);
        for (const QString &file : files) {
            const QByteArray row = QByteArray(target) + '/' + file.toUtf8();
            QTest::newRow(row.constData()) << QString::fromLatin1(target) << dir.filePath(file);
        }
    }
}

void TestFuzzCorpus::testReplay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
    const auto run = [&](size_t size) {
        if (target == QLatin1String("ziparchive"))
            return OrvQtLib::Fuzz::zipArchive(data, size);
        if (target == QLatin1String("package"))
            return OrvQtLib::Fuzz::package(data, size);
        if (target == QLatin1String("description"))
            return OrvQtLib::Fuzz::description(data, size);
        return OrvQtLib::Fuzz::styles(data, size);
    };
    QCOMPARE(run(size_t(bytes.size())), 0);
    // Cut short, every input must still be handled cleanly.
    QCOMPARE(run(size_t(bytes.size()) / 2), 0);
}

// Every name the toolkit reads is in the dictionary, bare and as a JSON string.
void TestFuzzCorpus::testDictionary_data()
{
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("window") << (names(OrvQtLib::windowKeys()) << QStringLiteral("elements"));
    QTest::newRow("element") << names(OrvQtLib::commonElementKeys());
    QTest::newRow("layout") << names(OrvQtLib::layoutKeys());
    QTest::newRow("scroll bar element") << names(OrvQtLib::OrvQScrollAreaSkin::elementSchema().keys);
    const std::vector<std::string> types = OrvQtLib::registeredTypes();
    QVERIFY(!types.empty());
    for (const std::string &type : types) {
        const std::optional<OrvQtLib::OrvQControlSchema> schema = OrvQtLib::controlSchema(type.c_str());
        QStringList expected{QString::fromStdString(type)};
        if (schema)
            expected << names(schema->keys);
        QTest::newRow(type.c_str()) << expected;
    }
}

void TestFuzzCorpus::testDictionary()
{
    QFETCH(QStringList, expected);
    for (const QString &name : expected) {
        const std::string bare = name.toStdString();
        QVERIFY2(m_dictionary.count(bare), qPrintable(name));
        QVERIFY2(m_dictionary.count('"' + bare + '"'), qPrintable(name));
    }
}

QTEST_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
