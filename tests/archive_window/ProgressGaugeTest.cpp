#include "archive_window/ProgressGauge.h"

#include <gtest/gtest.h>

using namespace brx;

TEST(ProgressGauge, MovesForwardWithinItsRangeWhenTheTotalIsKnown) {
    ProgressGauge gauge;
    EXPECT_EQ(gauge.report(ProgrTotalFiles, 3), 0);
    EXPECT_TRUE(gauge.visible());
    EXPECT_EQ(gauge.totalFiles(), 3);
    EXPECT_EQ(gauge.report(ProgrTotalSize, 3000), 1);
    int last = 1;
    for (int file = 0; file < 3; ++file) {
        // A new file never sends the bar back to the start.
        EXPECT_GE(gauge.report(ProgrNewFile, 1000), last);
        for (int chunk = 0; chunk < 4; ++chunk) {
            const int now = gauge.report(ProgrUpdate, 250);
            EXPECT_GE(now, last);
            last = now;
        }
    }
    EXPECT_EQ(last, ProgressGauge::kMaximum);
    // More bytes than announced stay within the range.
    EXPECT_EQ(gauge.report(ProgrUpdate, 5000), ProgressGauge::kMaximum);
    EXPECT_EQ(gauge.report(ProgrEndOfBatch, 0), 0);
    EXPECT_FALSE(gauge.visible());
}

TEST(ProgressGauge, WithoutATotalAnUpdateShowsTheBarFull) {
    ProgressGauge gauge;
    EXPECT_EQ(gauge.report(ProgrNewFile, 10), 1);
    EXPECT_EQ(gauge.report(ProgrUpdate, 10), ProgressGauge::kMaximum);
    EXPECT_EQ(gauge.report(ProgrNewFile, 10), 1);
    // The end of one batch forgets its total for the next one.
    gauge.report(ProgrTotalSize, 100);
    gauge.report(ProgrEndOfBatch, 0);
    EXPECT_EQ(gauge.report(ProgrUpdate, 10), ProgressGauge::kMaximum);
}
