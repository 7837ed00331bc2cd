#include "fuzzentries.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// Replays every committed fuzzer seed (and every crash input added there
// after a fix) through the fuzzers' entry functions, under the ordinary
// build's sanitizers.
class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void testReplay_data();
    void testReplay();
};

void TestFuzzCorpus::testReplay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QString root = QStringLiteral(ORV_FUZZ_CORPUS_DIR);
    for (const char *target : {"ziparchive", "package", "styles"}) {
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
        return OrvQtLib::Fuzz::styles(data, size);
    };
    QCOMPARE(run(size_t(bytes.size())), 0);
    // Cut short, every input must still be handled cleanly.
    QCOMPARE(run(size_t(bytes.size()) / 2), 0);
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
