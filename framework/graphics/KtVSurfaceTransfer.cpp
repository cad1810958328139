// KtVSurface: filling and the pixel transfers that copy and blend this surface into others.
#include "KtRect.h"
#include "KtVSurface.h"
#include "KtVSurface24.h"
#include "PixelRows.h"
#include "SurfaceClip.h"
#include <algorithm>
#include <cstring>

namespace {
constexpr int noKey = -2;
constexpr int topLeftKey = -1;

const PixelRows& rowsOf(LONG hasMmx)
{
    return PixelRows::forSurface(hasMmx);
}
}

bool KtVSurface::clip(const KtVSurface& dest, int& dx, int& dy, int& sx, int& sy, int& w,
                      int& h) const
{
    return SurfaceClip::clip(dest.pixelWidth(), dest.pixelHeight(), pixelWidth(), pixelHeight(),
                             dx, dy, sx, sy, w, h);
}

bool KtVSurface::clip(const KtVSurface24& dest, int& dx, int& dy, int& sx, int& sy, int& w,
                      int& h) const
{
    const int destWidth = dest.bits ? dest.width() : 0;
    const int destHeight = dest.bits ? dest.height() : 0;
    return SurfaceClip::clip(destWidth, destHeight, pixelWidth(), pixelHeight(), dx, dy, sx, sy,
                             w, h);
}

// -1 reads the top-left pixel, which is the first byte of the last row in
// memory. Keys that name no index give -2: nothing is transparent.
int KtVSurface::resolveKey(int key) const
{
    if (key == topLeftKey)
        return *pixelAddress(0, 0);
    return key >= 0 && key <= 255 ? key : noKey;
}

void KtVSurface::fill(BYTE index, const KtRect* area)
{
    if (!bits)
        return;
    // Only the part of the area inside the surface is written; the padding
    // bytes at the end of each row keep their value.
    int x = 0, y = 0, sx = 0, sy = 0, w = width(), h = height();
    if (area) {
        x = area->left;
        y = area->top;
        w = area->right - area->left;
        h = area->bottom - area->top;
        if (!SurfaceClip::clip(width(), height(), w, h, x, y, sx, sy, w, h))
            return;
    }
    GdiFlush();
    for (int row = 0; row < h; ++row)
        std::memset(pixelAddress(x, y + row), index, w);
}

void KtVSurface::transfer(KtVSurface& dest, int dx, int dy, int sx, int sy, int w, int h, int key)
{
    if (!clip(dest, dx, dy, sx, sy, w, h))
        return;
    // GDI drawing still queued may change the top-left pixel of key -1.
    GdiFlush();
    const int k = key == noKey ? noKey : resolveKey(key);
    const PixelRows& rows = rowsOf(hasMmx);
    BYTE* dst = dest.pixelAddress(dx, dy);
    const BYTE* src = pixelAddress(sx, sy);
    if (k == noKey)
        rows.copy8(dst, dest.stride(), src, stride(), w, h);
    else
        rows.copyKeyed8(dst, dest.stride(), src, stride(), w, h, BYTE(k));
}

void KtVSurface::blend(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h,
                       int level)
{
    if (!clip(dest, dx, dy, sx, sy, w, h))
        return;
    level = std::clamp(level, 0, 16);
    GdiFlush();
    rowsOf(hasMmx).mix(dest.pixelAddress(dx, dy), dest.stride(), pixelAddress(sx, sy), stride(),
                       w, h, info->colours, level);
}

void KtVSurface::blendKeyed(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h,
                            int level, int key)
{
    if (key == noKey) {
        blend(dest, dx, dy, sx, sy, w, h, level);
        return;
    }
    if (!clip(dest, dx, dy, sx, sy, w, h))
        return;
    level = std::clamp(level, 0, 16);
    GdiFlush();
    const int k = resolveKey(key);
    const PixelRows& rows = rowsOf(hasMmx);
    BYTE* dst = dest.pixelAddress(dx, dy);
    const BYTE* src = pixelAddress(sx, sy);
    if (k == noKey)
        rows.mix(dst, dest.stride(), src, stride(), w, h, info->colours, level);
    else
        rows.mixKeyed(dst, dest.stride(), src, stride(), w, h, info->colours, level, BYTE(k));
}
