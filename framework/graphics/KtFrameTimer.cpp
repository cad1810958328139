// KtFrameTimer: elapsed ticks and the pacing sleep.
#include "KtFrameTimer.h"
#include <windows.h>
#include <cstddef>

#ifndef _WIN64
static_assert(offsetof(KtFrameTimer, lastTick) == 4 && offsetof(KtFrameTimer, previousTick) == 8,
              "fields read by scenario modules");
#else
static_assert(offsetof(KtFrameTimer, lastTick) < offsetof(KtFrameTimer, previousTick),
              "fields read by scenario modules");
#endif

KtFrameTimer::~KtFrameTimer() = default;

uint32_t KtFrameTimer::elapsed()
{
    return elapsedAt(GetTickCount());
}

uint32_t KtFrameTimer::elapsedAt(uint32_t now)
{
    const uint32_t difference = now - previousTick;
    lastTick = previousTick = now;
    return int32_t(difference) < 0 ? 0 : difference;
}

void KtFrameTimer::waitFor(uint32_t ms)
{
    const uint32_t e = elapsed();
    if (e >= ms)
        return;
    Sleep(ms - e);
    // The next step starts when this wait ends: measured from before the
    // sleep, it would count the sleep as its own time and not wait at all.
    lastTick = previousTick = GetTickCount();
}
