#pragma once

#include <sys/resource.h>

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <limits>

namespace bench {

// Best of `runs` timings of `work`, in milliseconds.
inline double bestOf(int runs, const std::function<void()> &work)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// Peak resident memory of this process so far, in megabytes.
inline double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Minor page faults of the process so far: fresh pages the kernel handed
// out, the cost of a load that allocates much.
inline long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

} // namespace bench
