// Timing for the benches: the performance counter (<chrono> does not build
// with the GBK execution character set), the best of several runs, and the
// mean time of the fastest batch of a body run many times.
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

// Microseconds a run of `body` takes, after one run to warm caches and lazy
// initialisation: the mean of the fastest of five batches of `runs` / 5, so a
// burst of load from other processes shows in one batch, not in the figure.
template <class Body>
double MicrosecondsPer(int runs, Body&& body) {
    body();
    const int batches = runs >= 5 ? 5 : 1;
    const int perBatch = runs / batches;
    double best = 1e30;
    for (int b = 0; b < batches; ++b) {
        const double start = Now();
        for (int i = 0; i < perBatch; ++i) body();
        best = std::min(best, (Now() - start) / perBatch);
    }
    return best * 1e6;
}

}  // namespace corvalin::bench
