// KtMessageBox: the one door through which every message box of the system passes.
#pragma once
#include <windows.h>

// All boxes go through KtMessageBox::show, so that a test can see their exact
// text, caption, owner and style and choose the answer without a real box.
class KtMessageBox {
public:
    using Handler = int (*)(HWND owner, const char* text, const char* caption, UINT style);

    // Notices: OK, task-modal, brought to the foreground.
    static constexpr UINT notice = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;          // 0x12000
    // OK and Cancel with Cancel as the default button.
    static constexpr UINT okCancel = MB_OKCANCEL | MB_DEFBUTTON2 | MB_TASKMODAL | MB_SETFOREGROUND; // 0x12101
    static constexpr UINT yesNo = MB_YESNO | MB_TASKMODAL | MB_SETFOREGROUND;        // 0x12004

    static int show(HWND owner, const char* text, const char* caption, UINT style);

    // Replaces the function behind show for the whole process, scenario
    // modules included; returns the one it replaced.
    // Null restores the default, which calls MessageBoxA.
    static Handler setHandler(Handler handler);
    static Handler handler();

private:
    static int callMessageBoxA(HWND owner, const char* text, const char* caption, UINT style);
};
