// KtMenu: an owned menu handle with the window that receives its commands.
#pragma once
#include <windows.h>

// Menus come from the program's own resources or are built item by item.
// Scenario modules call the operations by slot and read the two fields by
// position, so neither order may change. Every load or create destroys the
// menu held before; the destructor destroys the last one.
class KtMenu {
public:
    KtMenu();
    KtMenu(const KtMenu&) = delete;              // two owners would destroy twice
    KtMenu& operator=(const KtMenu&) = delete;
    virtual ~KtMenu();                                                   // 0

    // --- Making and loading --------------------------------------------------
    // An empty menu bar; returns the new handle.
    virtual HMENU create();                                              // 1
    // The menu resource with the low 16 bits of id as its number.
    virtual HMENU loadOwnedById(HWND owner, int id);                     // 2
    virtual HMENU loadById(int id);                                      // 3
    virtual HMENU loadOwned(HWND owner, const char* name);               // 4
    virtual HMENU load(const char* name);                                // 5
    virtual HWND setOwner(HWND owner);                                   // 6

    // --- Items (all answer 0 while no menu is held) --------------------------
    virtual BOOL appendPopup(HMENU submenu, const char* text);           // 7
    virtual BOOL appendItem(UINT id, const char* text, UINT flags);      // 8
    virtual BOOL appendBitmap(UINT id, HBITMAP bitmap, UINT flags);      // 9
    // item is the text, the submenu or the bitmap, as flags say.
    virtual BOOL append(UINT flags, UINT id, const char* item);          // 10
    virtual BOOL remove(UINT item, UINT flags);                          // 11

    // --- Showing ---------------------------------------------------------------
    // Shows the first submenu at (x, y) on the screen. With TPM_RETURNCMD the
    // chosen command (0 for none) is the result. 0 without a menu or owner.
    virtual int track(int x, int y, UINT flags, const RECT* exclude);    // 12

    void destroy();

    HMENU handle;        // null when no menu is held
    HWND ownerWindow;    // needed for tracking; not owned
};
