// KtPopupMenuRequest: the popup menu shown for the module with a hidden owner window.
#include "KtPopupMenuRequest.h"
#include "KtDummyWindow.h"
#include "KtMenu.h"
#include "KtVelka.h"
#include "KtLayoutCheck.h"
#include <cstddef>

POINT KtPopupMenuRequest::position() const
{
    POINT point{x, y};
    if (x == atCursor && y == atCursor)
        GetCursorPos(&point);
    return point;
}

// TrackPopupMenu needs an owner window on this thread; a hidden window made
// with the module's window as parent serves, and with TPM_RETURNCMD no
// command message reaches any window.
void KtPopupMenuRequest::serve(KtVelka& velka, KtPopupMenuRequest* request)
{
    if (!request) {
        velka.menuDone.signal();
        return;
    }
    KtDummyWindow owner(request->owner);
    owner.create();
    KtMenu menu;
    menu.loadOwnedById(owner.handle, request->menuId);
    POINT at = request->position();
    int chosen = menu.track(at.x, at.y, TPM_RETURNCMD, nullptr);
    // Once the player has asked to quit, the module may have stopped waiting
    // and even been unloaded: its result slot is then no longer written.
    bool quitting = velka.quitRequest.wait(0) == WAIT_OBJECT_0;
    if (request->result && !quitting)
        *request->result = chosen;
    velka.menuDone.signal();
}

// Scenario modules fill the record by position.
#ifndef _WIN64
static_assert(offsetof(KtPopupMenuRequest, result) == 4, "result");
static_assert(offsetof(KtPopupMenuRequest, menuId) == 8, "menuId");
static_assert(offsetof(KtPopupMenuRequest, owner) == 12, "owner");
static_assert(offsetof(KtPopupMenuRequest, x) == 16, "x");
static_assert(offsetof(KtPopupMenuRequest, y) == 20, "y");
static_assert(sizeof(KtPopupMenuRequest) == 24, "six words");
#else
static_assert(ktFieldsInOrder({offsetof(KtPopupMenuRequest, result), offsetof(KtPopupMenuRequest, menuId),
                               offsetof(KtPopupMenuRequest, owner), offsetof(KtPopupMenuRequest, x),
                               offsetof(KtPopupMenuRequest, y)}),
              "result, menuId, owner, x, y");
#endif
