// KtVSurface24: construction, the DIB section and its lock, GDI drawing, transfers and stored forms.
#include "KtVSurface24.h"
#include "KtClassTag.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "KtRect.h"
#include "KtVSurface.h"
#include "KtWindow.h"
#include "PixelRows.h"
#include "SurfaceClip.h"
#include "SurfaceRecord.h"
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
    : bitmap(nullptr), info(nullptr), bits(nullptr), hasMmx(LONG(PixelRows::bestKind())),
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
    while (lockCount > 0)
        unlock();
    if (bitmap)
        DeleteObject(bitmap);
    KtHeap::free(info, 0);
    bitmap = nullptr;
    info = nullptr;
    bits = nullptr;
}

KtDC& KtVSurface24::lock()
{
    KtCriticalSection::Hold hold(lockGuard);
    if (lockCount == 0) {
        dc.attach(nullptr, KtDC::memoryKind);
        dc.select(bitmap, KtDC::bitmapCode);
    }
    ++lockCount;
    return dc;
}

void KtVSurface24::unlock()
{
    KtCriticalSection::Hold hold(lockGuard);
    if (lockCount <= 0)
        return;
    if (--lockCount == 0) {
        dc.restore(KtDC::bitmapCode);
        dc.release();
    }
}

void KtVSurface24::create(int width, int height)
{
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
    if (width > 0 && height > 0) {
        void* memory = nullptr;
        bitmap = CreateDIBSection(screen.handle(), reinterpret_cast<BITMAPINFO*>(info),
                                  DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = bitmap ? static_cast<BYTE*>(memory) : nullptr;
    }
    screen.release();
}

void KtVSurface24::createFromDib(const KtDib& dib, int)
{
    if (!SurfaceRecord::isUsable(dib, true, true, true))
        return;
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
        PixelRows::forKind(PixelLoopKind(hasMmx))
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
    KtDC& source = lock();
    KtDC& target = dest.lock();
    const int oldMode = SetStretchBltMode(target.handle(), COLORONCOLOR);
    StretchBlt(target.handle(), x, y, w, h, source.handle(), 0, 0, width(), height(), SRCCOPY);
    SetStretchBltMode(target.handle(), oldMode);
    dest.unlock();
    unlock();
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
    int result = 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            result &= BitBlt(target.handle(), x + c * w, y + r * h, w, h, source.handle(), sx, sy,
                             SRCCOPY) ? 1 : 0;
    unlock();
    return result;
}

int KtVSurface24::showInWindow(const KtWindow& window)
{
    if (!window.handle || !IsWindow(window.handle))
        return 0;
    KtDC windowDc;
    windowDc.attach(window.handle, KtDC::windowKind);
    const int result = show(windowDc);
    windowDc.release();
    return result;
}

void KtVSurface24::tileTo(KtVSurface24& dest, const KtRect* area)
{
    const int w = width();
    const int h = height();
    if (w < 1 || h < 1 || !bits)
        return;      // a surface without a picture has nothing to repeat
    const KtRect a = area ? *area : KtRect(0, 0, dest.width(), dest.height());
    const int cols = a.width() / w, remW = a.width() % w;
    const int rows = a.height() / h, remH = a.height() % h;
    auto tileRow = [&](int top, int rowHeight) {
        for (int c = 0; c < cols; ++c)
            transfer24(dest, a.left + c * w, top, 0, 0, w, rowHeight);
        if (remW > 0)
            transfer24(dest, a.left + cols * w, top, 0, 0, remW, rowHeight);
    };
    for (int r = 0; r < rows; ++r)
        tileRow(a.top + r * h, h);
    if (remH > 0)
        tileRow(a.top + rows * h, remH);
}

void KtVSurface24::tileToDC(KtDC& target, const KtRect& area)
{
    const int w = width();
    const int h = height();
    if (!target.handle() || w < 1 || h < 1)
        return;
    const int cols = (area.width() + w - 1) / w;
    const int rows = (area.height() + h - 1) / h;
    RealizePalette(target.handle());
    blitPieces(target, area.left, area.top, w, h, 0, 0, cols, rows);
}

void KtVSurface24::save(KtFile& file)
{
    if (!file.isOpen() || !info || !bits)
        return;
    KtClassTag(tagName).save(file);
    GdiFlush();
    file.write(info, sizeof(BITMAPINFOHEADER));
    file.write(bits, DWORD(stride()) * height());
}

void KtVSurface24::load(KtFile& file)
{
    if (!file.isOpen())
        return;
    const DWORD start = SurfaceRecord::position(file);
    if (!KtClassTag(tagName).matchInFile(file))
        return;
    // Checked before anything is allocated or destroyed; an unsound record
    // leaves the surface and the file position as they were.
    DWORD total = 0;
    const DWORD data = SurfaceRecord::position(file);
    BITMAPINFOHEADER header;
    if (file.read(&header, sizeof header) != sizeof header
        || !SurfaceRecord::fits(file, data, header, 32, sizeof(BITMAPINFOHEADER), total)) {
        SurfaceRecord::seek(file, start);
        return;
    }
    destroy();
    SurfaceRecord::loadBlock(file, data, total, [this](const KtDib& dib) { createFromDib(dib, 0); });
}

void KtVSurface24::writeBmp(KtFile& file)
{
    if (!file.isOpen() || !info || !bits)
        return;
    const DWORD pixelBytes = DWORD(stride()) * height();
    SurfaceRecord::writeFileHeader(file, sizeof(BITMAPINFOHEADER), pixelBytes);
    GdiFlush();
    file.write(info, sizeof(BITMAPINFOHEADER));
    file.write(bits, pixelBytes);
}
