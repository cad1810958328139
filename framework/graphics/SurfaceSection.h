// SurfaceSection: the DIB section, its lock and GDI drawing that the 8-bit and 32-bit surfaces share.
#pragma once
#include "KtCriticalSection.h"
#include "KtDC.h"
#include "KtHeap.h"
#include "KtRect.h"
#include "KtWindow.h"
#include "SurfaceClip.h"
#include <windows.h>
#include <algorithm>

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
    // width × height picture over area from its top-left corner, leaving out
    // the pieces that lie wholly outside bounds (the destination), rows from
    // the top, each row from the left.
    template <class Copy>
    static void tile(int width, int height, const KtRect& area, const KtRect& bounds, Copy copy)
    {
        int x0 = 0, cols = 0, y0 = 0, rows = 0;
        if (!SurfaceClip::tileSpan(area.left, area.right, width, bounds.left, bounds.right, x0, cols)
            || !SurfaceClip::tileSpan(area.top, area.bottom, height, bounds.top, bounds.bottom, y0,
                                      rows))
            return;
        for (int r = 0; r < rows; ++r) {
            const long long y = y0 + (long long)r * height;
            const int pieceHeight = int(std::min<long long>(height, area.bottom - y));
            for (int c = 0; c < cols; ++c) {
                const long long x = x0 + (long long)c * width;
                copy(int(x), int(y), int(std::min<long long>(width, area.right - x)), pieceHeight);
            }
        }
    }

    // Whole copies of a width × height picture laid over area from its
    // top-left corner, the last ones running past the area's right and bottom
    // edges (the context clips them): the first copy and the number of
    // columns and rows that reach into the context's clipping box. False
    // when none does.
    static bool visibleTiles(HDC target, int width, int height, const KtRect& area, int& x0,
                             int& y0, int& cols, int& rows);

    // A lock holds lockGuard until its unlock, so the thread that locked is
    // the only one using the memory context, and a destroy or re-create on
    // another thread waits until a paint in progress has unlocked: it can
    // neither release the painter's context nor free info under it, and the
    // section is never deleted while selected. lockCount > 0 seen while
    // holding the guard therefore counts this thread's own locks only.

    // Waits for other threads' locks, gives up this thread's own, then frees
    // the section and its header block.
    template <class Surface>
    static void destroy(Surface& s)
    {
        KtCriticalSection::Hold hold(s.lockGuard);
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
        s.lockGuard.enter();      // left by the matching unlock
        if (s.lockCount == 0) {
            s.dc.attach(nullptr, KtDC::memoryKind);
            s.dc.select(s.bitmap, KtDC::bitmapCode);
        }
        ++s.lockCount;
        return s.dc;
    }

    // The last unlock frees the memory context. An unlock without a lock of
    // this thread changes nothing (it waits while another thread holds one).
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
        s.lockGuard.leave();      // what the lock entered
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
