// GameInput: keys, mouse and text given to the game from outside, as posted window messages.
#pragma once
#include "GameProcess.h"
#include <string>

// Keys go to the application window, whose hook passes them to the
// scenario while it waits for input. A mouse position is in the client
// area of the application window; the message goes to the window under
// that point, in its own client coordinates, or to the application window
// when that window belongs to the application window's thread (the host's
// own windows, which pass input on through the same hook).
class GameInput {
public:
    explicit GameInput(const GameProcess& game) : game_(game) {}

    bool key(unsigned virtualKey) const;
    bool click(int x, int y) const;
    bool move(int x, int y) const;
    // Shift-JIS text to the focus window: single bytes as WM_CHAR, double-
    // byte characters as WM_IME_CHAR, as an input method delivers them.
    bool type(const std::string& shiftJis) const;

    // UTF-8 to Shift-JIS; text that is not UTF-8 is taken as Shift-JIS.
    static std::string shiftJis(const std::string& text);

private:
    // The window that takes the mouse at the client point and the point in
    // its client coordinates; null when the game has no window.
    HWND target(int x, int y, POINT* local) const;

    const GameProcess& game_;
};
