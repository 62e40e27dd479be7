#include "support/WaitMs.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <time.h>

using namespace brx;

namespace {
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}
} // namespace

TEST(WaitMs, LastsTheTimeAndHandlesEventsMeanwhile) {
    int fired = 0;
    QTimer::singleShot(30, [&] { ++fired; });
    QElapsedTimer clock;
    clock.start();
    WaitMs(120);
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_EQ(fired, 1) << "a timer due during the pause runs";
}

TEST(WaitMs, ZeroOrInvalidDurationsStillHandleEventsOnce) {
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    WaitMs(0);
    EXPECT_EQ(fired, 1);
    QElapsedTimer clock;
    clock.start();
    WaitMs(-5);
    WaitMs(std::numeric_limits<double>::quiet_NaN());
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(WaitMs, LeavesTheCoreIdle) {
    const double cpuBefore = threadCpuMs();
    WaitMs(300);
    const double cpuUsed = threadCpuMs() - cpuBefore;
    EXPECT_LT(cpuUsed, 100.0) << "a busy loop would use about 300 ms of CPU";
}
