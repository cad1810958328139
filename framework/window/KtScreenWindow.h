// KtScreenWindow: a borderless popup that covers the whole primary screen.
#pragma once
#include "KtWindow.h"

class KtScreenWindow : public KtWindow {
public:
    KtScreenWindow(HWND parentWindow, const KtString& name);
    ~KtScreenWindow() override;

    int windowType() override;            // 1: 12
    HBRUSH classBackground() override;    // 18: none, the owner paints everything
    const char* className() override;     // 20
    const char* windowName() override;    // 22
    DWORD style() override;               // 23: WS_POPUP
    int initialX() override;              // 24: 0
    int initialY() override;              // 25: 0
    int initialWidth() override;          // 26: screen width at creation
    int initialHeight() override;         // 27: screen height at creation
};
