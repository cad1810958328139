// SurfaceSection: the DIB section, its lock and GDI drawing that the 8-bit and 32-bit surfaces share.
#pragma once
#include "KtCriticalSection.h"
#include "KtDC.h"
#include "KtHeap.h"
#include "KtRect.h"
#include "KtWindow.h"
#include <windows.h>

// Both surfaces hold a DIB section (bitmap, info, bits) and a memory device
// context that exists only while locked (lockGuard, dc, lockCount) under the
// same names, but in different field orders that scenario modules rely on.
// So the shared logic works on any surface with those fields instead of
// living in a common base.
class SurfaceSection {
public:
    // Makes the section described by the header block at info when the size
    // is positive; a negative height would make a top-down section that the
    // row arithmetic does not expect, so no section is made and the pixel
    // routines draw nothing. bits is null when no section exists.
    static HBITMAP create(HDC screen, const void* info, BYTE*& bits);

    // BitBlts (sx, sy, w, h) of source cols × rows times side by side from
    // (x, y); 1 when every copy succeeded.
    static int blitPieces(KtDC& target, KtDC& source, int x, int y, int w, int h, int sx, int sy,
                          int cols, int rows);

    // Calls copy(x, y, w, h) for every whole or cut piece that repeats a
    // width × height picture over area from its top-left corner.
    template <class Copy>
    static void tile(int width, int height, const KtRect& area, Copy copy)
    {
        const int cols = area.width() / width, remW = area.width() % width;
        const int rows = area.height() / height, remH = area.height() % height;
        auto tileRow = [&](int top, int rowHeight) {
            for (int c = 0; c < cols; ++c)
                copy(area.left + c * width, top, width, rowHeight);
            if (remW > 0)
                copy(area.left + cols * width, top, remW, rowHeight);
        };
        for (int r = 0; r < rows; ++r)
            tileRow(area.top + r * height, height);
        if (remH > 0)
            tileRow(area.top + rows * height, remH);
    }

    // Unlocks as often as locked, then frees the section and its header block.
    template <class Surface>
    static void destroy(Surface& s)
    {
        while (s.lockCount > 0)
            s.unlock();
        if (s.bitmap)
            DeleteObject(s.bitmap);
        KtHeap::free(s.info, 0);
        s.bitmap = nullptr;
        s.info = nullptr;
        s.bits = nullptr;
    }

    // The first lock makes the memory context and selects the section into it.
    template <class Surface>
    static KtDC& lock(Surface& s)
    {
        KtCriticalSection::Hold hold(s.lockGuard);
        if (s.lockCount == 0) {
            s.dc.attach(nullptr, KtDC::memoryKind);
            s.dc.select(s.bitmap, KtDC::bitmapCode);
        }
        ++s.lockCount;
        return s.dc;
    }

    // The last unlock frees the memory context; an unlocked surface stays so.
    template <class Surface>
    static void unlock(Surface& s)
    {
        KtCriticalSection::Hold hold(s.lockGuard);
        if (s.lockCount <= 0)
            return;
        if (--s.lockCount == 0) {
            s.dc.restore(KtDC::bitmapCode);
            s.dc.release();
        }
    }

    template <class Surface, class Dest>
    static void stretchTo(Surface& s, Dest& dest, int x, int y, int w, int h)
    {
        KtDC& source = s.lock();
        KtDC& target = dest.lock();
        const int oldMode = SetStretchBltMode(target.handle(), COLORONCOLOR);
        StretchBlt(target.handle(), x, y, w, h, source.handle(), 0, 0, s.width(), s.height(),
                   SRCCOPY);
        SetStretchBltMode(target.handle(), oldMode);
        dest.unlock();
        s.unlock();
    }

    // Shows the surface through a context of the window; 0 without a window.
    template <class Surface>
    static int showInWindow(Surface& s, const KtWindow& window)
    {
        if (!window.handle || !IsWindow(window.handle))
            return 0;
        KtDC windowDc;
        windowDc.attach(window.handle, KtDC::windowKind);
        const int result = s.show(windowDc);
        windowDc.release();
        return result;
    }

    SurfaceSection() = delete;
};
