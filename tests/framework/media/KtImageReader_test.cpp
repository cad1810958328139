// Tests of the file-facing readers: BMP header recognition, MCG and SLD readers on real files.
#include "ImageBytes.h"
#include "KtBitmapFileHeader.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "KtMcgReader.h"
#include "KtSldReader.h"
#include "PackedDib.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

// A file in the working folder holding the given bytes, opened for reading
// and writing, removed afterwards.
class TempImageFile {
public:
    explicit TempImageFile(const std::vector<uint8_t>& bytes, const char* name = "reader-test.img")
        : name_(name)
    {
        std::ofstream(name_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        file.open(name, OPEN_EXISTING, GENERIC_READ | GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    }
    ~TempImageFile()
    {
        file.close();
        std::remove(name_.c_str());
    }
    DWORD position() { return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT); }

    KtFile file;

private:
    std::string name_;
};

std::vector<uint8_t> smallMcg()
{
    ImageBytes::Mcg m;
    m.width = 2;
    m.height = 2;
    m.colours = {0x011E140A, 0x05FFFFFF};
    m.rows = {0, 1, 0, 0, 1, 0, 0, 0};
    return m.bytes();
}

// Frees a block handed out by a reader.
struct Block {
    explicit Block(void* p) : dib(static_cast<uint8_t*>(p)) {}
    ~Block() { KtHeap::free(dib, 0); }
    uint8_t* dib;
};

}  // namespace

// Modules call the readers by slot: the base's four, then MCG's own five.
TEST(KtImageReader, SlotsKeepTheOrderModulesCall)
{
    struct Case {
        const char* name;
        int actual;
        int expected;
    };
    const Case cases[] = {
        {"attach", slotNumber(&KtImageReader::attach), 1},
        {"formatId", slotNumber(&KtImageReader::formatId), 2},
        {"isMine", slotNumber(&KtImageReader::isMine), 3},
        {"load", slotNumber(&KtImageReader::load), 4},
        {"MCG formatId", slotNumber(&KtMcgReader::formatId), 2},
        {"MCG load", slotNumber(&KtMcgReader::load), 4},
        {"MCG decode", slotNumber(&KtMcgReader::decode), 5},
        {"MCG readFlags", slotNumber(&KtMcgReader::readFlags), 6},
        {"MCG colourCount", slotNumber(&KtMcgReader::colourCount), 7},
        {"MCG readColourTable", slotNumber(&KtMcgReader::readColourTable), 8},
        {"MCG writeColourTable", slotNumber(&KtMcgReader::writeColourTable), 9},
        {"SLD attach", slotNumber(&KtSldReader::attach), 1},
        {"SLD formatId", slotNumber(&KtSldReader::formatId), 2},
        {"SLD isMine", slotNumber(&KtSldReader::isMine), 3},
        {"SLD load", slotNumber(&KtSldReader::load), 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual) << c.name;
}

TEST(KtBitmapFileHeader, RecognisesBmOnly)
{
    std::vector<uint8_t> bytes = {'B', 'M', 0x36, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
    TempImageFile bmp(bytes);
    KtBitmapFileHeader header;
    header.read(bmp.file);
    ASSERT_TRUE(header.isBitmap());
    EXPECT_EQ(0x36u, header.header->bfSize);
    EXPECT_EQ(0x36u, header.header->bfOffBits);

    bytes[1] = 'A';
    TempImageFile ba(bytes, "reader-test-ba.img");
    header.read(ba.file);
    EXPECT_FALSE(header.isBitmap());
    EXPECT_EQ(nullptr, header.header);

    TempImageFile empty({}, "reader-test-empty.img");
    header.create(1, 2);
    header.read(empty.file);
    EXPECT_FALSE(header.isBitmap()) << "an empty file is no bitmap";

    KtFile closed;
    header.create(1, 2);
    header.read(closed);
    ASSERT_TRUE(header.isBitmap()) << "a closed file leaves the header alone";
    EXPECT_EQ(2u, header.header->bfOffBits);
}

TEST(KtMcgReader, HeaderOperationsRewindToTheAttachedPosition)
{
    TempImageFile f(smallMcg());
    KtMcgReader reader;
    EXPECT_EQ(1, reader.formatId());
    EXPECT_FALSE(reader.isMine()) << "nothing attached";
    EXPECT_EQ(0, reader.colourCount());
    reader.attach(f.file);
    ASSERT_TRUE(reader.isMine());
    EXPECT_EQ(0u, f.position());
    EXPECT_EQ(2, reader.colourCount());

    DWORD flags[256];
    std::fill(std::begin(flags), std::end(flags), 0xAAu);
    reader.readFlags(flags);
    EXPECT_EQ(1u, flags[0]);
    EXPECT_EQ(5u, flags[1]);
    EXPECT_EQ(0u, flags[2]);
    EXPECT_EQ(0u, f.position());

    uint32_t table[2] = {};
    reader.readColourTable(table);
    EXPECT_EQ(0x011E140Au, table[0]) << "the stored table keeps its flag bytes";
    uint32_t replaced[2] = {0x00000001, 0x00000002};
    reader.writeColourTable(replaced, 2);
    EXPECT_EQ(0u, f.position());
    reader.readColourTable(table);
    EXPECT_EQ(2u, table[1]);
}

TEST(KtMcgReader, AFileCutInsideItsTableGivesBlackForTheMissingEntries)
{
    std::vector<uint8_t> cut = smallMcg();
    cut.resize(64 + 4 + 2);   // the first entry and half the second
    TempImageFile f(cut);
    KtMcgReader reader;
    reader.attach(f.file);
    ASSERT_EQ(2, reader.colourCount());
    uint32_t table[2] = {0xAAAAAAAAu, 0xAAAAAAAAu};
    reader.readColourTable(table);
    EXPECT_EQ(0x011E140Au, table[0]);
    EXPECT_EQ(0u, table[1] & 0xFFFF0000u) << "the bytes the file lacks";
    EXPECT_EQ(0u, f.position());
}

TEST(KtMcgReader, ColourTableWritesStopAtTheStatedCount)
{
    const std::vector<uint8_t> original = smallMcg();
    for (int count : {1, 2, 3, 256}) {
        TempImageFile f(original);
        KtMcgReader reader;
        reader.attach(f.file);
        std::vector<uint32_t> table(256, 0x0BADF00Du);
        reader.writeColourTable(table.data(), count);
        f.file.close();
        std::ifstream in("reader-test.img", std::ios::binary);
        std::vector<uint8_t> now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(original.size(), now.size()) << count;
        const size_t written = 64 + 4 * size_t(std::min(count, 2));
        // The table's entries up to the stated two change, the rest not.
        for (size_t i = 64; i < written; ++i)
            EXPECT_EQ(i % 4 == 3 ? 0x0B : i % 4 == 2 ? 0xAD : i % 4 == 1 ? 0xF0 : 0x0D, now[i])
                << count << " at " << i;
        EXPECT_TRUE(std::equal(original.begin() + written, original.end(), now.begin() + written))
            << "bytes past the stated table changed with " << count;
    }
}

TEST(KtMcgReader, LoadGivesAHeapBlock)
{
    TempImageFile f(smallMcg());
    KtMcgReader reader;
    reader.attach(f.file);
    Block block(reader.load());
    ASSERT_NE(nullptr, block.dib);
    EXPECT_EQ(40, block.dib[0]);
    EXPECT_EQ(2, block.dib[4]) << "width";
    EXPECT_EQ(30, block.dib[40 + 2]) << "red of entry 0";
    EXPECT_EQ(0, block.dib[40 + 3]) << "flag cleared";
    EXPECT_EQ(1, block.dib[48 + 0]) << "bottom row first";
}

TEST(KtMcgReader, OtherFilesAreNotMine)
{
    TempImageFile f(ImageBytes::sld(2, 2, {0, 0, 0, 0, 0, 0, 0, 0}));
    KtMcgReader reader;
    reader.attach(f.file);
    EXPECT_FALSE(reader.isMine());
    EXPECT_EQ(nullptr, reader.load());
    DWORD flags[256] = {7};
    reader.readFlags(flags);
    EXPECT_EQ(7u, flags[0]) << "not touched for another format";
}

TEST(KtSldReader, AttachReadsTheHeaderAndLoadTheRest)
{
    TempImageFile f(ImageBytes::sld(3, 2, {1, 2, 3, 0, 4, 5, 6, 0}, {0x00ABCDEF}));
    KtSldReader reader;
    EXPECT_EQ(2, reader.formatId());
    EXPECT_FALSE(reader.isMine());
    reader.attach(f.file);
    ASSERT_TRUE(reader.isMine());
    EXPECT_EQ(3u, reader.heldHeader().width);
    EXPECT_EQ(1040u, f.position());
    Block block(reader.load());
    ASSERT_NE(nullptr, block.dib);
    EXPECT_EQ(8, block.dib[14]);
    EXPECT_EQ(0xEF, block.dib[40]);
    EXPECT_EQ(6, block.dib[40 + 1024 + 4 + 2]);
}

TEST(KtSldReader, ShortFileIsAnEmptyPictureWithDefaultColours)
{
    TempImageFile f({'x', 'y'});
    KtSldReader reader;
    reader.attach(f.file);
    ASSERT_TRUE(reader.isMine());
    Block block(reader.load());
    ASSERT_NE(nullptr, block.dib);
    EXPECT_EQ(0, block.dib[4]);
    EXPECT_EQ(0x80, block.dib[40 + 4 + 2]) << "entry 1 is dark red";
}

// A header of no possible picture is refused before its stream is read:
// the file still stands where the stream begins.
TEST(KtSldReader, ImplausibleHeaderIsRefusedBeforeTheStreamIsRead)
{
    struct Case {
        const char* name;
        uint32_t width, height;
    } cases[] = {
        {"width past the limit", 0x7FFFFFFFu, 2},
        {"height past the limit", 3, 0x80000000u},
        {"both", 0xFFFFFFFFu, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = ImageBytes::sld(3, 2, {1, 2, 3, 0, 4, 5, 6, 0});
        std::memcpy(&bytes[4], &c.width, 4);
        std::memcpy(&bytes[8], &c.height, 4);
        bytes.resize(bytes.size() + (size_t(1) << 20), 0x41);    // a long stream that decodes to much
        TempImageFile f(bytes);
        KtSldReader reader;
        reader.attach(f.file);
        ASSERT_EQ(1040u, f.position()) << c.name;
        EXPECT_EQ(nullptr, reader.load()) << c.name;
        EXPECT_EQ(1040u, f.position()) << c.name << ": the stream was read";
    }
}

TEST(KtSldReader, TruncatedStreamGivesNull)
{
    std::vector<uint8_t> bytes = ImageBytes::sld(3, 2, {1, 2, 3, 0, 4, 5, 6, 0});
    bytes.resize(bytes.size() - 1);
    TempImageFile f(bytes);
    KtSldReader reader;
    reader.attach(f.file);
    EXPECT_EQ(nullptr, reader.load());
}
