#pragma once
// How the benchmarks take their times.
#include <algorithm>
#include <chrono>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The shortest of `runs` runs of `f`, in seconds.
template <typename F>
double BestOf(int runs, F f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

}  // namespace bench
