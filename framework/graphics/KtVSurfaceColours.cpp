// KtVSurface: the colour-table operations: setting, copying and fading the 256 colours.
#include "ColourTable.h"
#include "KtDib.h"
#include "KtPalette.h"
#include "KtVSurface.h"
#include <cstring>

namespace {
const ColourQuad* quads(const RGBQUAD* table)
{
    return reinterpret_cast<const ColourQuad*>(table);
}
}

void KtVSurface::setSectionColours(const RGBQUAD* table)
{
    KtDC& memory = lock();
    SetDIBColorTable(memory.handle(), 0, ColourTable::size, table);
    unlock();
}

void KtVSurface::refreshColours()
{
    setSectionColours(info->colours);
}

void KtVSurface::setColours(const RGBQUAD* src, int first, int srcFirst, int count)
{
    const int n = ColourTable::setColoursCount(first, srcFirst, count);
    if (!src || !info || n == 0)
        return;
    std::memcpy(&info->colours[first], &src[srcFirst], n * sizeof(RGBQUAD));
    refreshColours();
}

void KtVSurface::setColourRange(const RGBQUAD* src, int first, int count)
{
    if (!src || !info)
        return;
    const int start = ColourTable::rangeFirst(first);
    const int n = ColourTable::rangeCount(first, count);
    std::memcpy(&info->colours[start], &src[start], n * sizeof(RGBQUAD));
    refreshColours();
}

void KtVSurface::copyColours(const KtVSurface& other)
{
    if (!info || !other.info || &other == this)
        return;
    std::memcpy(info->colours, other.info->colours, sizeof(info->colours));
    refreshColours();
}

void KtVSurface::copyDibColours(const KtDib& dib)
{
    const RGBQUAD* table = dib.colourTable();
    if (!info || !dib.header || !dib.pixels || !table || dib.header->biBitCount != 8)
        return;
    // A DIB may list fewer than 256 colours: the table ends there, and the
    // indices beyond it become black rather than whatever follows in memory.
    const int n = dib.colourCount() < ColourTable::size ? dib.colourCount() : ColourTable::size;
    std::memset(info->colours, 0, sizeof(info->colours));
    std::memcpy(info->colours, table, n * sizeof(RGBQUAD));
    refreshColours();
}

void KtVSurface::fadeColours(const RGBQUAD* target, int step, int steps)
{
    if (!target || !info)
        return;
    RGBQUAD shown[ColourTable::size];
    if (ColourTable::fade(quads(info->colours), quads(target), step, steps,
                          reinterpret_cast<ColourQuad*>(shown))) {
        setSectionColours(shown);
        return;
    }
    std::memcpy(info->colours, target, sizeof(info->colours));
    refreshColours();
}

// The palette that lets a 256-colour display show a surface as well as it can.
void KtPalette::createFromSurface(const KtVSurface& surface, int shift)
{
    if (!surface.info)
        return;
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[ColourTable::size];
    } logical;
    logical.version = 0x300;
    logical.count = ColourTable::size;
    for (int i = 0; i < ColourTable::size; ++i) {
        const RGBQUAD& c = surface.info->colours[i];
        logical.entries[i] = PALETTEENTRY{BYTE(c.rgbRed >> shift), BYTE(c.rgbGreen >> shift),
                                          BYTE(c.rgbBlue >> shift), 0};
    }
    create(reinterpret_cast<const LOGPALETTE*>(&logical));
}
