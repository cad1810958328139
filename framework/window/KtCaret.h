// KtCaret: the system caret of one window, with the blink time restored when it goes.
#pragma once
#include "KtPoint.h"
#include <windows.h>

// The system has one caret per thread's message queue, so this object must be
// used on the thread that owns its window. Making the caret remembers the
// blink time of that moment; destroying the caret puts it back, so whatever
// a text input changed in between does not outlive the caret. Viewports read
// the fields by position.
class KtCaret {
public:
    KtCaret();
    KtCaret(const KtCaret&) = delete;            // two owners would destroy one caret twice
    KtCaret& operator=(const KtCaret&) = delete;
    virtual ~KtCaret();

    // Replaces any caret of this object; bitmap null gives a solid caret.
    // 1 on success, 0 when the old caret could not be destroyed or the new
    // one not made.
    int create(HWND owner, int caretWidth, int caretHeight, HBITMAP bitmap);
    // Restores the saved blink time only when the caret really went.
    void destroy();
    void setPos(int x, int y);
    // (-1, -1) while there is no caret.
    KtPoint getPos();

    bool exists() const { return window != nullptr; }

    HWND window;              // null when there is no caret
    int width;
    int height;
    UINT savedBlinkTime;      // GetCaretBlinkTime when the caret was made
    KtPoint position;         // last position read back
};
