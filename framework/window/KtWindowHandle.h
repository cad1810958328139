// KtWindowHandle: the root of the window family, a named, non-owning reference to a window.
#pragma once
#include "KtString.h"
#include <windows.h>

// Holds a window handle and a name; never destroys the window. Its eight
// virtual slots are the first eight of every window class, and scenario
// modules read handle and name directly, so neither order may change.
class KtWindowHandle {
public:
    KtWindowHandle();                              // empty name, growth 256
    explicit KtWindowHandle(const KtString& name);
    KtWindowHandle(const KtWindowHandle&) = delete;
    KtWindowHandle& operator=(const KtWindowHandle&) = delete;

    // --- Slots 0 to 7: plain operations on the window ---------------------
    virtual ~KtWindowHandle();                                          // 0
    virtual int windowType();                                           // 1
    // Keeps the window's position and gives it a new outer size.
    virtual BOOL resize(int width, int height, BOOL repaint);           // 2
    // Invalidates and repaints (x, y, width, height); negative sizes count
    // backwards from (x, y).
    virtual void redraw(int x, int y, int width, int height, BOOL erase); // 3
    virtual void redrawRect(const RECT* area, BOOL erase);              // 4
    virtual void update();                                              // 5
    virtual void invalidate(int x, int y, int width, int height, BOOL erase); // 6
    // Null invalidates the whole client area.
    virtual void invalidateRect(const RECT* area, BOOL erase);          // 7

    // True when handle names a window that still exists.
    bool alive() const { return handle && IsWindow(handle); }

    HWND handle;      // null until the window exists and again once it is destroyed
    KtString name;
};
