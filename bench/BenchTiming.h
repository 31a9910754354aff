#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

namespace BenchTiming {

// The best of `rounds` runs of `work` in milliseconds; `prepare` runs before each, untimed.
inline double bestOf(int rounds, const std::function<void()> &prepare, const std::function<void()> &work)
{
    double best = 1e18;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return best;
}

inline double bestOf(int rounds, const std::function<void()> &work)
{
    return bestOf(rounds, [] {}, work);
}

} // namespace BenchTiming
