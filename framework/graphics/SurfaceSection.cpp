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
