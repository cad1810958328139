// KtVSurface: construction, the DIB section and its lock, and drawing the surface with GDI.
#include "KtVSurface.h"
#include "ColourTable.h"
#include "KtDib.h"
#include "KtHeap.h"
#include "KtPalette.h"
#include "KtRect.h"
#include "KtWindow.h"
#include "PixelRows.h"
#include "SurfaceSection.h"
#include <cstddef>

// Scenario modules read these fields at fixed offsets and embed the surface
// in viewports, so its size is part of their layout too.
struct KtVSurfaceLayout {
    static_assert(sizeof(KtSurfaceInfo) == 1064, "40-byte header and 256 colours");
    static_assert(offsetof(KtVSurface, bitmap) == 4);
    static_assert(offsetof(KtVSurface, info) == 8);
    static_assert(offsetof(KtVSurface, bits) == 12);
    static_assert(offsetof(KtVSurface, lockGuard) == 16);
    static_assert(offsetof(KtVSurface, dc) == 44);
    static_assert(offsetof(KtVSurface, lockCount) == 84);
    static_assert(offsetof(KtVSurface, hasMmx) == 88);
    static_assert(sizeof(KtVSurface) == 92);
};

KtVSurface::KtVSurface()
    : bitmap(nullptr), info(nullptr), bits(nullptr), lockCount(0),
      hasMmx(PixelRows::mmxFlag())
{
    // Holds the screen's context until the first lock replaces it.
    dc.attach(nullptr, KtDC::windowKind);
}

KtVSurface::~KtVSurface()
{
    destroy();
    dc.release();
}

int KtVSurface::width() const
{
    return info ? info->header.biWidth : 0;
}

int KtVSurface::height() const
{
    return info ? info->header.biHeight : 0;
}

void KtVSurface::destroy()
{
    SurfaceSection::destroy(*this);
}

KtDC& KtVSurface::lock()
{
    return SurfaceSection::lock(*this);
}

void KtVSurface::unlock()
{
    SurfaceSection::unlock(*this);
}

void KtVSurface::fillInitialColours(HDC screen)
{
    RGBQUAD* table = info->colours;
    if (!(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE)) {
        ColourTable::initialTable(reinterpret_cast<ColourQuad*>(table));
        return;
    }
    // A 256-colour display: keep its reserved colours, leave the rest black
    // (the block came zero-filled).
    for (int i = 0; i < ColourTable::size; ++i) {
        if (!ColourTable::isFixed(i))
            continue;
        PALETTEENTRY entry = {};
        GetSystemPaletteEntries(screen, i, 1, &entry);
        table[i] = RGBQUAD{entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
}

void KtVSurface::create(int width, int height)
{
    // A paint on another thread sees the old picture or the new one whole.
    KtCriticalSection::Hold hold(lockGuard);
    destroy();
    KtDC screen;
    screen.attach(nullptr, KtDC::windowKind);
    info = static_cast<KtSurfaceInfo*>(
        KtHeap::malloc(sizeof(KtSurfaceInfo), KtHeap::throwOnFailure | KtHeap::zeroFill));
    fillInitialColours(screen.handle());
    BITMAPINFOHEADER& h = info->header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;     // positive: rows bottom-up
    h.biPlanes = 1;
    h.biBitCount = 8;
    bitmap = SurfaceSection::create(screen.handle(), info, bits);
    screen.release();
}

void KtVSurface::stretchTo(KtVSurface& dest, int x, int y, int width, int height)
{
    SurfaceSection::stretchTo(*this, dest, x, y, width, height);
}

int KtVSurface::showRect(KtDC& dc, const KtRect& r)
{
    return blitTo(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0);
}

int KtVSurface::show(KtDC& dc)
{
    return blitTo(dc, 0, 0, width(), height(), 0, 0);
}

int KtVSurface::blitTo(KtDC& target, int x, int y, int w, int h, int sx, int sy)
{
    if (!target.handle())
        return 0;
    if (w == 0)
        w = width();
    if (h == 0)
        h = height();
    return blitPieces(target, x, y, w, h, sx, sy, 1, 1);
}

// Copies (sx, sy, w, h) of the surface cols × rows times side by side from
// (x, y), through a palette of the surface's colours so that a 256-colour
// display shows them as well as it can.
int KtVSurface::blitPieces(KtDC& target, int x, int y, int w, int h, int sx, int sy, int cols,
                           int rows)
{
    KtDC& source = lock();
    KtPalette palette;
    palette.createFromSurface(*this, 0);
    if (palette.palette)
        target.select(palette.palette, KtDC::paletteCode, FALSE);
    RealizePalette(target.handle());
    const int result =
        SurfaceSection::blitPieces(target, source, x, y, w, h, sx, sy, cols, rows);
    // Only a palette selected here may be put back, or an older saved one
    // would be selected in its place.
    if (palette.palette)
        target.restore(KtDC::paletteCode);
    unlock();
    return result;
}

int KtVSurface::showInWindow(const KtWindow& window)
{
    return SurfaceSection::showInWindow(*this, window);
}

void KtVSurface::tileTo(KtVSurface& dest, const KtRect* area, BOOL copyColours)
{
    const int w = width();
    const int h = height();
    if (w < 1 || h < 1 || !bits)
        return;      // a surface without a picture has nothing to repeat
    const KtRect bounds(0, 0, dest.width(), dest.height());
    const KtRect a = area ? *area : bounds;
    if (copyColours)
        dest.copyColours(*this);
    SurfaceSection::tile(w, h, a, bounds, [&](int x, int y, int pw, int ph) {
        transfer(dest, x, y, 0, 0, pw, ph, -2);
    });
}

void KtVSurface::tileToDC(KtDC& target, const KtRect& area)
{
    const int w = width();
    const int h = height();
    int x0 = 0, y0 = 0, cols = 0, rows = 0;
    if (!target.handle()
        || !SurfaceSection::visibleTiles(target.handle(), w, h, area, x0, y0, cols, rows))
        return;
    blitPieces(target, x0, y0, w, h, 0, 0, cols, rows);
}

void KtVSurface::changed(const KtRect*)
{
}
