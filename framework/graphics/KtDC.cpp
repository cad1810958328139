// KtDC: obtaining, selecting into, restoring and releasing a device context.
#include "KtDC.h"
#include "KtLayoutCheck.h"
#include <cstddef>

// Scenario modules and surfaces embed the holder and read its fields.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct KtDCLayout {
#ifndef _WIN64
    static_assert(sizeof(KtDC) == 40, "KtDC is ten 32-bit fields");
    static_assert(offsetof(KtDC, kind_) == 0);
    static_assert(offsetof(KtDC, window_) == 4);
    static_assert(offsetof(KtDC, handle_) == 8);
    static_assert(offsetof(KtDC, oldBitmap_) == 12);
    static_assert(offsetof(KtDC, oldPalette_) == 16);
    static_assert(offsetof(KtDC, oldObject768_) == 20);
    static_assert(offsetof(KtDC, oldObject1024_) == 24);
    static_assert(offsetof(KtDC, oldFont_) == 28);
    static_assert(offsetof(KtDC, oldBkMode_) == 32);
    static_assert(offsetof(KtDC, oldTextColor_) == 36);
#else
    static_assert(ktFieldsInOrder({offsetof(KtDC, kind_), offsetof(KtDC, window_), offsetof(KtDC, handle_),
                                   offsetof(KtDC, oldBitmap_), offsetof(KtDC, oldPalette_),
                                   offsetof(KtDC, oldObject768_), offsetof(KtDC, oldObject1024_),
                                   offsetof(KtDC, oldFont_), offsetof(KtDC, oldBkMode_),
                                   offsetof(KtDC, oldTextColor_)}));
#endif
};
#pragma GCC diagnostic pop

KtDC::KtDC()
    : kind_(emptyKind), window_(nullptr), handle_(nullptr), oldBitmap_(nullptr),
      oldPalette_(nullptr), oldObject768_(nullptr), oldObject1024_(nullptr),
      oldFont_(nullptr), oldBkMode_(0), oldTextColor_(0)
{
}

KtDC::~KtDC()
{
    release();
}

void KtDC::attach(void* value, int kind)
{
    release();
    kind_ = kind;
    switch (kind) {
    case windowKind:
        window_ = static_cast<HWND>(value);
        handle_ = GetDC(window_);
        break;
    case memoryKind:
        handle_ = CreateCompatibleDC(static_cast<HDC>(value));
        break;
    case borrowedKind:
        handle_ = static_cast<HDC>(value);
        break;
    default:
        break;
    }
}

void KtDC::release()
{
    if (handle_) {
        // Pixel routines write DIB memory directly; pending GDI drawing must
        // land before the context goes.
        GdiFlush();
        if (kind_ == windowKind)
            ReleaseDC(window_, handle_);
        else if (kind_ == memoryKind)
            DeleteDC(handle_);
    }
    // The saved selections stay: a holder may be re-attached and restored.
    kind_ = emptyKind;
    window_ = nullptr;
    handle_ = nullptr;
}

void KtDC::select(DWORD_PTR value, int code, BOOL flag)
{
    if (!handle_)
        return;
    HGDIOBJ object = reinterpret_cast<HGDIOBJ>(value);
    switch (code) {
    case bitmapCode:
        oldBitmap_ = SelectObject(handle_, object);
        break;
    case paletteCode:
        oldPalette_ = SelectPalette(handle_, reinterpret_cast<HPALETTE>(value), flag);
        break;
    case object768Code:
        oldObject768_ = SelectObject(handle_, object);
        break;
    case object1024Code:
        oldObject1024_ = SelectObject(handle_, object);
        break;
    case fontCode:
        oldFont_ = static_cast<HFONT>(SelectObject(handle_, object));
        break;
    case unsavedCode:
        SelectObject(handle_, object);
        break;
    case bkModeCode:
        oldBkMode_ = SetBkMode(handle_, static_cast<int>(value));
        break;
    case textColorCode:
        oldTextColor_ = SetTextColor(handle_, static_cast<COLORREF>(value));
        break;
    default:
        break;
    }
}

void KtDC::restore(int code)
{
    if (!handle_)
        return;
    switch (code) {
    case bitmapCode:
        SelectObject(handle_, oldBitmap_);
        break;
    case paletteCode:
        SelectPalette(handle_, oldPalette_, FALSE);
        break;
    case object768Code:
        SelectObject(handle_, oldObject768_);
        break;
    case object1024Code:
        SelectObject(handle_, oldObject1024_);
        break;
    case fontCode:
        SelectObject(handle_, oldFont_);
        break;
    case bkModeCode:
        SetBkMode(handle_, oldBkMode_);
        break;
    case textColorCode:
        SetTextColor(handle_, oldTextColor_);
        break;
    default:
        break;
    }
}
