// HogePictures: the sample game's picture window, where pictures change through every kind of transition.
#pragma once
#include <windows.h>

class KtLayerViewport;

// Owns a thread with a message loop that owns a layer viewport over the
// game's window, as the host's window thread owns the windows it makes. The
// scenario thread draws pictures into the viewport's layers and shows them
// with transitions. stop() must run before the module is unloaded.
class HogePictures {
public:
    HogePictures() = default;
    HogePictures(const HogePictures&) = delete;
    HogePictures& operator=(const HogePictures&) = delete;

    // Makes the viewport as a child of parent, covering its client area, and
    // shows the first picture. False when the window could not be made.
    bool start(HWND parent);
    // Destroys the viewport on its thread and ends the thread.
    void stop();

    // Shows a new picture through the next transition of the cycle, which
    // goes through every kind; returns the code it used.
    int showNext();
    // One of each kind of transition, one after the other, with `pauseMs`
    // between them; stops early (false) when quit is signalled.
    bool showEveryKind(HANDLE quit, DWORD pauseMs);

private:
    static unsigned __stdcall loop(void* self);
    bool onThread(void (*work)(HogePictures&));
    void show(int code);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    HWND parent_ = nullptr;
    KtLayerViewport* view_ = nullptr;
    int shownLayer_ = 0;
    int priority_ = 0;
    int nextStyle_ = 0;
    int nextCode_ = 0;
};
