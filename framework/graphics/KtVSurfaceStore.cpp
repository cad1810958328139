// KtVSurface: building the surface from DIBs, and its stored and BMP forms.
#include "KtDib.h"
#include "KtFile.h"
#include "KtPalette.h"
#include "KtPathName.h"
#include "KtVSurface.h"
#include "PixelRows.h"
#include "SurfaceRecord.h"
#include <cstring>

namespace {
const char* const tagName = "KtVSurface";
constexpr DWORD tableBytes = 256 * sizeof(RGBQUAD);
}

void KtVSurface::loadPath(const KtPathName& path, int)
{
    KtDib dib;
    dib.loadPath(path);
    createFromDib(dib, 0);
}

void KtVSurface::loadFile(const KtString& name, int)
{
    KtDib dib;
    dib.loadFile(name);
    createFromDib(dib, 0);
}

void KtVSurface::loadResource(const char* nameOrId, int, HMODULE module)
{
    KtDib dib;
    dib.loadResource(nameOrId, module);
    createFromDib(dib, 0);
}

void KtVSurface::createFromDib(const KtDib& dib, int)
{
    if (!SurfaceRecord::isUsable8(dib))
        return;
    const BITMAPINFOHEADER& source = *dib.header;
    KtCriticalSection::Hold hold(lockGuard);
    create(source.biWidth, source.biHeight);
    info->header = source;
    // Whatever the DIB's header said, this block holds a 40-byte header,
    // one plane and 256 colours, and the stored and BMP forms must say so:
    // a stored record of any other plane count cannot be read back.
    info->header.biSize = sizeof(BITMAPINFOHEADER);
    info->header.biPlanes = 1;
    info->header.biClrUsed = 0;
    const int n = dib.colourCount() < 256 ? dib.colourCount() : 256;
    std::memcpy(info->colours, dib.colourTable(), n * sizeof(RGBQUAD));

    KtDC memory;
    memory.attach(nullptr, KtDC::memoryKind);
    KtPalette palette;
    palette.createFromDib(dib);
    memory.select(palette.palette, KtDC::paletteCode, FALSE);
    memory.select(bitmap, KtDC::bitmapCode);
    // The section gets the whole stored table: the DIB's own table may hold
    // fewer than 256 entries.
    SetDIBColorTable(memory.handle(), 0, 256, info->colours);
    copyDibPixels(dib);
    memory.restore(KtDC::bitmapCode);
    memory.restore(KtDC::paletteCode);
    memory.release();
}

void KtVSurface::copyDibPixels(const KtDib& dib)
{
    if (!bits)
        return;
    GdiFlush();
    const int w = width(), h = height();
    // The DIB's rows are padded like the surface's; both are bottom-up.
    const PixelRows& rows = PixelRows::forSurface(hasMmx);
    const BYTE* top = dib.pixels + (h - 1) * stride();
    rows.copy8(pixelAddress(0, 0), stride(), top, stride(), w, h);
}

void KtVSurface::drawDib(const KtDib& dib)
{
    if (!SurfaceRecord::isUsable8(dib))
        return;
    KtVSurface picture;
    picture.createFromDib(dib, 0);
    copyDibColours(dib);
    picture.transfer(*this, 0, 0, 0, 0, picture.width(), picture.height(), -2);
}

void KtVSurface::save(KtFile& file)
{
    SurfaceRecord::save(file, tagName, info, sizeof(KtSurfaceInfo), bits,
                        DWORD(stride()) * height());
}

void KtVSurface::load(KtFile& file)
{
    SurfaceRecord::load(file, tagName, 8, sizeof(KtSurfaceInfo), [this] { destroy(); },
                        [this](const KtDib& dib) { createFromDib(dib, 0); });
}

void KtVSurface::saveBmp(const KtString& path)
{
    KtPathName name(path.text());
    name.setExtension(".bmp");
    KtFile file;
    file.open(name, OPEN_ALWAYS, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
              FILE_ATTRIBUTE_NORMAL);
    writeBmp(file);
    // An older, longer file would keep its last bytes after the picture.
    if (file.isOpen())
        SetEndOfFile(file.handle);
    file.close();
}

void KtVSurface::writeBmp(KtFile& file)
{
    SurfaceRecord::writeBmp(file, info, sizeof(KtSurfaceInfo), bits, DWORD(stride()) * height());
}
