#pragma once

#include <QMainWindow>
#include <QMap>
#include <QVector>

class QLabel;
class QTimer;

namespace OrvQtLib {
class OrvQECGChart;
}

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
};
