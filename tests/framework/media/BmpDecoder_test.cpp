// Tests of the BMP reader against files and pixels from ImageMagick, and against damaged files.
#include "BmpDecoder.h"
#include "BmpHeader.h"
#include "ImageBytes.h"
#include "PixelProbe.h"
#include <gtest/gtest.h>

namespace {

const char* const samples = "media-samples/";

struct Variant {
    const char* name;
    int bits;
    uint32_t colours;
};

}  // namespace

TEST(BmpDecoder, ImageMagickVariantsGiveImageMagicksPixels)
{
    const Variant variants[] = {
        {"p8full", 8, 256}, {"p8part", 8, 0},  {"core8", 8, 256}, {"p4", 4, 16},
        {"p1", 1, 2},       {"t24", 24, 0},    {"t32", 32, 0},
    };
    for (const Variant& v : variants) {
        std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + v.name + ".bmp");
        std::vector<uint8_t> expected = ImageBytes::readFile(std::string(samples) + v.name + ".rgb");
        ASSERT_FALSE(file.empty()) << v.name << ": samples are written at build time";
        PackedDib dib = BmpDecoder::decode(file.data(), file.size());
        ASSERT_FALSE(dib.empty()) << v.name;
        EXPECT_EQ(13, dib.width()) << v.name;
        EXPECT_EQ(7, dib.height()) << v.name;
        EXPECT_EQ(v.bits, dib.bitCount()) << v.name;
        if (v.colours) {
            EXPECT_EQ(v.colours, dib.colourCount()) << v.name;
        } else if (v.bits == 8) {
            EXPECT_LT(dib.colourCount(), 256u) << v.name << " has a partial table";
        }
        EXPECT_EQ(expected, PixelProbe::rgbTopDown(dib)) << v.name;
    }
}

// Run-length files come out as plain 8-bit pictures with ImageMagick's pixels.
TEST(BmpDecoder, RunLengthFilesAreExpandedToPlainRows)
{
    for (const char* name : {"rle8", "rle8few"}) {
        std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + name + ".bmp");
        std::vector<uint8_t> expected = ImageBytes::readFile(std::string(samples) + name + ".rgb");
        ASSERT_FALSE(file.empty()) << name << ": samples are written at build time";
        ASSERT_EQ(1u, file[30]) << name << " is not RLE8";
        PackedDib dib = BmpDecoder::decode(file.data(), file.size());
        ASSERT_FALSE(dib.empty()) << name;
        EXPECT_EQ(37, dib.width()) << name;
        EXPECT_EQ(9, dib.height()) << name;
        EXPECT_EQ(8, dib.bitCount()) << name;
        EXPECT_EQ(0u, dib.compression()) << name;
        EXPECT_EQ(expected, PixelProbe::rgbTopDown(dib)) << name;

        // The stream ends at the file's end: a cut in a code refuses it.
        std::vector<uint8_t> cut(file.begin(), file.end() - 1);
        EXPECT_TRUE(BmpDecoder::decode(cut.data(), cut.size()).empty()) << name;
    }
}

TEST(BmpDecoder, CoreHeaderBecomesAnInfoHeader)
{
    std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + "core8.bmp");
    ASSERT_EQ(12, file[14]);
    PackedDib dib = BmpDecoder::decode(file.data(), file.size());
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(40, dib.data()[0]);
    EXPECT_EQ(0, dib.colourTable()[3]) << "three-byte entries padded with 0";
    EXPECT_EQ(file[26 + 3], dib.colourTable()[4]) << "second entry starts three bytes on";
}

TEST(BmpDecoder, TopDownRowsAreStoredBottomUp)
{
    std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + "t24.bmp");
    ASSERT_FALSE(file.empty());
    PackedDib bottomUp = BmpDecoder::decode(file.data(), file.size());
    // The same picture with its rows reversed and a negative height.
    std::vector<uint8_t> flipped = file;
    const size_t bits = file[10] | file[11] << 8;  // offset of the rows
    const size_t stride = 40;                       // 13 pixels of 3 bytes, padded
    for (size_t y = 0; y < 7; ++y)
        std::copy(file.begin() + bits + (6 - y) * stride, file.begin() + bits + (7 - y) * stride,
                  flipped.begin() + bits + y * stride);
    ImageBytes::put32(flipped, 22, static_cast<uint32_t>(-7));
    PackedDib topDown = BmpDecoder::decode(flipped.data(), flipped.size());
    ASSERT_FALSE(topDown.empty());
    EXPECT_EQ(7, topDown.height());
    EXPECT_EQ(PixelProbe::rgbTopDown(bottomUp), PixelProbe::rgbTopDown(topDown));
}

TEST(BmpDecoder, TruncationsAndForgedFieldsGiveEmptyResults)
{
    std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + "p8part.bmp");
    ASSERT_FALSE(BmpDecoder::decode(file.data(), file.size()).empty());
    for (size_t size = 0; size < file.size(); ++size) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + size);
        EXPECT_TRUE(BmpDecoder::decode(cut.data(), cut.size()).empty()) << "cut at " << size;
    }
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"300 colours", 46, 300},
        {"pixel offset past the file", 10, 0x7FFFFFF0},
        {"pixel offset inside the colour table", 10, 60},
        {"huge width", 18, 0x7FFFFFFF},
        {"most negative height", 22, 0x80000000},
        {"run-length compression", 30, 1},
        {"info header of 200 bytes", 14, 200},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = file;
        ImageBytes::put32(bad, c.at, c.value);
        EXPECT_TRUE(BmpDecoder::decode(bad.data(), bad.size()).empty()) << c.what;
    }
    std::vector<uint8_t> ba = file;
    ba[1] = 'A';
    EXPECT_TRUE(BmpDecoder::decode(ba.data(), ba.size()).empty());
}

TEST(BmpHeader, FileSizeFieldIsNotTrusted)
{
    std::vector<uint8_t> file = ImageBytes::readFile(std::string(samples) + "p8full.bmp");
    ImageBytes::put32(file, 2, 0xFFFFFFFF);
    BmpHeader header;
    EXPECT_TRUE(header.read(file.data(), file.size()));
    EXPECT_FALSE(BmpDecoder::decode(file.data(), file.size()).empty());
}

// A run-length file whose stream is just the end-of-picture mark: such a file
// may claim a modest blank picture, but not one far larger than its stream.
TEST(BmpHeader, RunLengthStreamBoundsThePictureSize)
{
    struct Case {
        int32_t width, height;
        bool accepted;
    } cases[] = {{640, 480, true}, {4096, 4096, true}, {8192, 8192, false}, {32767, 8000, false}};
    for (const Case& c : cases) {
        std::vector<uint8_t> file(14 + 40 + 4 * 256 + 2, 0);
        file[0] = 'B';
        file[1] = 'M';
        ImageBytes::put32(file, 10, 14 + 40 + 4 * 256);
        ImageBytes::put32(file, 14, 40);
        ImageBytes::put32(file, 18, static_cast<uint32_t>(c.width));
        ImageBytes::put32(file, 22, static_cast<uint32_t>(c.height));
        file[26] = 1;
        file[28] = 8;
        ImageBytes::put32(file, 30, 1);
        file[file.size() - 1] = 1;  // 00 01: end of picture
        BmpHeader header;
        EXPECT_EQ(header.read(file.data(), file.size()), c.accepted) << c.width << "x" << c.height;
        EXPECT_EQ(BmpDecoder::decode(file.data(), file.size()).empty(), !c.accepted)
            << c.width << "x" << c.height;
    }
}
