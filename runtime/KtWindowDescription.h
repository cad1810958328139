// KtWindowDescription: the record in which a scenario module describes a window it asks for.
#pragma once
#include "KtRect.h"
#include "KtString.h"
#include <cstdint>

// The module fills one and posts its address with 0x465 to the window
// thread; the host only reads it. Its layout is shared with modules.
struct KtWindowDescription {
    // Creation codes (kind). The window's type equals the code, except that
    // both popup codes give a popup viewport (type 6).
    enum Kind {
        viewport = 5,
        popupWithCaption = 6,
        animatedControl = 7,
        popupWithoutCaption = 8,
        screenWindow = 12,
        viewport24 = 13,
        layerViewport = 14,
        aviView = 37,
    };
    int32_t kind = 0;
    KtRect rect;           // in the parent's client coordinates; popup codes: PopupArea.h
    KtString parentName;   // empty: the scenario host window
    KtString name;         // also the registry key
    int32_t showCmd = 0;     // nonzero also asks for an immediate repaint
    KtString imageFile;    // first picture; empty: fill with fillColor (kind 37: the movie)
    uint8_t fillColor = 0;
    int32_t param1 = 0;      // kind 37: left of the movie
    int32_t param2 = 0;      // kinds 5, 6, 8, 13, 14: movable; kind 37: top of the movie
    KtString extra;        // not read by window creation
};
