// KtAnimatedControl: creation parameters of the animation control and the control's class.
#include "KtAnimatedControl.h"
#include <commctrl.h>
#include <cstddef>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#ifndef _WIN64
// Scenario modules read these fields by position.
static_assert(offsetof(KtAnimatedControl, rect) == 56, "rect follows the window fields");
static_assert(offsetof(KtAnimatedControl, controlStyle) == 76, "controlStyle");
static_assert(offsetof(KtAnimatedControl, controlFlagA) == 80, "controlFlagA");
static_assert(offsetof(KtAnimatedControl, controlFlagB) == 84, "controlFlagB");
static_assert(sizeof(KtAnimatedControl) == 88, "no field after controlFlagB");
#else
static_assert(offsetof(KtAnimatedControl, runtimeFlag) < offsetof(KtAnimatedControl, rect), "rect");
static_assert(offsetof(KtAnimatedControl, rect) < offsetof(KtAnimatedControl, controlStyle), "style");
static_assert(offsetof(KtAnimatedControl, controlStyle) < offsetof(KtAnimatedControl, controlFlagA), "A");
static_assert(offsetof(KtAnimatedControl, controlFlagA) < offsetof(KtAnimatedControl, controlFlagB), "B");
#endif
#pragma GCC diagnostic pop

KtAnimatedControl::KtAnimatedControl(HWND parentWindow, const KtString& name, const KtRect& area)
    : KtWindow(parentWindow, name), rect(area), controlStyle(WS_CHILD), controlFlagA(0), controlFlagB(1)
{
}

// The control takes WM_CLOSE as closing its clip, not its window (so does
// the platform's control here), so the window the base class would leave
// standing is destroyed here.
KtAnimatedControl::~KtAnimatedControl()
{
    if (!alive())
        return;
    HWND window = handle;
    SendMessageA(window, WM_CLOSE, 0, 0);
    if (IsWindow(window))
        DestroyWindow(window);
    handle = nullptr;
}

int KtAnimatedControl::windowType() { return 7; }
HBRUSH KtAnimatedControl::classBackground() { return nullptr; }
const char* KtAnimatedControl::windowName() { return "KtAnimatedControl"; }
DWORD KtAnimatedControl::style() { return controlStyle; }
int KtAnimatedControl::initialX() { return rect.left; }
int KtAnimatedControl::initialY() { return rect.top; }
int KtAnimatedControl::initialWidth() { return rect.right - rect.left; }
int KtAnimatedControl::initialHeight() { return rect.bottom - rect.top; }
int KtAnimatedControl::showCommand() { return SW_HIDE; }

int KtAnimatedControl::createControl(DWORD styleBits)
{
    controlStyle |= styleBits;
    makeClassAvailable();
    return createWithClass(controlClass);
}

// The common-control library registers its classes in the process that
// asks; repeating the request is harmless.
void KtAnimatedControl::makeClassAvailable()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&controls);
}
