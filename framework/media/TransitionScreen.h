// TransitionScreen: what a transition needs from the screen it runs on.
#pragma once
#include "KtRect.h"
#include <cstdint>

// The transitions are computed without the platform: they tell a screen
// which rectangles to copy from the finished picture, when to pause, and ask
// it whether the player wants to skip. The layer viewport's screen copies
// through its window; tests record the calls.
class TransitionScreen {
public:
    virtual ~TransitionScreen() = default;
    // Copies r of the composed picture to the screen; r is never empty.
    virtual void copy(const KtRect& r) = 0;
    // Marks r to be copied with the next showBatch: for the many small
    // blocks of a dissolve, which a window shows far faster in one update
    // than one by one. r is never empty.
    virtual void copyLater(const KtRect& r) = 0;
    virtual void showBatch() = 0;
    // Lets ms milliseconds pass on the transition's clock: pauses add up
    // from the start of the transition, and time spent copying counts
    // toward them, so a slow screen does not stretch the transition.
    virtual void pause(uint32_t ms) = 0;
    // True when the right mouse button is down, or went down since the last
    // question.
    virtual bool skipRequested() = 0;
};
