// KtDib: table rules, packed blocks (sound, unusual and forged), BMP, MCG and SLD files, the Open dialog, memory failure.
#include "AddressSpaceFiller.h"
#include "Diagnostic.h"
#include "DibPixels.h"
#include "FileDialogDriver.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtPathName.h"
#include "KtString.h"
#include "McgWriter.h"
#include "MessageBoxRecorder.h"
#include "SldWriter.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A packed block: a 40-byte header, masks, table entries, then pixel bytes.
Bytes packed(int32_t width, int32_t height, uint16_t bits, uint32_t compression = BI_RGB,
             uint32_t used = 0, uint32_t imageSize = 0, size_t tableEntries = 0,
             size_t pixelBytes = 0)
{
    Bytes block(40 + (compression == BI_BITFIELDS ? 12 : 0) + 4 * tableEntries + pixelBytes);
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = compression;
    h.biSizeImage = imageSize;
    h.biClrUsed = used;
    std::memcpy(block.data(), &h, sizeof h);
    for (size_t i = 40; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 7);
    return block;
}

BITMAPINFOHEADER headerOf(int bits, uint32_t compression, uint32_t used)
{
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 1;
    h.biHeight = 1;
    h.biBitCount = static_cast<WORD>(bits);
    h.biCompression = compression;
    h.biClrUsed = used;
    return h;
}

// A DIB looking at a header it does not own, for the table rules.
struct BorrowedHeader : KtDib {
    explicit BorrowedHeader(BITMAPINFOHEADER* h) { header = h; }
    ~BorrowedHeader() override { header = nullptr; }
};

void writeFile(const std::string& name, const Bytes& bytes)
{
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string fullPath(const std::string& name)
{
    char buffer[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), MAX_PATH, buffer, nullptr);
    return buffer;
}

// An 8-bit picture with structure, and colours with flag bytes.
PackedDib picture8(int32_t width, int32_t height)
{
    PackedDib dib;
    EXPECT_TRUE(dib.create(width, height, 8, PackedDib::compressionRgb, 256));
    std::mt19937 random(7);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            dib.colourTable()[4 * i + c] = static_cast<uint8_t>(random());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            dib.row(y)[x] = static_cast<uint8_t>((x * 3 + y * 5) % 256);
    return dib;
}

// Every pixel and colour of the DIB equal to the packed picture.
void expectSamePicture(const PackedDib& expected, const KtDib& dib)
{
    ASSERT_NE(nullptr, dib.header);
    ASSERT_EQ(expected.width(), dib.header->biWidth);
    ASSERT_EQ(expected.height(), dib.header->biHeight);
    EXPECT_EQ(0, std::memcmp(expected.pixels(), dib.pixels, expected.pixelBytes()));
    for (int i = 0; i < 256; ++i) {
        const uint8_t* e = expected.colourTable() + 4 * i;
        const RGBQUAD& c = dib.colours[i];
        ASSERT_TRUE(e[0] == c.rgbBlue && e[1] == c.rgbGreen && e[2] == c.rgbRed) << "colour " << i;
    }
}

class KtDibTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& name : files_)
            std::remove(name.c_str());
    }
    std::string scratch(const std::string& name, const Bytes& bytes)
    {
        writeFile(name, bytes);
        files_.push_back(name);
        return name;
    }
    MessageBoxRecorder boxes;

private:
    std::vector<std::string> files_;
};

}  // namespace

TEST(KtDibRules, ColourCountPaletteSizeAndTable)
{
    struct Case {
        int bits;
        uint32_t compression;
        uint32_t used;
        bool hasTable;
        int colourCount;
        int paletteSize;
        int tableOffset;  // -1: none
    } cases[] = {
        {1, BI_RGB, 0, true, 2, 2, 40},
        {4, BI_RGB, 0, true, 16, 16, 40},
        {8, BI_RGB, 0, true, 256, 256, 40},
        {8, BI_RGB, 16, true, 16, 16, 40},
        {24, BI_RGB, 0, false, 0, 0, -1},
        {24, BI_RGB, 5, true, 5, 5, 40},
        // The three masks of a bit-field picture stand before its table.
        {16, BI_BITFIELDS, 0, false, 3, 0, -1},
        {32, BI_BITFIELDS, 2, true, 5, 2, 52},
    };
    for (const Case& c : cases) {
        BITMAPINFOHEADER h = headerOf(c.bits, c.compression, c.used);
        BorrowedHeader dib(&h);
        SCOPED_TRACE(testing::Message() << c.bits << " bits, compression " << c.compression
                                        << ", used " << c.used);
        EXPECT_EQ(c.hasTable, dib.hasColourTable());
        EXPECT_EQ(c.colourCount, dib.colourCount());
        EXPECT_EQ(c.paletteSize, dib.paletteSize());
        auto* table = reinterpret_cast<BYTE*>(dib.colourTable());
        EXPECT_EQ(c.tableOffset < 0 ? nullptr : reinterpret_cast<BYTE*>(&h) + c.tableOffset, table);
    }
    // A header too short to state a used count: the count is not looked at.
    BITMAPINFOHEADER shortHeader = headerOf(8, BI_RGB, 16);
    shortHeader.biSize = 32;
    BorrowedHeader dib(&shortHeader);
    EXPECT_EQ(256, dib.colourCount());
    KtDib empty;
    EXPECT_FALSE(empty.hasColourTable());
    EXPECT_EQ(nullptr, empty.colourTable());
    EXPECT_EQ(nullptr, empty.pixelAddress(0, 0));
}

TEST(KtDibRules, ConstructionFlagsMarkTheSystemColours)
{
    KtDib dib;
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ((i >= 10 && i <= 245) ? 1u : 0u, dib.colourFlags[i]) << i;
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(nullptr, dib.pixels);
}

TEST_F(KtDibTest, PackedBlockWithUsedCountAndPixelAddresses)
{
    // 8 bits, 16 colours used, 5 x 3 pixels: rows of 8 bytes.
    Bytes block = packed(5, 3, 8, BI_RGB, 16, 0, 16, 24);
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(104u, HeapSize(GetProcessHeap(), 0, dib.header));
    EXPECT_EQ(reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib.header) + 40), dib.colours);
    EXPECT_EQ(0, std::memcmp(dib.colours, block.data() + 40, 64));
    EXPECT_EQ(0, std::memcmp(dib.pixels, block.data() + 104, 24));
    // y counts from the top; the top row is stored last.
    EXPECT_EQ(dib.pixels + 16 + 2, dib.pixelAddress(2, 0));
    EXPECT_EQ(dib.pixels + 0 + 4, dib.pixelAddress(4, 2));
    dib.setPacked(nullptr);
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(nullptr, dib.colours);
    EXPECT_EQ(nullptr, dib.pixels);
}

TEST_F(KtDibTest, PixelBlockSizes)
{
    struct Case {
        int width, height, bits;
        uint32_t imageSize;
        size_t expected;
    } cases[] = {
        // Width rounded up to 4 pixels, times bytes a pixel; the rows
        // themselves (24 bytes) are all that is copied.
        {3, 2, 32, 0, 32},
        {3, 2, 24, 0, 24},
        {5, 2, 8, 0, 16},
        // 1 and 4 bits: whole rows padded to 32-bit words.
        {33, 2, 1, 0, 16},
        {9, 3, 4, 0, 24},
        // A stated size is kept when the block holds it, never below the rows.
        {3, 2, 32, 40, 40},
        {3, 2, 32, 8, 24},
    };
    for (const Case& c : cases) {
        size_t rows = ((c.width * c.bits + 31) / 32) * 4 * c.height;
        size_t entries = c.bits <= 8 ? (1u << c.bits) : 0;
        Bytes block = packed(c.width, c.height, c.bits, BI_RGB, 0, c.imageSize, entries,
                             std::max<size_t>(rows, c.imageSize));
        KtDib trusted, checked;
        trusted.setPacked(block.data());
        checked.setPacked(block.data(), block.size());
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        ASSERT_NE(nullptr, trusted.pixels);
        EXPECT_EQ(c.expected, HeapSize(GetProcessHeap(), 0, trusted.pixels));
        EXPECT_EQ(c.expected, HeapSize(GetProcessHeap(), 0, checked.pixels));
        EXPECT_EQ(0, std::memcmp(block.data() + 40 + 4 * entries, checked.pixels, rows));
    }
}

// A stated image size is the one size field read from outside: the header
// the DIB keeps states its own pixel block, never more.
TEST_F(KtDibTest, StatedImageSizeNeverExceedsThePixelBlock)
{
    struct Case {
        const char* name;
        uint32_t imageSize;
        bool sizeKnown;
        uint32_t expected;      // pixel block and stated size
    } cases[] = {
        {"forged, block size known", 1000, true, 24},
        {"forged past every limit", 0x7FFFFFF0u, true, 24},
        {"past every limit, block size unknown", 0x7FFFFFF0u, false, 24},
        {"honest", 40, true, 40},
    };
    for (const Case& c : cases) {
        Bytes block = packed(3, 2, 32, BI_RGB, 0, c.imageSize, 0, c.expected);
        KtDib dib;
        if (c.sizeKnown)
            dib.setPacked(block.data(), block.size());
        else
            dib.setPacked(block.data());
        ASSERT_NE(nullptr, dib.header) << c.name;
        EXPECT_EQ(c.expected, HeapSize(GetProcessHeap(), 0, dib.pixels)) << c.name;
        EXPECT_EQ(c.expected, dib.header->biSizeImage) << c.name;
    }
    // No stated size stays none.
    Bytes block = packed(3, 2, 32, BI_RGB, 0, 0, 0, 24);
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    EXPECT_EQ(0u, dib.header->biSizeImage);
}

TEST_F(KtDibTest, BitFieldMasksAreKeptBeforeTheRows)
{
    Bytes block = packed(2, 1, 32, BI_BITFIELDS, 0, 0, 0, 8);
    const uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
    std::memcpy(block.data() + 40, masks, 12);
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(52u, HeapSize(GetProcessHeap(), 0, dib.header));
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<BYTE*>(dib.header) + 40, masks, 12));
    EXPECT_EQ(0, std::memcmp(dib.pixels, block.data() + 52, 8));
    EXPECT_EQ(nullptr, dib.colours);
}

TEST_F(KtDibTest, CoreHeaderBlockGetsAFullHeaderAndFourByteEntries)
{
    // 12-byte header: width, height, planes, bits as 16-bit words.
    Bytes block = {12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 8, 0};
    for (int i = 0; i < 256; ++i)
        block.insert(block.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)});
    block.insert(block.end(), {9, 8, 0, 0});
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(40u, dib.header->biSize);
    EXPECT_EQ(2, dib.header->biWidth);
    EXPECT_EQ(1, dib.header->biHeight);
    EXPECT_EQ(1, dib.header->biPlanes);
    EXPECT_EQ(8, dib.header->biBitCount);
    EXPECT_EQ(0u, dib.header->biClrUsed);
    EXPECT_EQ(40u + 1024, HeapSize(GetProcessHeap(), 0, dib.header));
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& c = dib.colours[i];
        ASSERT_TRUE(c.rgbBlue == i && c.rgbGreen == 255 - i && c.rgbRed == i / 2 &&
                    c.rgbReserved == 0) << "entry " << i;
    }
    EXPECT_EQ(9, *dib.pixelAddress(0, 0));
    EXPECT_EQ(8, *dib.pixelAddress(1, 0));
}

TEST_F(KtDibTest, TopDownRowsAreStoredBottomUp)
{
    Bytes block = packed(4, -3, 8, BI_RGB, 1, 0, 1, 12);
    const uint8_t rows[12] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};  // top row first
    std::memcpy(block.data() + 44, rows, 12);
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(3, dib.header->biHeight);
    EXPECT_EQ(1, *dib.pixelAddress(0, 0));
    EXPECT_EQ(3, *dib.pixelAddress(3, 2));
    EXPECT_EQ(3, dib.pixels[0]);
}

TEST_F(KtDibTest, MalformedBlocksGiveAnEmptyDib)
{
    struct Case {
        const char* what;
        Bytes block;
    } cases[] = {
        {"rows cut short", packed(4, 4, 8, BI_RGB, 0, 0, 256, 15)},
        {"table cut short", packed(4, 4, 8, BI_RGB, 0, 0, 100, 0)},
        {"more than 256 colours", packed(1, 1, 24, BI_RGB, 300, 0, 300, 4)},
        {"run-length rows", packed(4, 1, 8, BI_RLE8, 0, 4, 256, 4)},
        {"bit fields at 8 bits", packed(4, 1, 8, BI_BITFIELDS, 0, 0, 256, 4)},
        {"negative width", packed(-4, 1, 8, BI_RGB, 0, 0, 256, 4)},
        {"huge picture", packed(32767, 32767, 32, BI_RGB, 0, 0, 0, 4)},
        {"header size 20", [] { Bytes b = packed(1, 1, 24, BI_RGB, 0, 0, 0, 4); b[0] = 20; return b; }()},
        {"four bytes only", Bytes{40, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        KtDib dib;
        dib.setPacked(c.block.data(), c.block.size());
        EXPECT_EQ(nullptr, dib.header) << c.what;
        EXPECT_EQ(nullptr, dib.pixels) << c.what;
    }
    // A forged image size is not believed beyond the block.
    Bytes forged = packed(2, 2, 8, BI_RGB, 1, 0x7FFFFFF0, 1, 8);
    KtDib dib;
    dib.setPacked(forged.data(), forged.size());
    ASSERT_NE(nullptr, dib.pixels);
    EXPECT_EQ(8u, HeapSize(GetProcessHeap(), 0, dib.pixels));
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(KtDibTest, UnusualBitCountIsReportedAndTakenAsFourBytes)
{
    Bytes block = packed(3, 2, 12, BI_RGB, 0, 0, 0, 32);
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_EQ(1u, boxes.count());
    MessageBoxRecorder::Box box = boxes.last();
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ("colorDepth()がおかしな値を返しました：12\n４バイトデータだと仮定して処理を継続します。", box.text);
    EXPECT_EQ("KtString class", box.caption);
    EXPECT_EQ(0x12000u, box.style);
    ASSERT_NE(nullptr, dib.pixels);
    EXPECT_EQ(32u, HeapSize(GetProcessHeap(), 0, dib.pixels));
}

TEST_F(KtDibTest, BmpFilesMadeByImageMagickLoadToItsPixels)
{
    for (const char* name : {"p8full", "p8part", "core8", "p4", "p1", "t24", "t32", "rle8", "rle8few"}) {
        std::string base = std::string("media-samples/") + name;
        KtDib dib;
        dib.loadFile(KtString((base + ".bmp").c_str()));
        EXPECT_EQ("", DibPixels::compare(dib, base + ".rgb")) << name;
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(0u, dib.colourFlags[i]) << name << " flag " << i;
    }
    KtDib dib;
    dib.loadFile(KtString("media-samples/t24.bmp"));
    EXPECT_EQ(nullptr, dib.colours);
    EXPECT_FALSE(dib.hasColourTable());
    dib.loadFile(KtString("media-samples/p8part.bmp"));
    EXPECT_EQ(static_cast<int>(dib.header->biClrUsed), dib.colourCount());
    EXPECT_GT(256, dib.colourCount());
}

TEST_F(KtDibTest, BmpSizeFieldsFromTheFileAreNotTrusted)
{
    Bytes bmp = DibPixels::readFile("media-samples/p8full.bmp");
    ASSERT_GT(bmp.size(), 100u);
    // A file-size field far beyond the file: the picture loads all the same.
    Bytes forged = bmp;
    forged[2] = forged[3] = forged[4] = 0xFF;
    forged[5] = 0x7F;
    KtDib dib;
    dib.loadFile(KtString(scratch("forged-size.bmp", forged).c_str()));
    EXPECT_EQ("", DibPixels::compare(dib, "media-samples/p8full.rgb"));
    // A file cut in its rows, and one cut after the file header: nothing.
    Bytes cut(bmp.begin(), bmp.end() - 5);
    dib.loadFile(KtString(scratch("cut-rows.bmp", cut).c_str()));
    EXPECT_EQ(nullptr, dib.header);
    dib.loadFile(KtString(scratch("header-only.bmp", Bytes(bmp.begin(), bmp.begin() + 14)).c_str()));
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(KtDibTest, McgFileLoadsWithItsColourFlags)
{
    PackedDib source = picture8(13, 5);
    uint32_t flags[256];
    for (int i = 0; i < 256; ++i)
        flags[i] = static_cast<uint32_t>((i * 11) & 3);
    KtDib dib;
    dib.loadFile(KtString(scratch("picture.mcg", McgWriter::write(source, flags)).c_str()));
    expectSamePicture(source, dib);
    // The flag of colour i is stored with that colour; the table's fourth
    // bytes are cleared.
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(flags[i], dib.colourFlags[i]) << i;
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(0, dib.colours[i].rgbReserved) << i;
}

TEST_F(KtDibTest, SldFileLoadsAndKeepsTheFlags)
{
    PackedDib source = picture8(13, 5);
    KtDib dib;
    dib.loadFile(KtString(scratch("picture.sld", SldWriter::write(source)).c_str()));
    expectSamePicture(source, dib);
    EXPECT_EQ(1u, dib.colourFlags[10]);
    EXPECT_EQ(0u, dib.colourFlags[9]);
}

TEST_F(KtDibTest, ImageFromTheFilesCurrentPosition)
{
    // Seven bytes of something else, then an "MCG " image.
    PackedDib source = picture8(6, 4);
    Bytes bytes = {'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    Bytes image = McgWriter::write(source);
    bytes.insert(bytes.end(), image.begin(), image.end());
    KtFile file;
    file.open(scratch("offset.img", bytes).c_str(), OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ,
              FILE_ATTRIBUTE_NORMAL);
    SetFilePointer(file.handle, 7, nullptr, FILE_BEGIN);
    KtDib dib;
    dib.load(file);
    expectSamePicture(source, dib);
}

TEST_F(KtDibTest, UnknownAndClosedFilesLeaveTheDibEmpty)
{
    KtDib dib;
    dib.loadFile(KtString("media-samples/p8full.bmp"));
    ASSERT_NE(nullptr, dib.header);
    // Neither BMP, MCG nor SLD, and no plug-in beside the program reads it.
    dib.loadFile(KtString(scratch("unknown.txt", Bytes(64, 'q')).c_str()));
    EXPECT_EQ(nullptr, dib.header);
    dib.loadFile(KtString("media-samples/p8full.bmp"));
    KtFile closed;
    dib.load(closed);
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(KtDibTest, LoadPathTakesThePathsText)
{
    KtPathName path(fullPath("media-samples/t24.bmp").c_str());
    KtDib dib;
    dib.loadPath(path);
    EXPECT_EQ("", DibPixels::compare(dib, "media-samples/t24.rgb"));
}

TEST_F(KtDibTest, EmptyNameAsksInTheOpenDialog)
{
    // The dialog moves the current directory to the chosen file's folder.
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    std::string picture = fullPath("media-samples/p4.bmp");
    std::string pixels = fullPath("media-samples/p4.rgb");
    KtDib dib;
    {
        FileDialogDriver driver(FileDialogDriver::Action::choose, picture);
        dib.loadFile(KtString(""));
        ASSERT_TRUE(driver.answered());
    }
    SetCurrentDirectoryA(directory);
    EXPECT_EQ("", DibPixels::compare(dib, pixels));
    {
        FileDialogDriver driver(FileDialogDriver::Action::cancel);
        dib.loadFile(KtString(""));
        ASSERT_TRUE(driver.answered());
    }
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(nullptr, dib.pixels);
}

TEST_F(KtDibTest, NoRoomForThePixelsThrowsNotEnoughMemory)
{
    // A sound 64 MiB picture whose copy cannot be had once the address
    // space is taken in 16 MiB pieces.
    const int32_t width = 4096, height = 4097;
    const SIZE_T rows = SIZE_T(width) * 4 * height;
    auto* block = static_cast<BYTE*>(VirtualAlloc(nullptr, 40 + rows, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, block);
    Bytes head = packed(width, height, 32);
    std::memcpy(block, head.data(), 40);
    bool thrown = false;
    std::string title, message;
    KtDib dib;
    {
        AddressSpaceFiller filler(16u << 20);
        try {
            dib.setPacked(block, 40 + rows);
        } catch (NotEnoughMemoryException& e) {
            thrown = true;
            title = e.title();
            message = e.message();
        }
    }
    VirtualFree(block, 0, MEM_RELEASE);
    ASSERT_TRUE(thrown);
    EXPECT_EQ("KtDib - create", title);
    EXPECT_EQ("メモリが足りません！", message);
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(nullptr, dib.pixels);
}
