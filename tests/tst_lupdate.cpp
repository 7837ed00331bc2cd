#include "orvqtlib.h"
#include "testsupport.h"
#include "tsupdate.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace OrvQtLib;
using namespace OrvQtLib::TestSupport;
using namespace OrvQtLib::Tools;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLupdate : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
};

// text -> TS -> translator's edit -> merge -> lrelease -> translated label.
void TestLupdate::roundTrip()
{
    initialize();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString package = dir.filePath(QStringLiteral("skin.data"));
    const QByteArray description = R"({"elements": [
        {"type": "qtlabel", "name": "title", "tooltip": "Heart rate", "attr": {"text": "File"}},
        {"type": "qttab", "name": "tabs", "attr": {"items": ["Trends", {"text": "File"}, "-"]}},
        {"type": "qtmenubar", "name": "bar", "attr": {"menus": [{"title": "View", "items": ["Zoom"]}]}}]})";
    QVERIFY(writeAll(package, ZipWriter().stored("style.json", R"({"style": []})")
                                  .deflated("Monitor.json", description).archive()));

    TsContexts contexts;
    QString error;
    QVERIFY2(collectPackageTexts(package, &contexts, &error), qPrintable(error));
    QStringList sources;
    for (const TsMessage &message : contexts["Monitor"])
        sources << message.source + '@' + message.paths.join(' ');
    QCOMPARE(sources, QStringList({"Heart rate@elements[0].tooltip",
                                   "File@elements[0].attr.text elements[1].attr.items[1].text",
                                   "Trends@elements[1].attr.items[0]", "View@elements[2].attr.menus[0].title",
                                   "Zoom@elements[2].attr.menus[0].items[0]"}));

    // A translator's work, and a text no description shows any more.
    const QString ts = dir.filePath(QStringLiteral("de.ts"));
    QVERIFY2(writeTsFile(contexts, ts, &error), qPrintable(error));
    QByteArray edited = readAll(ts);
    const int file = edited.indexOf("<source>File</source>");
    const int slot = edited.indexOf("<translation type=\"unfinished\"></translation>", file);
    QVERIFY(file > 0 && slot > file);
    edited.replace(slot, int(qstrlen("<translation type=\"unfinished\"></translation>")),
                   "<translation>Datei</translation>");
    edited.replace("<TS version=\"2.1\">", "<TS version=\"2.1\" language=\"de\">");
    edited.replace("</context>", "<message><source>Gone</source><translation>Weg</translation></message></context>");
    QVERIFY(writeAll(ts, edited));

    QVERIFY2(writeTsFile(contexts, ts, &error), qPrintable(error));
    const QByteArray merged = readAll(ts);
    QVERIFY(merged.contains("language=\"de\""));
    QVERIFY(merged.contains("<translation>Datei</translation>"));
    QVERIFY(merged.contains("<translation type=\"vanished\">Weg</translation>"));

    const QString qm = dir.filePath(QStringLiteral("de.qm"));
    QCOMPARE(QProcess::execute(QStringLiteral(ORV_LRELEASE), {ts, QStringLiteral("-qm"), qm}), 0);
    QTranslator translator;
    QVERIFY(translator.load(qm));
    QCoreApplication::installTranslator(&translator);
    QVERIFY(loadSkinPackage(package));
    QWidget window;
    QVERIFY(loadWindowLayout(&window, QStringLiteral("Monitor")));
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(window.findChild<OrvQLabel *>("title")->fullText(), QStringLiteral("Datei"));
    auto *tabs = window.findChild<OrvQTabWidget *>("tabs");
    QCOMPARE(tabs->impl()->item(0).text, QStringLiteral("Trends")); // untranslated: as written
    QCOMPARE(tabs->impl()->item(1).text, QStringLiteral("Datei"));
}

QTEST_MAIN(TestLupdate)
#include "tst_lupdate.moc"
