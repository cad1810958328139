// KtPopupMenuRequest: the popup menu shown for the module with a hidden owner window.
#include "KtPopupMenuRequest.h"
#include "KtDummyWindow.h"
#include "KtMenu.h"
#include "KtModuleGuard.h"
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
//
// The record lives in the module, which may be freed while the menu is open
// (the player quits, the chain ends): it is copied first, and the answer is
// written only while the module is still there and nobody has asked to quit.
void KtPopupMenuRequest::serve(KtVelka& velka, const KtPopupMenuRequest* request)
{
    KtPopupMenuRequest copy{};
    {
        KtModuleGuard::Use use;
        if (!use || !request) {
            velka.menuDone.signal();
            return;
        }
        copy = *request;
    }
    int chosen = copy.track();
    {
        KtModuleGuard::Use use;
        bool quitting = velka.quitRequest.wait(0) == WAIT_OBJECT_0;
        if (use && !quitting && copy.result)
            *copy.result = chosen;
    }
    velka.menuDone.signal();
}

int KtPopupMenuRequest::track() const
{
    KtDummyWindow menuOwner(owner);
    menuOwner.create();
    KtMenu menu;
    menu.loadOwnedById(menuOwner.handle, menuId);
    POINT at = position();
    return menu.track(at.x, at.y, TPM_RETURNCMD, nullptr);
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
