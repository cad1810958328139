// Tests of the true-colour surface: layout of its pixels, DIB conversion, copies and tiling.
#include "KtDib.h"
#include "KtRect.h"
#include "SurfaceTestKit.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>

using namespace kit;

TEST(KtVSurface24, RowsAreWidthTimesFourBottomUp)
{
    KtVSurface24 s;
    s.create(3, 2);
    ASSERT_TRUE(s.hasPixels());
    EXPECT_EQ(12, s.stride());
    EXPECT_EQ(32, s.info->biBitCount);
    EXPECT_EQ(s.bits, s.pixelAddress(0, 1)) << "the bottom row comes first";
    EXPECT_EQ(s.bits + 12 + 8, s.pixelAddress(2, 0));
}

TEST(KtVSurface24, CreateFromDibConvertsEachPixelAndRefusesOtherDepths)
{
    auto block = packed8(2, 2, 4, [](int x, int y) { return BYTE(x + 2 * y); });
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    KtVSurface24 s;
    s.createFromDib(dib, 0);
    ASSERT_EQ(2, s.width());
    EXPECT_EQ(16u, s.info->biSizeImage);
    for (int i = 0; i < 4; ++i) {
        const RGBQUAD c = dib.colours[i];
        const uint32_t want = c.rgbBlue | c.rgbGreen << 8 | c.rgbRed << 16;   // fourth byte 0
        EXPECT_EQ(want, pixel24(s, i % 2, i / 2)) << i;
    }

    // 24 bits: three bytes a pixel, rows of 8 bytes for a width of 2.
    std::vector<uint8_t> b24(40 + 16, 0);
    BITMAPINFOHEADER h{40, 2, 2, 1, 24};
    std::memcpy(b24.data(), &h, 40);
    const uint8_t rows[16] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    std::memcpy(&b24[40], rows, 16);
    KtDib dib24;
    dib24.setPacked(b24.data(), b24.size());
    s.createFromDib(dib24, 0);
    EXPECT_EQ(0x00030201u, pixel24(s, 0, 1));
    EXPECT_EQ(0x000C0B0Au, pixel24(s, 1, 0));

    std::vector<uint8_t> b4(40 + 64 + 8, 0);
    BITMAPINFOHEADER h4{40, 2, 2, 1, 4};
    std::memcpy(b4.data(), &h4, 40);
    KtDib dib4;
    dib4.setPacked(b4.data(), b4.size());
    ASSERT_NE(nullptr, dib4.header);
    s.createFromDib(dib4, 0);
    EXPECT_EQ(0x000C0B0Au, pixel24(s, 1, 0)) << "a 4-bit DIB leaves the surface as it was";
}

TEST(KtVSurface24, Transfer24ClipsAndDrawDibKeepsTheSize)
{
    KtVSurface24 src, dest;
    src.create(4, 4);
    dest.create(6, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            setPixel24(src, x, y, uint32_t(x + 10 * y));
    fill24(dest, 0xFFFFFFFF);
    src.transfer24(dest, 4, -1, 0, 0, 4, 4);
    EXPECT_EQ(10u, pixel24(dest, 4, 0));
    EXPECT_EQ(31u, pixel24(dest, 5, 2));
    EXPECT_EQ(0xFFFFFFFFu, pixel24(dest, 3, 0));

    auto block = packed8(2, 2, 4, [](int x, int y) { return BYTE(3); });
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    dest.drawDib(dib);
    EXPECT_EQ(6, dest.width());
    const RGBQUAD c = dib.colours[3];
    EXPECT_EQ(uint32_t(c.rgbBlue | c.rgbGreen << 8 | c.rgbRed << 16), pixel24(dest, 1, 1));
    EXPECT_EQ(0xFFFFFFFFu, pixel24(dest, 2, 0));
}

TEST(KtVSurface24, TileToRepeatsTheSurfaceWithPieces)
{
    KtVSurface24 tile, dest;
    tile.create(30, 30);
    dest.create(110, 55);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            setPixel24(tile, x, y, uint32_t(x << 8 | y));
    fill24(dest, 0xABCDEF);
    const KtRect area(0, 0, 100, 50);
    callSlot<void>(&tile, 10, &dest, &area);          // tileTo
    for (int y = 0; y < 55; ++y)
        for (int x = 0; x < 110; ++x)
            ASSERT_EQ(x < 100 && y < 50 ? uint32_t((x % 30) << 8 | (y % 30)) : 0xABCDEFu,
                      pixel24(dest, x, y))
                << x << "," << y;
}
