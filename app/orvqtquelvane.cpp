#include "orvqtquelvane.h"

#include "controlregistry.h"
#include "ecgchart.h"
#include "label.h"
#include "resourcemanager.h"
#include "windowloader.h"
#include "ziparchive.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <QtGlobal>

#include <cmath>
#include <cstdlib>

using OrvQtLib::OrvQECGChart;

namespace {

unsigned randomSeed = 1;

// Read-outs are found as QLabel, but OrvQLabel::setText is not virtual: only
// through the OrvQLabel does the stored full text follow.
void showText(QLabel *label, const QString &text)
{
    if (auto *orvLabel = qobject_cast<OrvQtLib::OrvQLabel *>(label))
        orvLabel->setText(text);
    else if (label)
        label->setText(text);
}

} // namespace

QString loadMonitorSkin(const QStringList &candidates, QString *loaded)
{
    QStringList places;
    QString path;
    for (const QString &candidate : candidates) {
        places.append(QFileInfo(candidate).absoluteFilePath());
        if (path.isEmpty() && QFileInfo::exists(candidate))
            path = places.last();
    }
    if (path.isEmpty())
        return QStringLiteral("The skin package Quelvane.data was not found. Looked for:\n%1").arg(places.join('\n'));
    // The toolkit loads what it can of any file; the monitor needs a package.
    if (!OrvQtLib::OrvQZipHandle(OrvQtLib::openZipFile(QFile::encodeName(path).constData(), nullptr)))
        return QStringLiteral("%1 is not a skin package: it cannot be read as a zip archive.").arg(path);
    OrvQtLib::loadSkinPackage(path);
    if (loaded)
        *loaded = path;
    bool inPackage = false;
    const auto mainFrame = OrvQtLib::OrvQResourceManager::instance().jsonDocument(QStringLiteral("MainFrame.json"),
                                                                                  &inPackage);
    if (!inPackage)
        return QStringLiteral("%1 holds no window description \"MainFrame\" (MainFrame.json).").arg(path);
    if (!mainFrame)
        return QStringLiteral("%1: the window description \"MainFrame\" does not parse.").arg(path);
    return QString();
}

// rand_r() is what Qt 5's qrand() called on this platform; Qt 6 has no qrand().
int monitorRandom()
{
    return rand_r(&randomSeed);
}

void reseedMonitorRandom(unsigned seed)
{
    randomSeed = seed;
}

OrvQtQuelvane::OrvQtQuelvane(QWidget *parent) : QMainWindow(parent)
{
    setMinimumSize(1024, 1024);
    OrvQtLib::loadWindowLayout(this, QStringLiteral("MainFrame"));
    // Qt::Window keeps it a window when it is given a parent.
    setWindowFlags(Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setUpDisplay();
}

OrvQtQuelvane::~OrvQtQuelvane() = default;

void OrvQtQuelvane::setUpDisplay()
{
    waveTimer = new QTimer(this);
    waveTimer->setInterval(10);
    // A coarse timer may fire up to 5% late, which would slow the sweep.
    waveTimer->setTimerType(Qt::PreciseTimer);
    connect(waveTimer, &QTimer::timeout, this, &OrvQtQuelvane::onWaveTimer);
    waveTimer->start();

    vitalsTimer = new QTimer(this);
    vitalsTimer->setInterval(1000);
    connect(vitalsTimer, &QTimer::timeout, this, &OrvQtQuelvane::onVitalsTimer);
    vitalsTimer->start();

    loadSamples();

    // A skin lacking one of the named children still starts: that chart or
    // read-out is left out.
    ecgChart = addChart("ecgContainer", QColor(77, 253, 0), QColor(38, 123, 1));
    plethChart = addChart("plethContainer", QColor(44, 248, 247), QColor(19, 121, 119));
    respChart = addChart("respContainer", QColor(250, 251, 57), QColor(33, 137, 33));
    pluseChart = addChart("pluseContainer", QColor(255, 255, 255), QColor(255, 255, 255));

    if (auto *battery = findChild<QProgressBar *>(QStringLiteral("battery"))) {
        battery->setRange(0, 5);
        battery->setValue(5);
    }
    if (auto *radio = findChild<QRadioButton *>(QStringLiteral("radioMain")))
        radio->setChecked(true);
    if (auto *menu = findChild<QAbstractButton *>(QStringLiteral("menu")))
        connect(menu, &QAbstractButton::clicked, this, &OrvQtQuelvane::toggleNight);

    hrLabel = findChild<QLabel *>(QStringLiteral("hr"));
    spo2Label = findChild<QLabel *>(QStringLiteral("spo2"));
    rpLabel = findChild<QLabel *>(QStringLiteral("rp"));
    nbpLabel = findChild<QLabel *>(QStringLiteral("nbp"));
    pluseLabel = findChild<QLabel *>(QStringLiteral("pluse"));
    timeLabel = findChild<QLabel *>(QStringLiteral("time"));

    onVitalsTimer();
}

void OrvQtQuelvane::setSkinPackages(const QString &day, const QString &night)
{
    m_dayPackage = day;
    m_nightPackage = night;
    m_night = false;
}

bool OrvQtQuelvane::toggleNight()
{
    // The charts hold only their points and colours, which the host sets,
    // so a switch restyles around them and the sweep goes on.
    const QString &next = m_night ? m_dayPackage : m_nightPackage;
    if (next.isEmpty() || !OrvQtLib::replaceSkinPackage(next))
        return false;
    m_night = !m_night;
    return true;
}

void OrvQtQuelvane::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_N && !(event->modifiers() & ~Qt::KeypadModifier)) {
        toggleNight();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void OrvQtQuelvane::loadSamples()
{
    // The resource lives in a static library: make sure it is linked in.
    static const bool registered = [] {
        Q_INIT_RESOURCE(quelvane);
        return true;
    }();
    Q_UNUSED(registered)
    QFile file(QStringLiteral(":/OrvQtQuelvane/ecg.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    // One read and an in-place walk over the lines: reading line by line
    // through QString costs more than the rest of the start-up work here.
    const QByteArray text = file.readAll();
    ecgData.reserve(2500);
    plethData.reserve(2500);
    respData.reserve(2500);
    int i = 0;
    for (int pos = 0; pos < text.size(); ++i) {
        int end = text.indexOf('\n', pos);
        end = end < 0 ? text.size() : end + 1;
        // toFloat ignores the surrounding blanks and the CR, and gives 0 for
        // a line that is not a number, as the line-by-line reading did.
        const float v = QByteArray::fromRawData(text.constData() + pos, end - pos).toFloat();
        const double a = i / 180.0 * 3.1415;
        ecgData.append(v);
        plethData.append(float(double(v) * std::sin(a)));
        respData.append(float(double(v) * std::cos(a) * 0.5));
        pos = end;
    }
}

OrvQECGChart *OrvQtQuelvane::addChart(const char *container, const QColor &color1, const QColor &color2)
{
    QWidget *parent = findChild<QWidget *>(QString::fromLatin1(container));
    if (!parent)
        return nullptr;
    auto *chart = new OrvQECGChart(parent);
    chart->setColors(color1, color2);
    chart->setGeometry(0, 0, parent->width(), parent->height());
    chartPos[chart] = 0;
    return chart;
}

void OrvQtQuelvane::onWaveTimer()
{
    stepChart(ecgChart, ecgData, 50);
    stepChart(plethChart, plethData, 50);
    stepChart(respChart, respData, 50);
    stepChart(pluseChart, ecgData, 30);
}

void OrvQtQuelvane::stepChart(OrvQECGChart *chart, const QVector<float> &series, float scale)
{
    if (!chart || series.isEmpty())
        return;
    const int pos = qBound(0, chartPos.value(chart, 0), series.size() - 1);
    const float y = float(chart->height() / 2) - series[pos] * scale;
    chart->addPoint(float(pos), y);
    int next = pos + 1 < series.size() ? pos + 1 : 0;
    if (chart->pointCount() > chart->width()) {
        chart->takeSnapshot();
        chart->clearPoints();
        next = 0;
        // The whole previous sweep shows again; addPoint repaints only the
        // strip it changed.
        chart->update();
    }
    chartPos[chart] = next;
}

void OrvQtQuelvane::onVitalsTimer()
{
    showText(hrLabel, QStringLiteral("%1").arg(monitorRandom() % 10 + 100));
    showText(spo2Label, QStringLiteral("%1").arg(monitorRandom() % 10 + 91));
    showText(rpLabel, QStringLiteral("%1").arg(monitorRandom() % 10 + 50));
    const int systolic = monitorRandom() % 10 + 100;
    const int diastolic = monitorRandom() % 10 + 70;
    showText(nbpLabel, QStringLiteral("%1/%2").arg(systolic).arg(diastolic));
    showText(pluseLabel, QStringLiteral("%1").arg(monitorRandom() % 10 + 75));
    showText(timeLabel, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss")));
}
