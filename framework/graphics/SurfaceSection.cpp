// SurfaceSection: making a surface's DIB section and copying it with GDI.
#include "SurfaceSection.h"

HBITMAP SurfaceSection::create(HDC screen, const void* info, BYTE*& bits)
{
    bits = nullptr;
    const BITMAPINFOHEADER& header = *static_cast<const BITMAPINFOHEADER*>(info);
    if (header.biWidth <= 0 || header.biHeight <= 0)
        return nullptr;
    void* memory = nullptr;
    // Any colour table follows the header in the same block.
    HBITMAP bitmap = CreateDIBSection(screen, static_cast<const BITMAPINFO*>(info),
                                      DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = bitmap ? static_cast<BYTE*>(memory) : nullptr;
    return bitmap;
}

int SurfaceSection::blitPieces(KtDC& target, KtDC& source, int x, int y, int w, int h, int sx,
                               int sy, int cols, int rows)
{
    int result = 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            result &= BitBlt(target.handle(), x + c * w, y + r * h, w, h, source.handle(), sx, sy,
                             SRCCOPY) ? 1 : 0;
    return result;
}

bool SurfaceSection::visibleTiles(HDC target, int width, int height, const KtRect& area,
                                  int& x0, int& y0, int& cols, int& rows)
{
    RECT clip;
    if (width < 1 || height < 1 || GetClipBox(target, &clip) == ERROR)
        return false;
    // Whole copies: the area rounded up to a multiple of the tile.
    auto roundedEnd = [](long long from, long long to, int tile) {
        return from + (to - from + tile - 1) / tile * tile;
    };
    return SurfaceClip::tileSpan(area.left, roundedEnd(area.left, area.right, width), width,
                                 clip.left, clip.right, x0, cols)
           && SurfaceClip::tileSpan(area.top, roundedEnd(area.top, area.bottom, height), height,
                                    clip.top, clip.bottom, y0, rows);
}
