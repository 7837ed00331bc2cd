#pragma once

#include <QMainWindow>
#include <QMap>
#include <QStringList>
#include <QVector>

class QKeyEvent;
class QLabel;
class QTimer;

namespace OrvQtLib {
class OrvQECGChart;
}

// Loads the monitor's skin package from the first of `candidates` that
// exists. Empty when it holds a "MainFrame" that parses; otherwise says, for
// the user, what is wrong and where it looked. `loaded`, when given, gets the
// path of the package it read.
QString loadMonitorSkin(const QStringList &candidates, QString *loaded = nullptr);

// The read-outs' draws: the same sequence on every run and under either Qt,
// starting again from `seed`.
int monitorRandom();
void reseedMonitorRandom(unsigned seed = 1);

// The monitor window: "MainFrame" from the skin, four sweeping waveforms fed
// every 10 ms from the embedded sample table, and read-outs refreshed once a
// second.
class OrvQtQuelvane : public QMainWindow
{
    Q_OBJECT

public:
    explicit OrvQtQuelvane(QWidget *parent = nullptr);
    ~OrvQtQuelvane() override;

    // The packages of the day and the night look. The "Menu" button and the
    // key N switch between them while the traces keep sweeping; the day
    // package is taken to be the one loaded.
    void setSkinPackages(const QString &day, const QString &night);
    bool isNight() const { return m_night; }
    // Switches to the other look; false, changing nothing, when its package
    // cannot be read.
    bool toggleNight();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TestMonitor;

    void setUpDisplay();
    void loadSamples();
    OrvQtLib::OrvQECGChart *addChart(const char *container, const QColor &color1, const QColor &color2);
    void onWaveTimer();
    void onVitalsTimer();
    void stepChart(OrvQtLib::OrvQECGChart *chart, const QVector<float> &series, float scale);

    QVector<float> ecgData;
    QVector<float> plethData;
    QVector<float> respData;
    QMap<OrvQtLib::OrvQECGChart *, int> chartPos;

    QTimer *waveTimer = nullptr;
    QTimer *vitalsTimer = nullptr;
    OrvQtLib::OrvQECGChart *ecgChart = nullptr;
    OrvQtLib::OrvQECGChart *plethChart = nullptr;
    OrvQtLib::OrvQECGChart *respChart = nullptr;
    OrvQtLib::OrvQECGChart *pluseChart = nullptr;

    QLabel *hrLabel = nullptr;
    QLabel *spo2Label = nullptr;
    QLabel *rpLabel = nullptr;
    QLabel *nbpLabel = nullptr;
    QLabel *pluseLabel = nullptr;
    QLabel *timeLabel = nullptr;

    QString m_dayPackage;
    QString m_nightPackage;
    bool m_night = false;
};
