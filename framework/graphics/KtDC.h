// KtDC: holder of one device context with save-and-restore selections.
#pragma once
#include <windows.h>

// Every device context of the framework is obtained, given objects, fonts and
// text settings, and released through a KtDC. What was replaced by a select is
// kept per selection code so restore can put it back. The field order is read
// by scenario modules, so the holder has no virtual table.
class KtDC {
public:
    // How the device context was obtained, and so how it is given back.
    enum Kind : int {
        emptyKind = 0,
        windowKind = 1,     // GetDC, given back with ReleaseDC
        memoryKind = 2,     // CreateCompatibleDC, freed with DeleteDC
        borrowedKind = 4,   // given by the caller, never freed here
    };

    // Selection codes of select and restore.
    enum Code : int {
        bitmapCode = 256,     // SelectObject of a bitmap, saved
        paletteCode = 512,    // SelectPalette, saved
        object768Code = 768,  // SelectObject, saved
        object1024Code = 1024,// SelectObject, saved
        fontCode = 1280,      // SelectObject of a font, saved
        unsavedCode = 1536,   // SelectObject, nothing saved
        bkModeCode = 1792,    // SetBkMode, saved
        textColorCode = 2048, // SetTextColor, saved
    };

    KtDC();
    ~KtDC();
    KtDC(const KtDC&) = delete;             // a copy would free the context twice
    KtDC& operator=(const KtDC&) = delete;

    // Gives back what is held, then obtains a context of the given kind from
    // value: a window (null: the screen) for kind 1, a device context to be
    // compatible with (null: the screen) for kind 2, the context itself for 4.
    void attach(void* value, int kind);
    void release();

    // Selects a value by code; does nothing while no context is held.
    // flag is the force-background argument of SelectPalette.
    void select(DWORD_PTR value, int code, BOOL flag = FALSE);
    template <class H>
    void select(H* handle, int code, BOOL flag = FALSE)
    {
        select(reinterpret_cast<DWORD_PTR>(handle), code, flag);
    }
    void restore(int code);

    int kind() const { return kind_; }
    HWND window() const { return window_; }
    HDC handle() const { return handle_; }

private:
    int kind_;
    HWND window_;
    HDC handle_;
    HGDIOBJ oldBitmap_;
    HPALETTE oldPalette_;
    HGDIOBJ oldObject768_;
    HGDIOBJ oldObject1024_;
    HFONT oldFont_;
    int oldBkMode_;
    COLORREF oldTextColor_;

    friend struct KtDCLayout;
};
