// KtMenu: loading, building and tracking a menu from the program's resources.
#include "KtMenu.h"
#include "KtLayoutCheck.h"
#include <cstddef>

namespace {
// Menu resources are looked up in the program's own module, never in a DLL
// that happens to call us.
HINSTANCE programModule()
{
    return GetModuleHandleA(nullptr);
}

const char* resourceNumber(int id)
{
    return MAKEINTRESOURCEA(static_cast<WORD>(id));
}
}  // namespace

KtMenu::KtMenu() : handle(nullptr), ownerWindow(nullptr)
{
}

KtMenu::~KtMenu()
{
    destroy();
}

void KtMenu::destroy()
{
    if (handle)
        DestroyMenu(handle);
    handle = nullptr;
}

HMENU KtMenu::create()
{
    destroy();
    handle = CreateMenu();
    return handle;
}

HMENU KtMenu::loadOwnedById(HWND owner, int id)
{
    return loadOwned(owner, resourceNumber(id));
}

HMENU KtMenu::loadById(int id)
{
    return load(resourceNumber(id));
}

HMENU KtMenu::loadOwned(HWND owner, const char* name)
{
    destroy();
    ownerWindow = owner;
    handle = LoadMenuA(programModule(), name);
    return handle;
}

HMENU KtMenu::load(const char* name)
{
    destroy();
    handle = LoadMenuA(programModule(), name);
    return handle;
}

HWND KtMenu::setOwner(HWND owner)
{
    ownerWindow = owner;
    return ownerWindow;
}

BOOL KtMenu::appendPopup(HMENU submenu, const char* text)
{
    return append(MF_POPUP, static_cast<UINT>(reinterpret_cast<UINT_PTR>(submenu)), text);
}

BOOL KtMenu::appendItem(UINT id, const char* text, UINT flags)
{
    return append(flags, id, text);
}

BOOL KtMenu::appendBitmap(UINT id, HBITMAP bitmap, UINT flags)
{
    return append(flags | MF_BITMAP, id, reinterpret_cast<const char*>(bitmap));
}

BOOL KtMenu::append(UINT flags, UINT id, const char* item)
{
    if (!handle)
        return FALSE;
    return AppendMenuA(handle, flags, id, item);
}

BOOL KtMenu::remove(UINT item, UINT flags)
{
    if (!handle)
        return FALSE;
    return DeleteMenu(handle, item, flags);
}

int KtMenu::track(int x, int y, UINT flags, const RECT* exclude)
{
    if (!handle || !ownerWindow)
        return 0;
    return TrackPopupMenu(GetSubMenu(handle, 0), flags, x, y, 0, ownerWindow, exclude);
}

// Scenario modules read the handle and the owner by position.
#ifndef _WIN64
static_assert(offsetof(KtMenu, handle) == 4, "handle follows the vtable");
static_assert(offsetof(KtMenu, ownerWindow) == 8, "ownerWindow");
static_assert(sizeof(KtMenu) == 12, "vtable and two handles");
#else
static_assert(ktFieldsInOrder({offsetof(KtMenu, handle), offsetof(KtMenu, ownerWindow)}),
              "vtable and two handles");
#endif
