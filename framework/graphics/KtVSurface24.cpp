// KtVSurface24: construction, the DIB section and its lock, GDI drawing, transfers and stored forms.
#include "KtVSurface24.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "KtRect.h"
#include "KtVSurface.h"
#include "KtWindow.h"
#include "PixelRows.h"
#include "SurfaceClip.h"
#include "SurfaceRecord.h"
#include "SurfaceSection.h"
#include <cstddef>
#include <cstring>

// Scenario modules read these fields at fixed offsets and embed the surface
// in viewports; note hasMmx comes before the lock here.
struct KtVSurface24Layout {
    static_assert(offsetof(KtVSurface24, bitmap) == 4);
    static_assert(offsetof(KtVSurface24, info) == 8);
    static_assert(offsetof(KtVSurface24, bits) == 12);
    static_assert(offsetof(KtVSurface24, hasMmx) == 16);
    static_assert(offsetof(KtVSurface24, lockGuard) == 20);
    static_assert(offsetof(KtVSurface24, dc) == 48);
    static_assert(offsetof(KtVSurface24, lockCount) == 88);
    static_assert(sizeof(KtVSurface24) == 92);
};

namespace {
const char* const tagName = "KtVSurface24";
}

KtVSurface24::KtVSurface24()
    : bitmap(nullptr), info(nullptr), bits(nullptr), hasMmx(PixelRows::mmxFlag()),
      lockCount(0)
{
    dc.attach(nullptr, KtDC::windowKind);
}

KtVSurface24::~KtVSurface24()
{
    destroy();
    dc.release();
}

void KtVSurface24::destroy()
{
    SurfaceSection::destroy(*this);
}

KtDC& KtVSurface24::lock()
{
    return SurfaceSection::lock(*this);
}

void KtVSurface24::unlock()
{
    SurfaceSection::unlock(*this);
}

void KtVSurface24::create(int width, int height)
{
    // A paint on another thread sees the old picture or the new one whole.
    KtCriticalSection::Hold hold(lockGuard);
    destroy();
    KtDC screen;
    screen.attach(nullptr, KtDC::windowKind);
    info = static_cast<BITMAPINFOHEADER*>(KtHeap::malloc(
        sizeof(BITMAPINFOHEADER), KtHeap::throwOnFailure | KtHeap::zeroFill));
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;     // positive: rows bottom-up, stride width × 4
    info->biPlanes = 1;
    info->biBitCount = 32;
    info->biCompression = BI_RGB;
    bitmap = SurfaceSection::create(screen.handle(), info, bits);
    screen.release();
}

void KtVSurface24::createFromDib(const KtDib& dib, int)
{
    if (!SurfaceRecord::isUsable(dib, true, true, true))
        return;
    KtCriticalSection::Hold hold(lockGuard);
    create(dib.header->biWidth, dib.header->biHeight);
    info->biBitCount = 32;
    info->biSizeImage = DWORD(width()) * height() * 4;
    info->biClrUsed = 0;
    info->biClrImportant = 0;
    convertDibPixels(dib);
}

void KtVSurface24::convertDibPixels(const KtDib& dib)
{
    if (!bits)
        return;
    GdiFlush();
    const int w = width(), h = height(), bitCount = dib.header->biBitCount;
    const int dibStride = int(SurfaceRecord::rowBytes(w, bitCount));
    if (bitCount == 8) {
        // Indices past the DIB's own table are black rather than whatever
        // follows it in memory.
        RGBQUAD table[256] = {};
        const int n = dib.colourCount() < 256 ? dib.colourCount() : 256;
        std::memcpy(table, dib.colourTable(), n * sizeof(RGBQUAD));
        for (RGBQUAD& entry : table)
            entry.rgbReserved = 0;
        PixelRows::forSurface(hasMmx)
            .expand(pixelAddress(0, 0), stride(), dib.pixels + (h - 1) * dibStride, dibStride, w,
                    h, table);
        return;
    }
    for (int y = 0; y < h; ++y) {
        const BYTE* src = dib.pixels + (h - 1 - y) * dibStride;
        BYTE* dst = pixelAddress(0, y);
        if (bitCount == 32) {
            std::memcpy(dst, src, size_t(w) * 4);
            continue;
        }
        for (int x = 0; x < w; ++x, src += 3, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            dst[3] = 0;
        }
    }
}

void KtVSurface24::loadResource(const char* nameOrId, int)
{
    KtDib dib;
    dib.loadResource(nameOrId, nullptr);
    createFromDib(dib, 0);
}

void KtVSurface24::transfer24(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h)
{
    if (!SurfaceClip::clip(dest.pixelWidth(), dest.pixelHeight(), pixelWidth(), pixelHeight(), dx,
                           dy, sx, sy, w, h))
        return;
    GdiFlush();
    BYTE* dst = dest.pixelAddress(dx, dy);
    const BYTE* src = pixelAddress(sx, sy);
    // memmove: a surface may be copied onto itself.
    for (int row = 0; row < h; ++row, dst -= dest.stride(), src -= stride())
        std::memmove(dst, src, size_t(w) * 4);
}

void KtVSurface24::drawDib(const KtDib& dib)
{
    if (!SurfaceRecord::isUsable(dib, true, true, true))
        return;
    KtVSurface24 picture;
    picture.createFromDib(dib, 0);
    picture.transfer24(*this, 0, 0, 0, 0, picture.width(), picture.height());
}

void KtVSurface24::stretchTo(KtVSurface& dest, int x, int y, int w, int h)
{
    SurfaceSection::stretchTo(*this, dest, x, y, w, h);
}

int KtVSurface24::showRect(KtDC& target, const KtRect& r)
{
    return blitTo(target, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0);
}

int KtVSurface24::show(KtDC& target)
{
    return blitTo(target, 0, 0, width(), height(), 0, 0);
}

int KtVSurface24::blitTo(KtDC& target, int x, int y, int w, int h, int sx, int sy)
{
    if (!target.handle())
        return 0;
    if (w == 0)
        w = width();
    if (h == 0)
        h = height();
    return blitPieces(target, x, y, w, h, sx, sy, 1, 1);
}

int KtVSurface24::blitPieces(KtDC& target, int x, int y, int w, int h, int sx, int sy, int cols,
                             int rows)
{
    KtDC& source = lock();
    const int result =
        SurfaceSection::blitPieces(target, source, x, y, w, h, sx, sy, cols, rows);
    unlock();
    return result;
}

int KtVSurface24::showInWindow(const KtWindow& window)
{
    return SurfaceSection::showInWindow(*this, window);
}

void KtVSurface24::tileTo(KtVSurface24& dest, const KtRect* area)
{
    const int w = width();
    const int h = height();
    if (w < 1 || h < 1 || !bits)
        return;      // a surface without a picture has nothing to repeat
    const KtRect bounds(0, 0, dest.width(), dest.height());
    const KtRect a = area ? *area : bounds;
    SurfaceSection::tile(w, h, a, bounds, [&](int x, int y, int pw, int ph) {
        transfer24(dest, x, y, 0, 0, pw, ph);
    });
}

void KtVSurface24::tileToDC(KtDC& target, const KtRect& area)
{
    const int w = width();
    const int h = height();
    int x0 = 0, y0 = 0, cols = 0, rows = 0;
    if (!target.handle()
        || !SurfaceSection::visibleTiles(target.handle(), w, h, area, x0, y0, cols, rows))
        return;
    RealizePalette(target.handle());
    blitPieces(target, x0, y0, w, h, 0, 0, cols, rows);
}

void KtVSurface24::save(KtFile& file)
{
    SurfaceRecord::save(file, tagName, info, sizeof(BITMAPINFOHEADER), bits,
                        DWORD(stride()) * height());
}

void KtVSurface24::load(KtFile& file)
{
    SurfaceRecord::load(file, tagName, 32, sizeof(BITMAPINFOHEADER), [this] { destroy(); },
                        [this](const KtDib& dib) { createFromDib(dib, 0); });
}

void KtVSurface24::writeBmp(KtFile& file)
{
    SurfaceRecord::writeBmp(file, info, sizeof(BITMAPINFOHEADER), bits,
                            DWORD(stride()) * height());
}
