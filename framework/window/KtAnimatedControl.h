// KtAnimatedControl: a hidden window of the common animation control at a rectangle of its parent.
#pragma once
#include "KtRect.h"
#include "KtWindow.h"

// The host only creates the control; the scenario module opens a clip,
// plays it and shows the window through the window handle. The control's
// own window procedure handles its messages, so none of the object's
// handlers is ever called. Scenario modules read the fields by position.
class KtAnimatedControl : public KtWindow {
public:
    KtAnimatedControl(HWND parentWindow, const KtString& name, const KtRect& area);
    // Closes the clip and destroys the control's window.
    ~KtAnimatedControl() override;

    int windowType() override;            // 1: 7
    HBRUSH classBackground() override;    // 18: none
    const char* windowName() override;    // 22
    DWORD style() override;               // 23: controlStyle
    int initialX() override;              // 24: rect.left
    int initialY() override;              // 25: rect.top
    int initialWidth() override;          // 26
    int initialHeight() override;         // 27
    int showCommand() override;           // 31: SW_HIDE

    // --- Slot of its own -------------------------------------------------------
    // Adds styleBits to controlStyle and makes the control; 0 when it exists already.
    virtual int createControl(DWORD styleBits);   // 85

    static constexpr const char* controlClass = "SysAnimate32";

    KtRect rect;           // position and size in the parent's client area
    DWORD controlStyle;    // starts as WS_CHILD
    DWORD controlFlagA;    // for the scenario module; starts 0
    DWORD controlFlagB;    // for the scenario module; starts 1

private:
    static void makeClassAvailable();
};
