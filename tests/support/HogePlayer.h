// HogePlayer: plays the sample game from outside its process, as a player would, and reads what it shows.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

// The game tells its scene and what it waits for in a property of its
// pictures' window; the player finds its windows by
// class, sends it keys, clicks and characters by posted messages, and reads
// pixels back from the screen (exact on a depth-24 display). Waits poll
// with a pause and end at their time limit.
class HogePlayer {
public:
    struct Status {
        int scene = -1;
        std::string waitingFor;   // input, name, choice, movie, busy
    };
    // Client coordinates of the scene swatch every picture carries.
    static constexpr int swatchX = 600;
    static constexpr int swatchY = 30;

    HWND topLevel() const;
    HWND pictures() const;
    HWND host() const;            // the pictures' parent, the scenario host window
    Status status() const;
    bool waitFor(int scene, const char* waitingFor, DWORD limitMs) const;
    // Waits for a window of the class; parent null means a top-level one.
    HWND waitWindow(const char* className, HWND parent, DWORD limitMs) const;

    // Repeats the action, a second apart, until the scene or what it waits
    // for changes; false at the time limit.
    bool until(const std::function<void()>& act, DWORD limitMs) const;
    void key(WPARAM virtualKey) const;   // to the top-level window
    void click() const;                  // a left press on the top-level window
    // Types into the name field: single bytes as WM_CHAR, Shift-JIS pairs as WM_IME_CHAR.
    bool typeName(const char* shiftJis, DWORD limitMs) const;
    // Opens the game menu with Escape and takes its item (0 is the first,
    // separators do not count); true once the menu has closed again.
    bool menuCommand(int item, DWORD limitMs) const;
    // Moves the mouse to a client point of the choice map.
    bool moveOnMap(int x, int y) const;
    // Presses choice 1 or 2 on the map until the scene moves on.
    bool choose(int choice, DWORD limitMs) const;

    COLORREF pixel(int x, int y) const;   // host client coordinates
    bool waitPixel(int x, int y, COLORREF colour, DWORD limitMs) const;
    // Counts pixels of the colour in a client rectangle of the window.
    int countColour(HWND window, const RECT& area, COLORREF colour) const;
    // The top-level window as it is on the screen, as a 24-bit BMP file.
    bool saveShot(const std::string& path) const;

    // Plays from the title to the end: the name typed, the choice taken.
    // visit runs at each main scene (title, name, choice, journey, movie,
    // ending) once it waits for the player; a non-empty return is a
    // failure, which stops the play. Returns the failure, empty on success.
    using Visit = std::function<std::string(const char* scene)>;
    std::string playThrough(const char* name, int choice, const Visit& visit) const;
};
