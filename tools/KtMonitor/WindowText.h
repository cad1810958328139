// WindowText: the whole text of a window or control, however long.
#pragma once
#include <windows.h>
#include <string>

class WindowText {
public:
    // The window's text; empty for a window without one or a dead window.
    static std::string read(HWND window);

    WindowText() = delete;
};
