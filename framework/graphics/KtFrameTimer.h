// KtFrameTimer: paces a loop to at least a given number of milliseconds per step.
#pragma once
#include <cstdint>

// Users set both ticks to the current tick count when they start timing.
// Scenario modules read the fields: lastTick, then previousTick.
class KtFrameTimer {
public:
    KtFrameTimer() : lastTick(0), previousTick(0) {}
    virtual ~KtFrameTimer();                  // slot 0

    // Milliseconds since the previous call (or the start) by the tick count;
    // both ticks become now.
    uint32_t elapsed();
    // The same at a given tick count. The count wraps after 2^32 ms: the
    // difference is taken modulo 2^32, and a previous tick that lies ahead
    // of now (set by hand, or a step back) counts as 0.
    uint32_t elapsedAt(uint32_t now);
    // Sleeps for whatever is left of ms since the previous call; after a
    // sleep both ticks are the time it ended, so each step keeps its length.
    void waitFor(uint32_t ms);

    uint32_t lastTick;
    uint32_t previousTick;
};
