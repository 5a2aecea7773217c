#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace BenchTiming {

// The median of several rounds of work, in milliseconds. undo, when given, runs after each round
// outside the timing, so that every round starts from the same state.
inline double medianMs(const std::function<void()>& work, const std::function<void()>& undo = {},
                       int rounds = 5)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (undo)
            undo();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace BenchTiming
