// ViewportStage: a visible top-level window to put viewports on, with pixel read-back and a bounded message pump.
#pragma once
#include <windows.h>

// Viewports are child windows; their pictures can be read back exactly only
// while they are on the screen (Xvfb at depth 24). The stage is a topmost
// popup at the screen's top-left corner that paints nothing itself.
class ViewportStage {
public:
    ViewportStage(int width = 200, int height = 150);
    ~ViewportStage();
    ViewportStage(const ViewportStage&) = delete;
    ViewportStage& operator=(const ViewportStage&) = delete;

    HWND handle() const { return window_; }

    // Dispatches this thread's messages until none is left, or for at most
    // the given time.
    static void pump(DWORD milliseconds = 100);

    // The colour on the screen at a client point of window.
    static COLORREF pixel(HWND window, int x, int y);

private:
    HWND window_;
};
