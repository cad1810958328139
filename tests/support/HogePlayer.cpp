// HogePlayer: plays the sample game from outside its process, as a player would, and reads what it shows.
#include "HogePlayer.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const DWORD pollMs = 50;

void pause()
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);
}

// The game keeps 1 + scene * 16 + what it waits for in this property of
// its pictures' window.
const char* const statusProperty = "HogeStatus";
const char* const waitNames[] = {"busy", "input", "name", "choice", "movie"};

BOOL CALLBACK findPictures(HWND window, LPARAM found)
{
    if (!GetPropA(window, statusProperty))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The choice map and the movie stage: 8-bit viewports on the host window.
HWND childOfClass(HWND parent, const char* className)
{
    return parent ? FindWindowExA(parent, nullptr, className, nullptr) : nullptr;
}

}  // namespace

HWND HogePlayer::topLevel() const
{
    return FindWindowA("desert_Pomelo", nullptr);
}

HWND HogePlayer::pictures() const
{
    HWND found = nullptr;
    HWND top = topLevel();
    if (top)
        EnumChildWindows(top, &findPictures, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND HogePlayer::host() const
{
    HWND view = pictures();
    return view ? GetParent(view) : nullptr;
}

HogePlayer::Status HogePlayer::status() const
{
    Status status;
    HWND view = pictures();
    const INT_PTR value = view ? reinterpret_cast<INT_PTR>(GetPropA(view, statusProperty)) - 1 : -1;
    if (value < 0 || value % 16 > 4)
        return status;
    status.scene = static_cast<int>(value / 16);
    status.waitingFor = waitNames[value % 16];
    return status;
}

bool HogePlayer::waitFor(int scene, const char* waitingFor, DWORD limitMs) const
{
    const DWORD start = GetTickCount();
    do {
        Status now = status();
        if (now.scene == scene && now.waitingFor == waitingFor)
            return true;
        pause();
    } while (GetTickCount() - start < limitMs);
    return false;
}

HWND HogePlayer::waitWindow(const char* className, HWND parent, DWORD limitMs) const
{
    const DWORD start = GetTickCount();
    do {
        HWND found = parent ? childOfClass(parent, className) : FindWindowA(className, nullptr);
        if (found && IsWindowVisible(found))
            return found;
        pause();
    } while (GetTickCount() - start < limitMs);
    return nullptr;
}

bool HogePlayer::until(const std::function<void()>& act, DWORD limitMs) const
{
    // The game may ask for input a moment after it says it waits: an input
    // that came first is lost, and is given again while nothing moved.
    const Status before = status();
    const DWORD start = GetTickCount();
    do {
        act();
        for (int i = 0; i < 20; ++i) {
            Status now = status();
            if (now.scene != before.scene || now.waitingFor != before.waitingFor)
                return true;
            pause();
        }
    } while (GetTickCount() - start < limitMs);
    return false;
}

void HogePlayer::key(WPARAM virtualKey) const
{
    PostMessageA(topLevel(), WM_KEYDOWN, virtualKey, 1);
    PostMessageA(topLevel(), WM_KEYUP, virtualKey, 0xC0000001);
}

void HogePlayer::click() const
{
    PostMessageA(topLevel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(320, 200));
    PostMessageA(topLevel(), WM_LBUTTONUP, 0, MAKELPARAM(320, 200));
}

bool HogePlayer::menuCommand(int item, DWORD limitMs) const
{
    // Escape counts only while the game waits for the player: it is pressed
    // again until the menu shows.
    HWND menu = nullptr;
    for (DWORD start = GetTickCount(); !menu && GetTickCount() - start < limitMs;) {
        key(VK_ESCAPE);
        for (int i = 0; i < 20 && !menu; ++i) {
            HWND found = FindWindowA("#32768", nullptr);
            if (found && IsWindowVisible(found))
                menu = found;
            else
                pause();
        }
    }
    if (!menu)
        return false;
    // The first press selects the first item.
    for (int i = 0; i <= item; ++i)
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    for (DWORD start = GetTickCount(); IsWindowVisible(menu) && GetTickCount() - start < limitMs;)
        pause();
    return !IsWindowVisible(menu);
}

bool HogePlayer::typeName(const char* shiftJis, DWORD limitMs) const
{
    HWND popup = waitWindow("KtPopupViewport", nullptr, limitMs);
    HWND field = popup ? waitWindow("KtViewport", popup, limitMs) : nullptr;
    if (!field)
        return false;
    for (const BYTE* p = reinterpret_cast<const BYTE*>(shiftJis); *p; ++p) {
        if (IsDBCSLeadByteEx(932, *p) && p[1]) {
            PostMessageA(field, WM_IME_CHAR, (WPARAM(p[0]) << 8) | p[1], 1);
            ++p;
        } else {
            PostMessageA(field, WM_CHAR, *p, 1);
        }
    }
    return true;
}

bool HogePlayer::choose(int choice, DWORD limitMs) const
{
    HWND map = waitWindow("KtViewport", host(), limitMs);
    if (!map)
        return false;
    // Inside box 1 or 2 of the map (140 wide, 20 apart, 80 high, 20 from its edges).
    const LPARAM at = MAKELPARAM(20 + 70 + (choice - 1) * 160, 20 + 40);
    const DWORD start = GetTickCount();
    do {
        PostMessageA(map, WM_MOUSEMOVE, 0, at);
        PostMessageA(map, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(map, WM_LBUTTONUP, 0, at);
        for (int i = 0; i < 10; ++i) {
            if (status().scene != 2)
                return true;
            pause();
        }
    } while (GetTickCount() - start < limitMs);
    return false;
}

bool HogePlayer::moveOnMap(int x, int y) const
{
    HWND map = waitWindow("KtViewport", host(), 5000);
    return map && PostMessageA(map, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

COLORREF HogePlayer::pixel(int x, int y) const
{
    POINT at{x, y};
    ClientToScreen(host(), &at);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool HogePlayer::waitPixel(int x, int y, COLORREF colour, DWORD limitMs) const
{
    const DWORD start = GetTickCount();
    do {
        if (pixel(x, y) == colour)
            return true;
        pause();
    } while (GetTickCount() - start < limitMs);
    return false;
}

int HogePlayer::countColour(HWND window, const RECT& area, COLORREF colour) const
{
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            POINT at{x, y};
            ClientToScreen(window, &at);
            if (GetPixel(screen, at.x, at.y) == colour)
                ++count;
        }
    }
    ReleaseDC(nullptr, screen);
    return count;
}

bool HogePlayer::saveShot(const std::string& path) const
{
    RECT r;
    if (!GetWindowRect(topLevel(), &r))
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFOHEADER header{sizeof header, w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (DWORD(w) * 3 + 3) & ~3u, size = stride * DWORD(h);
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof header + size), 0, 0,
                          DWORD(sizeof(BITMAPFILEHEADER) + sizeof header)};
    bool written = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(bits, size, 1, out) == 1;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return written;
}

std::string HogePlayer::playThrough(const char* name, int choice, const Visit& visit) const
{
    const DWORD limit = 20000;
    struct Step {
        int scene;
        const char* waitingFor;
        const char* label;
    };
    auto reach = [&](const Step& step) -> std::string {
        if (!waitFor(step.scene, step.waitingFor, limit))
            return std::string("the game did not reach ") + step.label;
        return visit(step.label);
    };
    std::string failure;
    if (!(failure = reach({0, "input", "title"})).empty())
        return failure;
    until([this] { click(); }, limit);
    if (!waitFor(1, "name", limit) || !typeName(name, limit))
        return "no name field";
    if (!(failure = visit("name")).empty())
        return failure;
    until([this] { key(VK_RETURN); }, limit);
    if (!(failure = reach({1, "input", "forest"})).empty())
        return failure;
    until([this] { key(VK_RETURN); }, limit);
    if (!(failure = reach({2, "choice", "choice"})).empty())
        return failure;
    if (!choose(choice, limit))
        return "the choice map took no press";
    if (!(failure = reach({3, "input", "journey"})).empty())
        return failure;
    until([this] { key(VK_SPACE); }, limit);
    if (!waitFor(4, "movie", limit))
        return "the game did not reach the movie";
    HWND stage = waitWindow("KtViewport", host(), limit);
    for (DWORD start = GetTickCount(); stage && !GetWindow(stage, GW_CHILD) && GetTickCount() - start < limit;)
        pause();
    if (!(failure = visit("movie")).empty())
        return failure;
    // The movie may end by itself (the view presses space); a player who
    // does not wait for it confirms.
    if (!waitFor(5, "input", 6000))
        until([this] { key(VK_RETURN); }, limit);
    if (!(failure = reach({5, "input", "ending"})).empty())
        return failure;
    until([this] { key(VK_RETURN); }, limit);
    return std::string();
}
