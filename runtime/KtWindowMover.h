// KtWindowMover: turns a press-and-hold or a short drag on a movable window into a window move.
#pragma once
#include "KtPoint.h"
#include <windows.h>

class KtVelka;

// A left press on a movable scenario window is held back. Releasing within
// 400 ms and without moving more than 2 pixels makes it an ordinary click
// (the caller then delivers the held-back press just before the release);
// holding it 400 ms, or moving 3 pixels or more, starts the system's window
// move loop on that window. Runs on the window thread only.
class KtWindowMover {
public:
    static constexpr UINT_PTR timerId = 1;
    static constexpr UINT holdMilliseconds = 400;
    static constexpr int slop = 2;          // a movement of exactly this much is still a click
    static constexpr WPARAM moveCommand = SC_MOVE | HTCAPTION;   // 0xF012

    explicit KtWindowMover(KtVelka& velka);
    KtWindowMover(const KtWindowMover&) = delete;
    KtWindowMover& operator=(const KtWindowMover&) = delete;

    // A left press on window at the client position in lParam. True when
    // the press was held back (the message must not be dispatched).
    bool press(HWND window, LPARAM lParam);
    // Mouse movement while a press is held back.
    void mouseMoved(LPARAM lParam);
    // A timer message; only our timer on the pressed window counts.
    void timerFired(HWND window, WPARAM id);
    // The left button went up: true when a press had been held back, which
    // the caller must now deliver. The held-back state is cleared.
    bool release();

    bool isPressed() const { return pressed_ != 0; }
    HWND pressWindow() const { return pressWindow_; }

    // The movable window for window: the window itself or the nearest
    // registered ancestor marked movable; null when the walk reaches a
    // window that is not registered or a popup viewport that is not movable.
    HWND findMovable(HWND window);

    // Whether a position (lParam) lies outside the slop square around the press.
    static bool beyondSlop(const KtPoint& pressPoint, LPARAM lParam);

private:
    void startMove();
    void stopTimer();

    KtVelka& velka_;
    int pressed_;
    KtPoint pressPoint_;
    HWND pressWindow_;
};
