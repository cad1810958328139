// KtFrameTimer tests: elapsed ticks across the counter's wrap, and the pacing lower bound.
#include "KtFrameTimer.h"
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

TEST(KtFrameTimer, ElapsedCountsModuloTheTickCounter)
{
    struct Case {
        uint32_t previous, now, expected;
    };
    const Case cases[] = {
        {1000, 1030, 30},
        {0xFFFFFFF0u, 5, 21},      // the counter wrapped past 2^32 in between
        {0xFFFFFFFFu, 0, 1},
        {2000, 1990, 0},           // a previous tick ahead of now counts as nothing
        {7, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.previous);
        KtFrameTimer timer;
        timer.lastTick = timer.previousTick = c.previous;
        EXPECT_EQ(c.expected, timer.elapsedAt(c.now));
        EXPECT_EQ(c.now, timer.previousTick);
        EXPECT_EQ(c.now, timer.lastTick);
    }
}

TEST(KtFrameTimer, WaitForKeepsEachStepAtLeastItsLength)
{
    KtFrameTimer timer;
    timer.lastTick = timer.previousTick = GetTickCount();
    const DWORD start = GetTickCount();
    timer.waitFor(100);
    // The tick count moves in steps (about 16 ms under Wine and on Windows):
    // only a step's worth less than the length is allowed.
    EXPECT_GE(GetTickCount() - start, 100u - 17u);

    // A step that already took longer than its length does not sleep (a
    // sleep here would last seconds).
    timer.previousTick = GetTickCount() - 6000;
    const DWORD before = GetTickCount();
    timer.waitFor(5000);
    EXPECT_LT(GetTickCount() - before, 2500u) << "no sleep after a long step";
}

// A loop that does no work of its own between its waits: every step still
// takes its length, the ones after the first as well.
TEST(KtFrameTimer, ConsecutiveWaitsEachKeepTheirLength)
{
    struct Case {
        uint32_t ms;
        int steps;
    };
    // Each wait may end up to a tick (17 ms) early; skipping every second
    // wait would lose half the time.
    for (const Case& c : {Case{100, 2}, Case{80, 3}, Case{50, 4}}) {
        SCOPED_TRACE(std::to_string(c.steps) + " x " + std::to_string(c.ms));
        KtFrameTimer timer;
        timer.lastTick = timer.previousTick = GetTickCount();
        const DWORD start = GetTickCount();
        for (int i = 0; i < c.steps; ++i)
            timer.waitFor(c.ms);
        EXPECT_GE(GetTickCount() - start, (c.ms - 17u) * c.steps);
    }
}

}  // namespace
