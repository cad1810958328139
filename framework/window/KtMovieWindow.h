// KtMovieWindow: the MCI window that plays one movie file inside a parent window.
#pragma once
#include <windows.h>

// A plain three-word structure without virtual functions: the movie view
// embeds it and scenario modules read it by position. Every operation does
// nothing (and answers 0) while no MCI window is open. The MCI calls run on
// the thread that owns the parent window.
struct KtMovieWindow {
    HWND window;          // the MCI window; null when none is open
    HWND parent;          // owns the MCI window and receives its notifications
    HINSTANCE instance;   // instance the MCI window is created with

    void setOwner(HWND parentWindow, HINSTANCE moduleInstance);
    // Closes any open MCI window, then opens fileName in a new one at (x, y)
    // of the parent's client area. 1 on success; 0 when the file cannot be
    // played, and then no window is left open. The MCI window shows no error
    // box of its own: it would stop the parent's thread until answered.
    int open(const char* fileName, int x, int y);
    // 0 when no window is open.
    UINT deviceId() const;
    // Plays from the current position to the end; the end is notified to
    // parent. 1 when the device took the play, 0 when no notification will come.
    int play();
    // True while the device plays.
    bool playing() const;
    // Stops and returns once the device has stopped.
    void stop();
    // Stops, closes the device and destroys the MCI window. Safe to repeat.
    void close();

    // Frames, as the MCI window counts them; 0 when no window is open.
    LONG position() const;
    LONG end() const;
};
