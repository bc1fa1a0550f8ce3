// Timing for the benches: the performance counter (<chrono> does not build
// with the GBK execution character set), the best of several runs, and the
// mean time of a body run many times after one warm-up run.
#pragma once
#include <windows.h>

#include <algorithm>

namespace corvalin::bench {

inline double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The shortest of `runs` runs of `body`, in seconds.
template <class Body>
double BestSeconds(int runs, Body&& body) {
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
        const double start = Now();
        body();
        best = std::min(best, Now() - start);
    }
    return best;
}

// Microseconds a run of `body` takes on average over `runs`, after one run to
// warm caches and lazy initialisation.
template <class Body>
double MicrosecondsPer(int runs, Body&& body) {
    body();
    const double start = Now();
    for (int i = 0; i < runs; ++i) body();
    return (Now() - start) * 1e6 / runs;
}

}  // namespace corvalin::bench
