#pragma once

// Timing and statistics shared by the benchmarks.

#include <QtGlobal>

#include <algorithm>
#include <ctime>
#include <numeric>
#include <vector>

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

inline double meanOf(const std::vector<double> &v)
{
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

inline double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline double percentile99(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(double(v.size()) * 0.99))];
}
