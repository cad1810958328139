// KtDummyWindow: a hidden zero-size window that owns a popup menu while it is tracked.
#pragma once
#include "KtWindow.h"

// Lives for one popup-menu call: made with the window that wants the menu
// as parent, used as the menu's owner, and deleted (closing its window) when
// the call returns. Never visible.
class KtDummyWindow : public KtWindow {
public:
    explicit KtDummyWindow(HWND menuOwner);
    ~KtDummyWindow() override;

    int windowType() override;            // 1: 19
    UINT classStyle() override;           // 13: 0
    HICON classIcon() override;           // 16: none
    HCURSOR classCursor() override;       // 17: none
    HBRUSH classBackground() override;    // 18: none
    const char* className() override;     // 20
    const char* windowName() override;    // 22
    int initialX() override;              // 24 to 27: 0
    int initialY() override;
    int initialWidth() override;
    int initialHeight() override;
    int showCommand() override;           // 31: SW_HIDE
};
