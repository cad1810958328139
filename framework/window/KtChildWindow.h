// KtChildWindow: a child window placed by a rectangle in its parent's client area.
#pragma once
#include "KtRect.h"
#include "KtWindow.h"

// The base of the viewports, the movie view and the scenario host window.
class KtChildWindow : public KtWindow {
public:
    KtChildWindow(HWND parentWindow, const KtString& name, const KtRect& area);
    ~KtChildWindow() override;

    int windowType() override;           // 1: 4
    UINT classStyle() override;          // 13: CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS
    const char* className() override;    // 20
    const char* windowName() override;   // 22
    DWORD style() override;              // 23: WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
    int initialX() override;             // 24: rect.left
    int initialY() override;             // 25: rect.top
    int initialWidth() override;         // 26
    int initialHeight() override;        // 27

    KtRect rect;   // position and size in the parent's client coordinates
};
