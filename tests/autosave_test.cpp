#include "learn/autosave.h"

#include <gtest/gtest.h>

namespace {

constexpr long kQuiet = AutosaveClock::kQuietMs;
constexpr long kLatest = AutosaveClock::kLatestMs;

TEST(AutosaveClock, DueAfterASecondOfQuietOrThirtySecondsAfterTheFirstPass) {
    AutosaveClock c;
    EXPECT_FALSE(c.Due(100000, 100000, false)) << "no pass, nothing to save";
    c.PassRan(1000);
    EXPECT_FALSE(c.Due(1500, kQuiet - 1, false));
    EXPECT_TRUE(c.Due(2000, kQuiet, false));
    // Keys keep coming: later passes do not push the deadline back.
    c.PassRan(20000);
    EXPECT_FALSE(c.Due(1000 + kLatest - 1, 0, false));
    EXPECT_TRUE(c.Due(1000 + kLatest, 0, false));
    EXPECT_FALSE(c.Due(1000 + kLatest, kQuiet, true)) << "never during a replay";
    c.Tried(1000 + kLatest, true);
    EXPECT_FALSE(c.Due(100000, 100000, false)) << "checked: the clock waits for the next pass";
}

TEST(AutosaveClock, AFailedSaveIsTriedAgainInALaterWaitOrThirtySecondsOn) {
    AutosaveClock c;
    c.PassRan(0);
    c.Tried(5000, false);
    EXPECT_FALSE(c.Due(9000, 4000, false)) << "not again in the same wait";
    EXPECT_TRUE(c.Due(5000 + kLatest, 4000, false));
    c.PassRan(6000);
    EXPECT_TRUE(c.Due(7000, kQuiet, false));
}

}  // namespace
