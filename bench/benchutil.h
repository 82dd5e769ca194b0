#pragma once

// Small timing helpers shared by the benchmarks. Each benchmark prints rows
//   BENCH<TAB>operation<TAB>median<TAB>spread<TAB>unit
// which bench/report.sh gathers into bench/RESULTS.md.

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace vm2::bench {

// Runs `fn` `runs` times and prints the median and the spread (the range of the
// middle half of the runs) in `unit` ("ms" or "us").
inline double measure(const char *operation, int runs, const std::function<void()> &fn,
                      const char *unit = "ms")
{
    const double scale = unit[0] == 'u' ? 1e3 : 1.0;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 * scale);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double spread = times[times.size() * 3 / 4] - times[times.size() / 4];
    std::printf("BENCH\t%s\t%.3f\t%.3f\t%s\n", operation, median, spread, unit);
    std::fflush(stdout);
    return median;
}

inline void report(const char *operation, double value, const char *unit)
{
    std::printf("BENCH\t%s\t%.3f\t-\t%s\n", operation, value, unit);
    std::fflush(stdout);
}

// The peak resident memory of this process so far, in MiB.
inline double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace vm2::bench
