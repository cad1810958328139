// KtPopupMenuRequest: the module's request for a popup menu, and how the window thread serves it.
#pragma once
#include <cstdint>
#include <windows.h>

class KtVelka;

// The module fills this record, resets menuDone and posts 0x46B with its
// address; it reads the choice through result once menuDone is set. The
// layout is shared with scenario modules.
struct KtPopupMenuRequest {
    int32_t unused;     // never read
    int* result;        // receives the chosen command, 0 for none
    int32_t menuId;     // menu resource of the program; low 16 bits used
    HWND owner;         // the window the menu belongs to
    int32_t x;          // screen position; both -1: at the mouse cursor
    int32_t y;

    static constexpr int32_t atCursor = -1;

    // Shows the first submenu of the menu resource and blocks until the
    // player chooses or dismisses it; then stores the command and sets
    // menuDone. A menu that cannot be loaded gives 0.
    static void serve(KtVelka& velka, const KtPopupMenuRequest* request);
    // The menu on its own: the chosen command, 0 for none.
    int track() const;

    // The position the menu opens at: the cursor only when both are -1.
    POINT position() const;
};
