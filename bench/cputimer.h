#pragma once

#include <QtGlobal>

#include <ctime>

// Measures the CPU time of the calling thread. Painting and layout run on
// the GUI thread alone, so its CPU time is their cost; unlike wall time it
// does not grow when other processes share the machine's cores.
class CpuTimer
{
public:
    void start() { m_start = now(); }
    void restart() { start(); }
    qint64 nsecsElapsed() const { return now() - m_start; }

private:
    static qint64 now()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }

    qint64 m_start = now();
};
