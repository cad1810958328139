// Tests of SLD decoding: the preset holder, rows in stored order, and refusal of malformed files.
#include "ImageBytes.h"
#include "SldDecoder.h"
#include "SldHeader.h"
#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> rows3x2()
{
    return {1, 2, 3, 0, 4, 5, 6, 0};
}

PackedDib decode(const std::vector<uint8_t>& file)
{
    return SldDecoder::decodeFile(file.data(), file.size());
}

uint32_t entry(const uint8_t* table, int i)
{
    const uint8_t* e = table + 4 * i;
    return e[0] | e[1] << 8 | e[2] << 16 | uint32_t(e[3]) << 24;
}

}  // namespace

TEST(SldHeader, PresetIsGreyRampWithStaticColours)
{
    SldHeader h;
    h.magic = 0;
    h.width = 9;
    h.preset();
    EXPECT_TRUE(h.isSld());
    EXPECT_EQ(0u, h.width);
    EXPECT_EQ(0u, h.height);
    // Entries as blue, green, red, 0 read little-endian.
    EXPECT_EQ(0x000000u, entry(h.colours, 0));
    EXPECT_EQ(0x800000u, entry(h.colours, 1)) << "dark red";
    EXPECT_EQ(0xC0DCC0u, entry(h.colours, 8));
    EXPECT_EQ(0xA6CAF0u, entry(h.colours, 9));
    EXPECT_EQ(0x0A0A0Au, entry(h.colours, 10)) << "grey ramp between the static colours";
    EXPECT_EQ(0xF5F5F5u, entry(h.colours, 245));
    EXPECT_EQ(0xFFFBF0u, entry(h.colours, 246));
    EXPECT_EQ(0xA0A0A4u, entry(h.colours, 247));
    EXPECT_EQ(0xFF0000u, entry(h.colours, 249)) << "red";
    EXPECT_EQ(0x0000FFu, entry(h.colours, 252)) << "blue";
    EXPECT_EQ(0xFFFFFFu, entry(h.colours, 255));
}

TEST(SldDecoder, RowsKeepTheirStoredOrder)
{
    PackedDib dib = decode(ImageBytes::sld(3, 2, rows3x2(), {0x00112233}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(8, dib.bitCount());
    EXPECT_EQ(256u, dib.colourCount());
    EXPECT_EQ(40u + 1024 + 8, dib.size());
    EXPECT_EQ(1, dib.row(0)[0]);
    EXPECT_EQ(6, dib.row(1)[2]);
    EXPECT_EQ(0x112233u, entry(dib.colourTable(), 0));
    EXPECT_EQ(0u, entry(dib.colourTable(), 1)) << "a file's own table replaces the preset";
}

TEST(SldDecoder, ShortFilesKeepThePreset)
{
    // Fewer than 16 bytes: the preset magic and size 0 stand, so the file is
    // an empty picture with the default colours.
    for (size_t size : {0u, 3u, 15u}) {
        std::vector<uint8_t> file(size, 'Q');
        PackedDib dib = decode(file);
        ASSERT_FALSE(dib.empty()) << size;
        EXPECT_EQ(0, dib.width());
        EXPECT_EQ(0, dib.height());
        EXPECT_EQ(0x800000u, entry(dib.colourTable(), 1));
    }
}

TEST(SldDecoder, TruncationsGiveEmptyOrPresetResults)
{
    std::vector<uint8_t> file = ImageBytes::sld(3, 2, rows3x2());
    for (size_t size = 0; size < file.size(); ++size) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + size);
        PackedDib dib = decode(cut);
        if (size < SldHeader::fixedSize)
            EXPECT_EQ(0, dib.width()) << "cut at " << size;
        else
            EXPECT_TRUE(dib.empty()) << "cut at " << size;
    }
}

TEST(SldDecoder, StreamLongerThanTheRowsIsCut)
{
    std::vector<uint8_t> rows = rows3x2();
    rows.resize(200, 9);
    PackedDib dib = decode(ImageBytes::sld(3, 2, rows));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(8u, dib.pixelBytes());
}

TEST(SldDecoder, OutOfRangeSizesAreRefused)
{
    EXPECT_TRUE(decode(ImageBytes::sld(0xFFFFFFFF, 2, rows3x2())).empty());
    EXPECT_TRUE(decode(ImageBytes::sld(3, 0x80000000, rows3x2())).empty());
    EXPECT_TRUE(decode(ImageBytes::sld(20000, 20000, rows3x2())).empty()) << "stream too short";
    std::vector<uint8_t> notSld = ImageBytes::sld(3, 2, rows3x2());
    notSld[0] = 'T';
    EXPECT_TRUE(decode(notSld).empty());
}
