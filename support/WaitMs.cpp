#include "support/WaitMs.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <thread>

namespace brx {

namespace {
// Short enough for the windows to stay responsive, long enough to leave the
// core idle between passes.
constexpr std::chrono::milliseconds kEventPass{10};
} // namespace

void WaitMs(double ms) {
    using Clock = std::chrono::steady_clock;
    constexpr double kLongestWaitMs = 24.0 * 3600 * 1000;
    ms = ms > 0 ? std::min(ms, kLongestWaitMs) : 0.0; // also turns NaN into 0
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double, std::milli>(ms));
    for (;;) {
        QCoreApplication::processEvents();
        const auto left = end - Clock::now();
        if (left <= Clock::duration::zero()) return;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, kEventPass));
    }
}

} // namespace brx
