// Tests of MCG decoding: row order, colour flags, masks, and refusal of malformed files.
#include "ImageBytes.h"
#include "McgDecoder.h"
#include <gtest/gtest.h>
#include <numeric>

using ImageBytes::Mcg;

namespace {

// An 8-bit picture 3 pixels wide (rows padded to 4) whose row r, counted
// from the top, holds r * 10 + column.
Mcg eightBit(int32_t height)
{
    Mcg m;
    m.width = 3;
    m.height = height;
    m.colours = {0x011E140A, 0x00FFFFFF};
    for (int32_t r = 0; r < height; ++r)
        m.rows.insert(m.rows.end(), {uint8_t(r * 10), uint8_t(r * 10 + 1), uint8_t(r * 10 + 2), 0});
    return m;
}

PackedDib decode(const std::vector<uint8_t>& file)
{
    return McgDecoder::decode(file.data(), file.size());
}

}  // namespace

TEST(McgDecoder, RowsComeOutBottomUp)
{
    for (int32_t height : {1, 2, 5}) {
        PackedDib dib = decode(eightBit(height).bytes());
        ASSERT_FALSE(dib.empty()) << "height " << height;
        EXPECT_EQ(3, dib.width());
        EXPECT_EQ(height, dib.height());
        EXPECT_EQ(4u, dib.stride());
        for (int32_t y = 0; y < height; ++y) {
            // Storage row y is picture row height - 1 - y; a middle row stays.
            int32_t top = height - 1 - y;
            EXPECT_EQ(top * 10, dib.row(y)[0]) << "height " << height << " row " << y;
            EXPECT_EQ(top * 10 + 2, dib.row(y)[2]) << "height " << height << " row " << y;
        }
    }
}

TEST(McgDecoder, InfoHeaderAndColourTable)
{
    PackedDib dib = decode(eightBit(2).bytes());
    ASSERT_FALSE(dib.empty());
    const uint8_t* info = dib.data();
    EXPECT_EQ(40, info[0]);
    EXPECT_EQ(1, info[12]) << "planes";
    EXPECT_EQ(8, info[14]) << "bit count";
    EXPECT_EQ(2u, dib.colourCount());
    EXPECT_EQ(40u + 8 + 8, dib.size());
    // (10, 20, 30) with flag 1 keeps its colour and loses the flag.
    const uint8_t* table = dib.colourTable();
    EXPECT_EQ((std::vector<uint8_t>{10, 20, 30, 0, 255, 255, 255, 0}),
              std::vector<uint8_t>(table, table + 8));
}

TEST(McgDecoder, FlagBytesGoToTheFlagTable)
{
    Mcg m = eightBit(1);
    m.colours = {0x011E140A, 0x00000000, 0xFF000000};
    std::vector<uint8_t> file = m.bytes();
    uint32_t flags[256];
    std::fill(std::begin(flags), std::end(flags), 0xAAu);
    McgDecoder::readFlags(file.data(), file.size(), flags);
    EXPECT_EQ(1u, flags[0]);
    EXPECT_EQ(0u, flags[1]);
    EXPECT_EQ(0xFFu, flags[2]);
    EXPECT_EQ(0u, flags[3]) << "entries beyond the count are cleared";
    EXPECT_EQ(0u, flags[255]);

    m.statedColours = 257;
    file = m.bytes();
    McgDecoder::readFlags(file.data(), file.size(), flags);
    EXPECT_EQ(0u, flags[0]) << "a count beyond the table leaves all flags 0";
}

TEST(McgDecoder, BitFieldMasksPrecedeTheColourTable)
{
    Mcg m;
    m.width = 1;
    m.height = 2;
    m.bits = 16;
    m.compression = 3;
    m.masks = {0xF800, 0x07E0, 0x001F};
    m.colours = {0x00332211};
    m.rows = {1, 2, 0, 0, 3, 4, 0, 0};
    PackedDib dib = decode(m.bytes());
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(3u, dib.compression());
    EXPECT_EQ(0xF8, dib.masks()[1]);
    EXPECT_EQ(0x1F, dib.masks()[8]);
    EXPECT_EQ(0x11, dib.colourTable()[0]);
    EXPECT_EQ(3, dib.row(0)[0]);
    EXPECT_EQ(1, dib.row(1)[0]);
}

TEST(McgDecoder, StreamLongerThanTheRowsIsCut)
{
    Mcg m = eightBit(2);
    m.rows.resize(m.rows.size() + 100, 0x77);
    m.statedSize = 8;
    PackedDib dib = decode(m.bytes());
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(8u, dib.pixelBytes());
    EXPECT_EQ(10, dib.row(0)[0]);
}

TEST(McgDecoder, EveryTruncationGivesAnEmptyResult)
{
    std::vector<uint8_t> file = eightBit(5).bytes();
    ASSERT_FALSE(decode(file).empty());
    for (size_t size = 0; size < file.size(); ++size) {
        // A heap copy of exactly size bytes, so a read past it is caught by
        // the heap checker rather than landing in the rest of the file.
        std::vector<uint8_t> cut(file.begin(), file.begin() + size);
        EXPECT_TRUE(McgDecoder::decode(cut.data(), cut.size()).empty()) << "cut at " << size;
    }
}

TEST(McgDecoder, OutOfRangeHeadersAreRefused)
{
    struct Case {
        const char* what;
        void (*spoil)(Mcg&);
    } cases[] = {
        {"colour count 257", [](Mcg& m) { m.statedColours = 257; }},
        {"colour count past the file", [](Mcg& m) { m.statedColours = 0x40000000; }},
        {"stated size below the rows", [](Mcg& m) { m.statedSize = 4; }},
        {"height 0", [](Mcg& m) { m.height = 0; }},
        {"negative height", [](Mcg& m) { m.height = -2; }},
        {"huge width", [](Mcg& m) { m.width = 0x10000000; m.statedSize = 0xFFFFFFFF; }},
        {"huge but square", [](Mcg& m) { m.width = m.height = 30000; m.statedSize = 900000000; }},
        {"bit count 7", [](Mcg& m) { m.bits = 7; }},
        {"run-length compression", [](Mcg& m) { m.compression = 1; }},
        {"bit fields at 8 bits", [](Mcg& m) { m.compression = 3; m.masks = {1, 2, 4}; }},
    };
    for (const Case& c : cases) {
        Mcg m = eightBit(2);
        c.spoil(m);
        EXPECT_TRUE(decode(m.bytes()).empty()) << c.what;
    }
    std::vector<uint8_t> notMcg = eightBit(2).bytes();
    notMcg[3] = 'X';
    EXPECT_TRUE(decode(notMcg).empty());
    EXPECT_TRUE(McgDecoder::decode(nullptr, 0).empty());
}
