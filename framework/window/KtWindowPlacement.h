// KtWindowPlacement: moving a window, optionally kept on screen and clear of the taskbar.
#pragma once
#include <windows.h>

class KtWindowPlacement {
public:
    // What the shell says of the taskbar: whether it hides itself, and where
    // it stands. Replaceable, because a test cannot move the real taskbar.
    using TaskbarQuery = void (*)(bool& autoHides, RECT& bar);

    // Moves the window; a width or height of 0 keeps the current one. With
    // keepOnScreen the window is moved inside the screen, clear of the
    // taskbar; the result is then 0 when it is larger than that area.
    // Nothing happens (result 1) when the window does not exist.
    static BOOL place(HWND window, int x, int y, int width, int height, BOOL repaint,
                      BOOL keepOnScreen);

    static TaskbarQuery setTaskbarQuery(TaskbarQuery query);

private:
    static void askShell(bool& autoHides, RECT& bar);
};
