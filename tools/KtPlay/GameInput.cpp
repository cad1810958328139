// GameInput: where each input goes and how text is split into characters.
#include "GameInput.h"

bool GameInput::key(unsigned virtualKey) const
{
    HWND window = game_.window();
    if (!window)
        return false;
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (LPARAM(scan) << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001 | (LPARAM(scan) << 16));
    return true;
}

namespace {

// The deepest visible, enabled child under the screen point, walking down
// from the window: a disabled window lets the mouse through to its parent.
HWND deepestChild(HWND window, POINT screen)
{
    for (;;) {
        POINT local = screen;
        ScreenToClient(window, &local);
        HWND child = ChildWindowFromPointEx(window, local, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (!child || child == window)
            return window;
        window = child;
    }
}

}  // namespace

HWND GameInput::target(int x, int y, POINT* local) const
{
    HWND application = game_.window();
    if (!application)
        return nullptr;
    POINT at{x, y};
    ClientToScreen(application, &at);
    // A popup of the game over the point takes it; else a window inside
    // the application window.
    HWND under = WindowFromPoint(at);
    HWND root = under ? GetAncestor(under, GA_ROOT) : nullptr;
    DWORD owner = 0;
    if (root)
        GetWindowThreadProcessId(root, &owner);
    if (!root || root == application || owner != game_.id())
        under = deepestChild(application, at);
    if (GetWindowThreadProcessId(under, nullptr) == GetWindowThreadProcessId(application, nullptr))
        under = application;
    *local = at;
    ScreenToClient(under, local);
    return under;
}

bool GameInput::move(int x, int y) const
{
    POINT local;
    HWND window = target(x, y, &local);
    if (!window)
        return false;
    PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(local.x, local.y));
    return true;
}

bool GameInput::click(int x, int y) const
{
    POINT local;
    HWND window = target(x, y, &local);
    if (!window)
        return false;
    const LPARAM at = MAKELPARAM(local.x, local.y);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    return true;
}

bool GameInput::type(const std::string& text) const
{
    HWND field = game_.focus();
    if (!field)
        return false;
    for (const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str()); *p; ++p) {
        if (IsDBCSLeadByteEx(932, *p) && p[1]) {
            PostMessageA(field, WM_IME_CHAR, (WPARAM(p[0]) << 8) | p[1], 1);
            ++p;
        } else {
            PostMessageA(field, WM_CHAR, *p, 1);
        }
    }
    return true;
}

std::string GameInput::shiftJis(const std::string& text)
{
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), int(text.size()), nullptr, 0);
    if (wide <= 0)
        return text;
    std::wstring units(size_t(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), int(text.size()), &units[0], wide);
    const int bytes = WideCharToMultiByte(932, 0, units.c_str(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(932, 0, units.c_str(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}
