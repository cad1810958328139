// Tests of SusiePicture: what a plug-in's two blocks must hold before they are packed.
#include "SusiePicture.h"
#include <gtest/gtest.h>
#include <climits>
#include <cstring>
#include <vector>

namespace {

void put32(std::vector<uint8_t>& v, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A BITMAPINFO block: 40-byte header, optional masks, colours entries of
// (i, i+1, i+2, 0).
std::vector<uint8_t> infoBlock(int32_t width, int32_t height, uint16_t bits, uint32_t colours,
                               uint32_t compression = 0)
{
    size_t masks = compression == 3 ? 12 : 0;
    std::vector<uint8_t> info(40 + masks + 4 * colours);
    put32(info, 0, 40);
    put32(info, 4, static_cast<uint32_t>(width));
    put32(info, 8, static_cast<uint32_t>(height));
    info[12] = 1;
    info[14] = static_cast<uint8_t>(bits);
    put32(info, 16, compression);
    put32(info, 32, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t* entry = &info[40 + masks + 4 * i];
        entry[0] = static_cast<uint8_t>(i);
        entry[1] = static_cast<uint8_t>(i + 1);
        entry[2] = static_cast<uint8_t>(i + 2);
    }
    return info;
}

// Row r of the bits block holds bytes r*16 + column.
std::vector<uint8_t> bitsBlock(size_t stride, size_t rows)
{
    std::vector<uint8_t> bits(stride * rows);
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < stride; ++c)
            bits[r * stride + c] = static_cast<uint8_t>(r * 16 + c);
    return bits;
}

PackedDib pack(const std::vector<uint8_t>& info, const std::vector<uint8_t>& bits)
{
    return SusiePicture::pack(info.data(), info.size(), bits.data(), bits.size());
}

TEST(SusiePicture, BottomUpPictureIsCopiedWithTableAndExactImageSize)
{
    auto info = infoBlock(3, 2, 8, 4);
    auto bits = bitsBlock(4, 2);
    bits.push_back(0xEE);  // plug-ins may hand over more than needed
    PackedDib dib = pack(info, bits);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(3, dib.width());
    EXPECT_EQ(2, dib.height());
    EXPECT_EQ(4u, dib.colourCount());
    EXPECT_EQ(0, std::memcmp(dib.colourTable(), &info[40], 16));
    EXPECT_EQ(0, std::memcmp(dib.pixels(), bits.data(), 8));
    EXPECT_EQ(8u, dib.pixelBytes());
    // The stated image size lets a DIB copy exactly the rows.
    const uint8_t* h = dib.data();
    EXPECT_EQ(8u, h[20] | h[21] << 8 | h[22] << 16 | uint32_t(h[23]) << 24);
}

TEST(SusiePicture, TopDownRowsAreTurnedBottomUp)
{
    for (int rows : {1, 5}) {
        auto bits = bitsBlock(4, rows);
        PackedDib dib = pack(infoBlock(4, -rows, 8, 1), bits);
        ASSERT_EQ(rows, dib.height()) << rows;
        for (int y = 0; y < rows; ++y)
            EXPECT_EQ(0, std::memcmp(dib.row(y), &bits[(rows - 1 - y) * 4], 4)) << rows << " row " << y;
    }
}

TEST(SusiePicture, ZeroUsedColoursMeansAFullTableForEightBits)
{
    PackedDib dib = pack(infoBlock(1, 1, 8, 0), bitsBlock(4, 1));
    EXPECT_TRUE(dib.empty()) << "the block holds no 256-entry table";
    auto info = infoBlock(1, 1, 8, 256);
    put32(info, 32, 0);
    EXPECT_EQ(256u, pack(info, bitsBlock(4, 1)).colourCount());
}

TEST(SusiePicture, BitFieldMasksFollowThePlainHeader)
{
    auto info = infoBlock(2, 1, 16, 0, 3);
    put32(info, 40, 0xF800);
    put32(info, 44, 0x07E0);
    put32(info, 48, 0x001F);
    PackedDib dib = pack(info, bitsBlock(4, 1));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(0, std::memcmp(dib.masks(), &info[40], 12));
    info.resize(50);  // masks cut short
    EXPECT_TRUE(pack(info, bitsBlock(4, 1)).empty());
}

// Every field that decides a size or an offset is checked against the blocks.
TEST(SusiePicture, BlocksThatDoNotHoldWhatTheHeaderSaysGiveNothing)
{
    auto good = infoBlock(3, 2, 8, 4);
    auto bits = bitsBlock(4, 2);
    ASSERT_FALSE(pack(good, bits).empty());

    std::vector<uint8_t> shortBits(bits.begin(), bits.end() - 1);
    EXPECT_TRUE(pack(good, shortBits).empty()) << "rows past the pixel block";
    std::vector<uint8_t> shortInfo(good.begin(), good.end() - 1);
    EXPECT_TRUE(pack(shortInfo, bits).empty()) << "colour table past the info block";
    EXPECT_TRUE(SusiePicture::pack(good.data(), 39, bits.data(), bits.size()).empty());
    EXPECT_TRUE(SusiePicture::pack(nullptr, 0, bits.data(), bits.size()).empty());
    EXPECT_TRUE(SusiePicture::pack(good.data(), good.size(), nullptr, 0).empty());

    struct Forged { size_t offset; uint32_t value; const char* what; };
    for (Forged f : {Forged{0, 39, "header size below 40"},
                     Forged{0, 1000, "header size past the block"},
                     Forged{4, 0, "width 0"},
                     Forged{4, 0x80000000u, "negative width"},
                     Forged{4, 32768, "width too large"},
                     Forged{8, 0, "height 0"},
                     Forged{8, 0x80000000u, "smallest height"},
                     Forged{8, static_cast<uint32_t>(-32768), "top-down height too large"},
                     Forged{14, 7, "bit count 7"},
                     Forged{16, 1, "run-length compression"},
                     Forged{32, 257, "more than 256 colours"},
                     Forged{32, 5, "more colours than the block holds"}}) {
        auto info = good;
        if (f.offset == 14)
            info[14] = static_cast<uint8_t>(f.value);
        else
            put32(info, f.offset, f.value);
        EXPECT_TRUE(pack(info, bits).empty()) << f.what;
    }
}

}  // namespace
