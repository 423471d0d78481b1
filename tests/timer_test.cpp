// The millisecond interval timer, with real sleeping (Allegro's rest returns
// at once without a timer driver). Periods are short and every wait is well
// beyond them, so the checks hold on a loaded machine too.
#include "all/timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {
void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
}  // namespace

TEST(Timer, PeriodIsKeptOrMarkedAbsent) {
    Timer t;
    EXPECT_EQ(t.GetPeriod(), -1);
    t.SetPeriod(30);
    EXPECT_EQ(t.GetPeriod(), 30);
    t.SetPeriod(0);
    EXPECT_EQ(t.GetPeriod(), 0);
    t.SetPeriod(-5);
    EXPECT_EQ(t.GetPeriod(), -1);
    EXPECT_EQ(Timer(-100).GetPeriod(), -1);
}

TEST(Timer, ReadyOncePerPeriodThenRestarts) {
    Timer t(30);
    SleepMs(100);
    int64_t before = t.Elapsed();
    EXPECT_GE(before, 100);
    EXPECT_TRUE(t.Ready());
    // Ready restarted the timer.
    EXPECT_LT(t.Elapsed(), before);
    SleepMs(45);
    EXPECT_TRUE(t.Ready());
}

TEST(Timer, NotReadyBeforeItsPeriod) {
    Timer t(10000);
    SleepMs(40);
    EXPECT_FALSE(t.Ready());
    EXPECT_FALSE(t.Ready());
    // Not restarted by a false answer.
    EXPECT_GE(t.Elapsed(), 40);
}

TEST(Timer, RestartAndElapsed) {
    Timer t;
    SleepMs(100);
    EXPECT_GE(t.Elapsed(), 100);
    t.Restart();
    EXPECT_LT(t.Elapsed(), 100);
}

TEST(Timer, NeverReadyWithoutAPeriod) {
    Timer none;
    Timer negative(-1);
    SleepMs(40);
    EXPECT_FALSE(none.Ready());
    EXPECT_FALSE(negative.Ready());
    none.SetPeriod(10);
    EXPECT_TRUE(none.Ready());  // 40 ms have passed since construction
    none.SetPeriod(-1);
    SleepMs(20);
    EXPECT_FALSE(none.Ready());
}
