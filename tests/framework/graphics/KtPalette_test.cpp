// KtPalette: palettes from DIB colour tables, replacement and release of the handle.
#include "KtDib.h"
#include "KtPalette.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

// A 1 x 1 DIB of the given depth whose table has count entries (i, 2i, 3i).
void makeDib(KtDib& dib, int bits, int used, int count)
{
    std::vector<BYTE> block(40 + 4 * count + 4);
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 1;
    h.biHeight = 1;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biClrUsed = static_cast<DWORD>(used);
    std::memcpy(block.data(), &h, sizeof h);
    for (int i = 0; i < count; ++i) {
        RGBQUAD c = {BYTE(3 * i), BYTE(2 * i), BYTE(i), 0x55};
        std::memcpy(block.data() + 40 + 4 * i, &c, 4);
    }
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
}

bool isPalette(HPALETTE palette)
{
    return GetObjectType(palette) == OBJ_PAL;
}

}  // namespace

TEST(KtPalette, FromAnEightBitDibWithSixteenColours)
{
    KtDib dib;
    makeDib(dib, 8, 16, 16);
    KtPalette palette;
    palette.createFromDib(dib);
    ASSERT_TRUE(isPalette(palette.palette));
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(16u, GetPaletteEntries(palette.palette, 0, 256, entries));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(i, entries[i].peRed) << i;
        EXPECT_EQ(2 * i, entries[i].peGreen) << i;
        EXPECT_EQ(3 * i, entries[i].peBlue) << i;
        EXPECT_EQ(0, entries[i].peFlags) << i;
    }
}

TEST(KtPalette, FullTableAndDibsWithoutOne)
{
    KtDib full;
    makeDib(full, 8, 0, 256);
    KtPalette palette;
    palette.createFromDib(full);
    EXPECT_EQ(256u, GetPaletteEntries(palette.palette, 0, 0, nullptr));
    // A 24-bit DIB without a used count, and an empty DIB, make nothing and
    // keep the palette there is.
    HPALETTE kept = palette.palette;
    KtDib trueColour;
    makeDib(trueColour, 24, 0, 0);
    palette.createFromDib(trueColour);
    KtDib empty;
    palette.createFromDib(empty);
    EXPECT_EQ(kept, palette.palette);
    EXPECT_TRUE(isPalette(kept));
}

TEST(KtPalette, ReplacingDeletesTheOldPaletteAndFailureKeepsIt)
{
    KtDib dib;
    makeDib(dib, 4, 0, 16);
    KtPalette palette;
    palette.createFromDib(dib);
    HPALETTE first = palette.palette;
    ASSERT_TRUE(isPalette(first));
    palette.createFromDib(dib);
    EXPECT_NE(first, palette.palette);
    EXPECT_FALSE(isPalette(first));
    // A request the platform refuses changes nothing.
    HPALETTE second = palette.palette;
    palette.create(nullptr);
    EXPECT_EQ(second, palette.palette);
    EXPECT_TRUE(isPalette(second));
}

TEST(KtPalette, ReleaseAndDestructionDeleteTheHandle)
{
    KtDib dib;
    makeDib(dib, 1, 0, 2);
    HPALETTE handle;
    {
        KtPalette palette;
        palette.createFromDib(dib);
        handle = palette.palette;
        ASSERT_TRUE(isPalette(handle));
        palette.release();
        EXPECT_EQ(nullptr, palette.palette);
        EXPECT_FALSE(isPalette(handle));
        palette.release();
        palette.createFromDib(dib);
        handle = palette.palette;
    }
    EXPECT_FALSE(isPalette(handle));
}
