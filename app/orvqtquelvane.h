#pragma once

#include <QMainWindow>
#include <QMap>
#include <QStringList>
#include <QVector>

class QLabel;
class QTimer;

namespace OrvQtLib {
class OrvQECGChart;
}

// Loads the monitor's skin package from the first of `candidates` that
// exists. Empty when it holds a "MainFrame" that parses; otherwise says, for
// the user, what is wrong and where it looked.
QString loadMonitorSkin(const QStringList &candidates);

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
