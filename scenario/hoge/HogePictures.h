// HogePictures: the sample game's picture window, where pictures change through every kind of transition.
#pragma once
#include "KtWindowDescription.h"
#include <windows.h>

class KtLayerViewport;
class KtVelka;

// A layer viewport over the game's window, asked of the host through
// winCreate (kind 14), so the host's window thread owns and paints it. The
// scenario thread draws pictures into the viewport's layers and shows them
// with transitions.
class HogePictures {
public:
    static constexpr const char* windowName = "pictures";

    HogePictures() = default;
    HogePictures(const HogePictures&) = delete;
    HogePictures& operator=(const HogePictures&) = delete;

    // Asks for the viewport over the scenario host window, filled black,
    // and shows the first picture. False when no window came (or on quit).
    bool start(KtVelka* velka);
    // Forgets the viewport; the host destroys its windows at the end.
    void stop();

    // Shows a new picture through the next transition of the cycle, which
    // goes through every kind; returns the code it used.
    int showNext();
    // One of each kind of transition, one after the other, with `pauseMs`
    // between them; stops early (false) when quit is signalled.
    bool showEveryKind(HANDLE quit, DWORD pauseMs);

private:
    void show(int code);

    KtWindowDescription record_;   // read by the window thread, see HogeWindows
    KtLayerViewport* view_ = nullptr;
    int shownLayer_ = 0;
    int priority_ = 0;
    int nextStyle_ = 0;
    int nextCode_ = 0;
};
