#include "orvqtquelvane.h"

#include "checkbox.h"
#include "container.h"
#include "controlregistry.h"
#include "ecgchart.h"
#include "label.h"
#include "progressbar.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace OrvQtLib;

namespace {

QByteArray sampleResource()
{
    QFile file(QStringLiteral(":/OrvQtQuelvane/ecg.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The draws as the window makes them.
void reseed()
{
    reseedMonitorRandom();
}

int draw()
{
    return monitorRandom();
}

} // namespace

class TestMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    // Runs before the package is loaded: descriptions then come from disk.
    void testMissingChildrenStart();
    void testSkinFailures_data();
    void testSkinFailures();
    void testResourceFormat();
    void testSeriesFormulas_data();
    void testSeriesFormulas();
    void testNamedChildren_data();
    void testNamedChildren();
    void testChartsAndGauges();
    void testSweepOnNarrowChart();
    void testSeriesEndJoinsBackOnWideChart();
    void testEmptySeriesAddsNothing();
    void testEcgChartsKeepOwnPositions();
    void testReadOuts();
    void testOwnSkinLogsNothing();
    void testDayNightSwitch();

private:
    std::unique_ptr<OrvQtQuelvane> packagedWindow();
    bool m_packageLoaded = false;
};

void TestMonitor::initTestCase()
{
    initialize();
}

std::unique_ptr<OrvQtQuelvane> TestMonitor::packagedWindow()
{
    if (!m_packageLoaded)
        m_packageLoaded = loadSkinPackage(QStringLiteral(ORV_QUELVANE_PACKAGE));
    return m_packageLoaded ? std::make_unique<OrvQtQuelvane>() : nullptr;
}

void TestMonitor::testMissingChildrenStart()
{
    // Only one container and two read-outs; "battery" is a label, not a gauge.
    QTemporaryDir dir;
    QFile file(dir.filePath("MainFrame.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"elements": [
        {"type": "qtcontainer", "name": "ecgContainer", "x": 0, "y": 0, "w": 120, "h": 80},
        {"type": "qtlabel", "name": "hr", "x": 0, "y": 90, "w": 100, "h": 30},
        {"type": "qtlabel", "name": "battery", "x": 0, "y": 130, "w": 100, "h": 30},
        {"type": "qtlabel", "name": "time", "x": 0, "y": 170, "w": 300, "h": 30}]})");
    file.close();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    OrvQtQuelvane window;
    QDir::setCurrent(previous);

    QVERIFY(window.ecgChart);
    QCOMPARE(window.ecgChart->size(), QSize(120, 80));
    QVERIFY(!window.plethChart && !window.respChart && !window.pluseChart);
    QVERIFY(!window.spo2Label && !window.nbpLabel);
    for (int tick = 0; tick < 300; ++tick)
        window.onWaveTimer();
    window.onVitalsTimer();
    QCOMPARE(window.chartPos.size(), 1);
    QCOMPARE(window.chartPos.value(window.ecgChart), 300 % 121);
    QVERIFY(!window.hrLabel->text().isEmpty());
    QCOMPARE(window.findChild<QLabel *>("battery")->text(), QStringLiteral("label"));
}

void TestMonitor::testSkinFailures_data()
{
    QTest::addColumn<QByteArray>("package"); // empty: none
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << "was not found. Looked for:\n%1/Quelvane.data\n";
    QTest::newRow("not a zip") << QByteArray("text") << "%1/Quelvane.data is not a skin package";
    QTest::newRow("no MainFrame")
        << TestSupport::ZipWriter().stored("style.json", R"({"style": []})").archive()
        << "%1/Quelvane.data holds no window description \"MainFrame\"";
}

void TestMonitor::testSkinFailures()
{
    QFETCH(QByteArray, package);
    QFETCH(QString, message);
    QTemporaryDir dir;
    if (!package.isEmpty()) {
        QFile file(dir.filePath("Quelvane.data"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(package);
    }
    // The program itself: it must say why and where, and fail.
    QProcess monitor;
    monitor.setWorkingDirectory(dir.path());
    monitor.start(QStringLiteral(ORV_QUELVANE_PROGRAM), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(monitor.waitForFinished(60000));
    QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(monitor.exitCode(), 1);
    const QString error = QString::fromLocal8Bit(monitor.readAllStandardError());
    QVERIFY2(error.contains(message.arg(QFileInfo(dir.path()).canonicalFilePath())), qPrintable(error));
}

void TestMonitor::testResourceFormat()
{
    const QByteArray bytes = sampleResource();
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 2501); // the last split is the empty rest
    const QRegularExpression shape(QStringLiteral("^-?\\d+(\\.\\d{1,3})?\\r$"));
    float low = 1e9f;
    float high = -1e9f;
    for (int i = 0; i < 2500; ++i) {
        const QString line = QString::fromLatin1(lines.at(i));
        QVERIFY2(shape.match(line).hasMatch(), qPrintable(QString("line %1").arg(i)));
        low = std::min(low, line.toFloat());
        high = std::max(high, line.toFloat());
    }
    QVERIFY(low >= -0.65f && low <= -0.5f);
    QVERIFY(high >= 1.25f && high <= 1.4f);
}

void TestMonitor::testSeriesFormulas_data()
{
    QTest::addColumn<int>("index");
    for (int index : {0, 1, 21, 90, 180, 1234, 2499})
        QTest::newRow(qPrintable(QString::number(index))) << index;
}

void TestMonitor::testSeriesFormulas()
{
    QFETCH(int, index);
    auto window = packagedWindow();
    QVERIFY(window);
    const QList<QByteArray> lines = sampleResource().split('\n');
    const float v = QString::fromLatin1(lines.at(index)).toFloat();
    // 3.1415, not pi: the angle drifts from a true degree on purpose.
    const double a = index / 180.0 * 3.1415;
    QCOMPARE(window->ecgData.size(), 2500);
    QCOMPARE(window->ecgData.at(index), v);
    QCOMPARE(window->plethData.at(index), float(double(v) * std::sin(a)));
    QCOMPARE(window->respData.at(index), float(double(v) * std::cos(a) * 0.5));
}

void TestMonitor::testNamedChildren_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typeName");
    for (const char *name : {"ecgContainer", "plethContainer", "respContainer", "pluseContainer"})
        QTest::newRow(name) << name << "qtcontainer";
    QTest::newRow("battery") << "battery" << "qtprogressbar";
    QTest::newRow("radioMain") << "radioMain" << "qtradiobox";
    for (const char *name : {"hr", "spo2", "rp", "nbp", "pluse", "time"})
        QTest::newRow(name) << name << "qtlabel";
}

void TestMonitor::testNamedChildren()
{
    QFETCH(QString, name);
    QFETCH(QString, typeName);
    auto window = packagedWindow();
    QVERIFY(window);
    const QList<QWidget *> found = window->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    IOrvQControlBase *control = controlInterface(found.first());
    QVERIFY(control);
    QCOMPARE(control->typeName(), typeName);
    if (typeName == "qtprogressbar")
        QVERIFY(qobject_cast<QProgressBar *>(found.first()));
    if (typeName == "qtradiobox")
        QVERIFY(qobject_cast<QRadioButton *>(found.first()));
    if (typeName == "qtlabel")
        QVERIFY(qobject_cast<OrvQLabel *>(found.first()));
}

void TestMonitor::testChartsAndGauges()
{
    auto window = packagedWindow();
    QVERIFY(window);
    struct Row {
        OrvQECGChart *chart;
        const char *container;
        QColor color1;
        QColor color2;
    };
    const Row rows[] = {
        {window->ecgChart, "ecgContainer", QColor(77, 253, 0), QColor(38, 123, 1)},
        {window->plethChart, "plethContainer", QColor(44, 248, 247), QColor(19, 121, 119)},
        {window->respChart, "respContainer", QColor(250, 251, 57), QColor(33, 137, 33)},
        {window->pluseChart, "pluseContainer", QColor(255, 255, 255), QColor(255, 255, 255)},
    };
    for (const Row &row : rows) {
        QVERIFY(row.chart);
        QWidget *container = window->findChild<QWidget *>(row.container);
        QCOMPARE(row.chart->parentWidget(), container);
        QCOMPARE(row.chart->geometry(), QRect(QPoint(0, 0), container->size()));
        QVERIFY(container->width() > 100 && container->height() > 100);
        QCOMPARE(row.chart->impl()->color1(), row.color1);
        QCOMPARE(row.chart->impl()->color2(), row.color2);
        QCOMPARE(window->chartPos.value(row.chart, -1), 0);
    }
    auto *battery = window->findChild<QProgressBar *>("battery");
    QCOMPARE(battery->maximum(), 5);
    QCOMPARE(battery->value(), 5);
    QVERIFY(window->findChild<QRadioButton *>("radioMain")->isChecked());
    QCOMPARE(window->waveTimer->interval(), 10);
    QCOMPARE(window->vitalsTimer->interval(), 1000);
    QVERIFY(window->waveTimer->isActive() && window->vitalsTimer->isActive());
}

void TestMonitor::testSweepOnNarrowChart()
{
    auto window = packagedWindow();
    QVERIFY(window);
    QWidget holder;
    auto *chart = new OrvQECGChart(&holder);
    chart->setGeometry(0, 0, 50, 41);
    const QVector<float> &series = window->ecgData;

    for (int n = 0; n <= 49; ++n)
        window->stepChart(chart, series, 50);
    QCOMPARE(chart->pointCount(), 50);
    const QVector<QPointF> points = chart->impl()->points();
    QCOMPARE(points.first(), QPointF(0, float(41 / 2) - series[0] * 50));
    QCOMPARE(points.last().x(), 49.0);
    QVERIFY(chart->impl()->snapshot().isNull());

    // Point W + 1 wraps: snapshot, clear, back to sample 0.
    window->stepChart(chart, series, 50);
    QCOMPARE(chart->pointCount(), 0);
    QVERIFY(!chart->impl()->snapshot().isNull());
    QCOMPARE(window->chartPos.value(chart), 0);
    window->stepChart(chart, series, 50);
    QCOMPARE(chart->impl()->points().first(), QPointF(0, float(41 / 2) - series[0] * 50));
}

void TestMonitor::testSeriesEndJoinsBackOnWideChart()
{
    auto window = packagedWindow();
    QVERIFY(window);
    QWidget holder;
    auto *chart = new OrvQECGChart(&holder);
    chart->setGeometry(0, 0, 40, 30);
    const QVector<float> series = {0.1f, 0.2f, 0.3f};
    for (int n = 0; n < 5; ++n)
        window->stepChart(chart, series, 10);
    // The series ran out before the sweep did: x returns to 0, no wrap.
    const QVector<QPointF> points = chart->impl()->points();
    QCOMPARE(points.size(), 5);
    QCOMPARE(points.at(3), QPointF(0, float(30 / 2) - 0.1f * 10));
    QCOMPARE(points.at(4).x(), 1.0);
    QVERIFY(chart->impl()->snapshot().isNull());
}

void TestMonitor::testEmptySeriesAddsNothing()
{
    auto window = packagedWindow();
    QVERIFY(window);
    QWidget holder;
    auto *chart = new OrvQECGChart(&holder);
    chart->setGeometry(0, 0, 50, 40);
    window->stepChart(chart, QVector<float>(), 50);
    QCOMPARE(chart->pointCount(), 0);
}

void TestMonitor::testEcgChartsKeepOwnPositions()
{
    auto window = packagedWindow();
    QVERIFY(window);
    for (int n = 0; n < 7; ++n)
        window->stepChart(window->ecgChart, window->ecgData, 50);
    QCOMPARE(window->chartPos.value(window->ecgChart), 7);
    QCOMPARE(window->chartPos.value(window->pluseChart), 0);
    for (int n = 0; n < 3; ++n)
        window->onWaveTimer();
    QCOMPARE(window->chartPos.value(window->ecgChart), 10);
    QCOMPARE(window->chartPos.value(window->pluseChart), 3);
    // The same sample, at each chart's own scale.
    const float v = window->ecgData[2];
    QCOMPARE(window->pluseChart->impl()->points().at(2).y(), double(float(window->pluseChart->height() / 2) - v * 30));
}

void TestMonitor::testReadOuts()
{
    reseed();
    int draws[7];
    for (int &d : draws)
        d = draw();
    const int hr = draws[0] % 10 + 100;
    const int spo2 = draws[1] % 10 + 91;
    const int rp = draws[2] % 10 + 50;
    const int systolic = draws[3] % 10 + 100;
    const int diastolic = draws[4] % 10 + 70;
    const int pluse = draws[5] % 10 + 75;
    reseed();
    auto window = packagedWindow();
    QVERIFY(window);

    auto text = [&](const char *name) {
        auto *label = qobject_cast<OrvQLabel *>(window->findChild<QLabel *>(name));
        // The stored full text must follow, not just the shown one.
        return label && label->fullText() == label->text() ? label->text() : QString();
    };
    QCOMPARE(text("hr"), QString::number(hr));
    QCOMPARE(text("spo2"), QString::number(spo2));
    QCOMPARE(text("rp"), QString::number(rp));
    QCOMPARE(text("nbp"), QString("%1/%2").arg(systolic).arg(diastolic));
    QCOMPARE(text("pluse"), QString::number(pluse));
    QVERIFY(QRegularExpression("^\\d{4}-\\d{2}-\\d{2}  \\d{2}:\\d{2}:\\d{2}$").match(text("time")).hasMatch());

    window->onVitalsTimer();
    QCOMPARE(text("hr"), QString::number(draws[6] % 10 + 100));
}

void TestMonitor::testOwnSkinLogsNothing()
{
    TestSupport::SkinLogCapture log;
    QCOMPARE(loadMonitorSkin({QStringLiteral(ORV_QUELVANE_PACKAGE)}), QString());
    OrvQtQuelvane window;
    window.onVitalsTimer();
    for (int tick = 0; tick < 10; ++tick)
        window.onWaveTimer();
    window.grab();
    QVERIFY2(log.lines.isEmpty(), qPrintable(log.lines.join('\n')));
}

void TestMonitor::testDayNightSwitch()
{
    auto window = packagedWindow();
    QVERIFY(window);
    window->setSkinPackages(ORV_QUELVANE_PACKAGE, ORV_NIGHT_PACKAGE);
    window->resize(1024, 1024);
    // Ticks by hand, so that each one is counted.
    window->waveTimer->stop();
    for (int i = 0; i < 25; ++i)
        window->onWaveTimer();
    const QPoint background(4, 100);
    QCOMPARE(window->grab().toImage().pixel(background), 0xff080b10u);

    QTest::keyClick(window.get(), Qt::Key_N);
    QVERIFY(window->isNight());
    QCOMPARE(window->grab().toImage().pixel(background), 0xff040609u);
    // The sweep goes on where it was.
    QCOMPARE(window->ecgChart->pointCount(), 25);
    window->onWaveTimer();
    QCOMPARE(window->ecgChart->pointCount(), 26);
    QCOMPARE(window->chartPos.value(window->ecgChart), 26);

    auto *menu = window->findChild<QAbstractButton *>("menu");
    QVERIFY(menu);
    menu->click();
    QVERIFY(!window->isNight());
    QCOMPARE(window->grab().toImage().pixel(background), 0xff080b10u);
    QCOMPARE(window->ecgChart->pointCount(), 26);
}

QTEST_MAIN(TestMonitor)
#include "tst_monitor.moc"
