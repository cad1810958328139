// Round trips through ktimage's writers: BMP to MCG or SLD and back gives the same pixels and colours.
#include "BmpDecoder.h"
#include "BmpWriter.h"
#include "LzssEncoder.h"
#include "McgDecoder.h"
#include "McgLzssDecoder.h"
#include "McgWriter.h"
#include "SldDecoder.h"
#include "SldLzssDecoder.h"
#include "SldWriter.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>

namespace {

// A picture mixing runs, repeats further back than the window reaches, and
// noise, so that literals, short and long copies and window wrap all occur.
PackedDib picture(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0)
{
    PackedDib dib;
    uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    EXPECT_TRUE(dib.create(width, height, bits, compression, colours));
    std::mt19937 random(width * 31 + bits);
    for (uint32_t i = 0; i < colours; ++i)
        for (int c = 0; c < 3; ++c)
            dib.colourTable()[4 * i + c] = static_cast<uint8_t>(random());
    if (compression == PackedDib::compressionBitFields) {
        const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(dib.masks(), masks, sizeof masks);
    }
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.row(y);
        for (size_t x = 0; x < dib.stride(); ++x) {
            switch ((y / 7) % 3) {
            case 0: row[x] = static_cast<uint8_t>(x / 5); break;
            case 1: row[x] = static_cast<uint8_t>(random() & 0x0F); break;
            default: row[x] = dib.row(y % 7)[x]; break;
            }
        }
    }
    return dib;
}

std::vector<uint8_t> block(const PackedDib& dib)
{
    return std::vector<uint8_t>(dib.data(), dib.data() + dib.size());
}

}  // namespace

TEST(LzssEncoder, BothLayoutsDecodeBackAndCompress)
{
    std::vector<uint8_t> data(20000);
    std::mt19937 random(7);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (i / 1000) % 2 ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(i % 17);
    uint8_t window[LzssDecoder::windowSize];
    for (auto layout : {LzssEncoder::Layout::mcg, LzssEncoder::Layout::sld}) {
        std::vector<uint8_t> stream = LzssEncoder::encode(layout, data.data(), data.size());
        std::vector<uint8_t> back(data.size());
        auto decode = layout == LzssEncoder::Layout::mcg ? McgLzssDecoder::decode : SldLzssDecoder::decode;
        LzssDecoder::Result r = decode(stream.data(), stream.size(), back.data(), back.size(), window);
        EXPECT_EQ(stream.size(), r.consumed);
        EXPECT_EQ(data, back);
        EXPECT_LT(stream.size(), data.size() * 3 / 4) << "half the data is repetitive";
    }
}

TEST(LzssEncoder, LeadingZerosReferToTheZeroWindow)
{
    std::vector<uint8_t> zeros(180, 0);
    std::vector<uint8_t> stream = LzssEncoder::encode(LzssEncoder::Layout::sld, zeros.data(), zeros.size());
    // Ten 18-byte copies in two groups: 2 flag bytes and 20 copy bytes.
    EXPECT_EQ(22u, stream.size());
}

TEST(ImageRoundTrip, BmpToMcgAndBackKeepsEveryDepth)
{
    struct Shape {
        int32_t width, height;
        uint16_t bits;
        uint32_t compression;
    } shapes[] = {{13, 7, 1, 0}, {13, 7, 4, 0}, {200, 60, 8, 0}, {1, 1, 8, 0},
                  {33, 21, 16, 3}, {45, 30, 24, 0}, {64, 50, 32, 0}};
    for (const Shape& s : shapes) {
        PackedDib original = picture(s.width, s.height, s.bits, s.compression);
        std::vector<uint8_t> bmp = BmpWriter::write(original);
        PackedDib read = BmpDecoder::decode(bmp.data(), bmp.size());
        ASSERT_EQ(block(original), block(read)) << s.bits << " bits through BMP";
        uint32_t flags[256] = {};
        flags[1] = 3;
        std::vector<uint8_t> mcg = McgWriter::write(read, flags);
        PackedDib back = McgDecoder::decode(mcg.data(), mcg.size());
        ASSERT_FALSE(back.empty()) << s.bits << " bits";
        EXPECT_EQ(block(original), block(back)) << s.bits << " bits through MCG";
        uint32_t readFlags[256];
        McgDecoder::readFlags(mcg.data(), mcg.size(), readFlags);
        if (s.bits <= 8 && s.compression == 0) {
            EXPECT_EQ(3u, readFlags[1]) << s.bits << " bits";
        }
    }
}

TEST(ImageRoundTrip, BmpToSldAndBackKeepsPixelsAndColours)
{
    for (int32_t width : {1, 3, 4, 150}) {
        PackedDib original = picture(width, 45, 8);
        std::vector<uint8_t> bmp = BmpWriter::write(original);
        PackedDib read = BmpDecoder::decode(bmp.data(), bmp.size());
        std::vector<uint8_t> sld = SldWriter::write(read);
        PackedDib back = SldDecoder::decodeFile(sld.data(), sld.size());
        ASSERT_FALSE(back.empty()) << width;
        EXPECT_EQ(block(original), block(back)) << "width " << width;
    }
    PackedDib trueColour = picture(5, 5, 24);
    EXPECT_TRUE(SldWriter::write(trueColour).empty()) << "SLD holds 8-bit pictures only";
}
