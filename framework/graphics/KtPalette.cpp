// KtPalette: creating, replacing and releasing the logical palette.
#include "KtPalette.h"
#include "KtDib.h"
#include <cstddef>
#include <vector>

void KtPalette::checkLayout()
{
#ifndef _WIN64
    static_assert(sizeof(KtPalette) == 8 && offsetof(KtPalette, palette) == 4,
                  "table pointer, then the palette handle");
#else
    static_assert(sizeof(KtPalette) == 2 * sizeof(void*) && offsetof(KtPalette, palette) == sizeof(void*),
                  "table pointer, then the palette handle");
#endif
}

KtPalette::KtPalette() : palette(nullptr)
{
}

KtPalette::~KtPalette()
{
    release();
}

void KtPalette::create(const LOGPALETTE* logical)
{
    HPALETTE made = CreatePalette(logical);
    if (!made)
        return;
    release();
    palette = made;
}

void KtPalette::createFromDib(const KtDib& dib)
{
    const RGBQUAD* table = dib.colourTable();
    if (!table)
        return;
    // A table holds at most 256 entries; a header stating more is not
    // believed beyond them.
    int count = dib.paletteSize();
    if (count > 256)
        count = 256;
    std::vector<BYTE> block(offsetof(LOGPALETTE, palPalEntry) + sizeof(PALETTEENTRY) * (count ? count : 1));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i) {
        logical->palPalEntry[i].peRed = table[i].rgbRed;
        logical->palPalEntry[i].peGreen = table[i].rgbGreen;
        logical->palPalEntry[i].peBlue = table[i].rgbBlue;
        logical->palPalEntry[i].peFlags = 0;
    }
    create(logical);
}

void KtPalette::release()
{
    if (palette)
        DeleteObject(palette);
    palette = nullptr;
}
