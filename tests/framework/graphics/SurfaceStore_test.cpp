// Tests of the surfaces' stored and BMP forms: exact bytes, round trips, and records that must not be read.
#include "KtClassTag.h"
#include "ImportPatch.h"
#include "KtDib.h"
#include "SurfaceTestKit.h"
#include <gtest/gtest.h>

using namespace kit;

namespace {
void makePicture(KtVSurface& s)
{
    s.create(5, 3);     // stride 8: three padding bytes a row
    paint(s, [](int x, int y) { return BYTE(16 + x + y * 5); });
    std::vector<RGBQUAD> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(i / 2), BYTE(255 - i), 0};
    s.setColourRange(table.data(), 0, 256);
}

void makePicture24(KtVSurface24& s)
{
    s.create(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            setPixel24(s, x, y, 0x00010203u * uint32_t(x + 1) + uint32_t(y) * 0x00400000u);
}

template <class Surface>
std::vector<uint8_t> saved(Surface& s, const TempFile& file)
{
    KtFile out;
    openForWriting(out, file.path());
    s.save(out);
    out.close();
    return file.bytes();
}

std::vector<uint8_t> expectedRecord8(KtVSurface& s)
{
    auto out = tagRecord("KtVSurface");
    appendBytes(out, s.info, 1064);
    appendBytes(out, s.bits, s.stride() * s.height());
    return out;
}
}

TEST(SurfaceStore, SavedFormsAreTagHeaderColoursAndRows)
{
    TempFile file("kt-surface-save.bin");
    KtVSurface s;
    makePicture(s);
    EXPECT_EQ(expectedRecord8(s), saved(s, file));
    EXPECT_EQ(15u + 1064u + 24u, saved(s, file).size());

    KtVSurface24 t;
    makePicture24(t);
    auto want = tagRecord("KtVSurface24");
    appendBytes(want, t.info, 40);
    appendBytes(want, t.bits, 24);
    EXPECT_EQ(want, saved(t, file));

    KtVSurface empty;
    EXPECT_TRUE(saved(empty, file).empty()) << "no picture, nothing written";
}

TEST(SurfaceStore, LoadReadsBackWhatSaveWroteAndStopsAfterIt)
{
    TempFile file("kt-surface-roundtrip.bin");
    KtVSurface s;
    KtVSurface24 t;
    makePicture(s);
    makePicture24(t);
    {
        KtFile out;
        openForWriting(out, file.path());
        s.save(out);
        t.save(out);
        out.write("end", 3);
    }
    KtVSurface s2;
    KtVSurface24 t2;
    s2.create(2, 2);
    KtFile in;
    openForReading(in, file.path());
    s2.load(in);
    t2.load(in);
    char tail[4] = {};
    EXPECT_EQ(3u, in.read(tail, 3));
    EXPECT_STREQ("end", tail);

    ASSERT_EQ(5, s2.width());
    EXPECT_EQ(0, std::memcmp(s.info, s2.info, 1064));
    EXPECT_EQ(0, std::memcmp(s.bits, s2.bits, 24));
    RGBQUAD section[256];
    GetDIBColorTable(s2.lock().handle(), 0, 256, section);
    s2.unlock();
    EXPECT_EQ(0, std::memcmp(s.info->colours, section, 1024));
    ASSERT_EQ(3, t2.width());
    EXPECT_EQ(0, std::memcmp(t.bits, t2.bits, 24));
}

TEST(SurfaceStore, LoadOfAnotherClassesRecordChangesNothing)
{
    TempFile file("kt-surface-other.bin");
    KtVSurface s;
    KtVSurface24 t;
    makePicture(s);
    makePicture24(t);
    {
        KtFile out;
        openForWriting(out, file.path());
        t.save(out);
        s.save(out);
    }
    KtVSurface keep;
    KtVSurface24 keep24;
    keep.create(4, 4);
    keep.fill(9, nullptr);
    keep24.create(2, 2);
    KtFile in;
    openForReading(in, file.path());
    keep.load(in);          // the next record is a true-colour surface
    EXPECT_EQ(0u, position(in));
    EXPECT_EQ(4, keep.width());
    EXPECT_EQ(9, *keep.pixelAddress(3, 3));
    t.load(in);
    const DWORD second = position(in);
    keep24.load(in);        // and now an 8-bit one
    EXPECT_EQ(second, position(in));
    EXPECT_EQ(2, keep24.width());
}

TEST(SurfaceStore, ForgedHeadersAreRefusedBeforeAnythingIsAllocated)
{
    TempFile file("kt-surface-forged.bin");
    KtVSurface s;
    makePicture(s);
    const auto good = expectedRecord8(s);
    const size_t at = 15;   // the header follows the 15-byte tag record
    auto forge = [&](auto change) {
        auto bytes = good;
        BITMAPINFOHEADER h;
        std::memcpy(&h, &bytes[at], 40);
        change(h);
        std::memcpy(&bytes[at], &h, 40);
        return bytes;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto truncated = good;
    truncated.resize(good.size() - 1);
    // Sound for the record's own checks, and with every byte present, but
    // wider than any picture a DIB takes: only building it tells.
    auto tooWide = forge([](BITMAPINFOHEADER& h) { h.biWidth = 40000; h.biHeight = 1; });
    tooWide.resize(at + 1064 + 40000, 0x11);
    const Case cases[] = {
        {"huge width", forge([](BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFF0; })},
        {"wrapping size", forge([](BITMAPINFOHEADER& h) { h.biWidth = 0x10000; h.biHeight = 0x10000; })},
        {"zero height", forge([](BITMAPINFOHEADER& h) { h.biHeight = 0; })},
        {"top-down", forge([](BITMAPINFOHEADER& h) { h.biHeight = -3; })},
        {"24 bits", forge([](BITMAPINFOHEADER& h) { h.biBitCount = 24; })},
        {"compressed", forge([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; })},
        {"one byte short", truncated},
        {"wider than any picture", tooWide},
    };
    for (const Case& c : cases) {
        file.write(c.bytes);
        KtVSurface keep;
        keep.create(4, 4);
        keep.fill(9, nullptr);
        KtFile in;
        openForReading(in, file.path());
        keep.load(in);
        EXPECT_EQ(0u, position(in)) << c.what;
        ASSERT_EQ(4, keep.width()) << c.what;
        EXPECT_EQ(9, *keep.pixelAddress(0, 0)) << c.what;
    }

    // A forged used-colour count or image size is not believed either.
    file.write(forge([](BITMAPINFOHEADER& h) { h.biClrUsed = 5000; h.biSizeImage = 1 << 30; }));
    KtVSurface loaded;
    KtFile in;
    openForReading(in, file.path());
    loaded.load(in);
    ASSERT_EQ(5, loaded.width());
    EXPECT_EQ(0, std::memcmp(s.bits, loaded.bits, 24));
    EXPECT_EQ(0, std::memcmp(s.info->colours, loaded.info->colours, 1024));
}

// Bitmap resources may state any plane count; a surface built from one is
// stored with one plane, the only count a stored record is read back with.
TEST(SurfaceStore, PicturesOfAnyPlaneCountAreStoredSoTheyReadBack)
{
    TempFile file("kt-surface-planes.bin");
    for (WORD planes : {0, 3}) {
        auto block = packed8(5, 3, 256, [](int x, int y) { return BYTE(x + 7 * y); });
        reinterpret_cast<BITMAPINFOHEADER*>(block.data())->biPlanes = planes;
        KtDib dib;
        dib.setPacked(block.data(), block.size());
        ASSERT_NE(nullptr, dib.header) << planes;
        KtVSurface s;
        s.createFromDib(dib, 0);
        ASSERT_EQ(5, s.width()) << planes;
        EXPECT_EQ(1, s.info->header.biPlanes) << planes;
        saved(s, file);
        KtVSurface back;
        KtFile in;
        openForReading(in, file.path());
        back.load(in);
        ASSERT_EQ(5, back.width()) << planes;
        EXPECT_EQ(0, std::memcmp(s.bits, back.bits, size_t(s.stride()) * 3)) << planes;
    }
}

namespace {
// A file that gives at most half of any large read, as one changed or cut
// under the reader would.
using ReadFileFn = BOOL(WINAPI*)(HANDLE, void*, DWORD, DWORD*, OVERLAPPED*);
ReadFileFn realReadFile = nullptr;
BOOL WINAPI halfReadFile(HANDLE file, void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped)
{
    return realReadFile(file, buffer, size > 1000 ? size / 2 : size, done, overlapped);
}
}

TEST(SurfaceStore, ARecordTheFileGivesOnlyInPartLeavesTheSurface)
{
    TempFile file("kt-surface-short.bin");
    KtVSurface s;
    makePicture(s);
    saved(s, file);
    ImportPatch patch("kernel32.dll", "ReadFile", reinterpret_cast<const void*>(&halfReadFile));
    ASSERT_TRUE(patch.active());
    realReadFile = reinterpret_cast<ReadFileFn>(const_cast<void*>(patch.original()));
    KtVSurface keep;
    keep.create(4, 4);
    keep.fill(9, nullptr);
    KtFile in;
    openForReading(in, file.path());
    keep.load(in);
    EXPECT_EQ(0u, position(in));
    EXPECT_EQ(4, keep.width());
    EXPECT_EQ(9, *keep.pixelAddress(3, 3));
}

TEST(SurfaceStore, BmpExportIsFileHeaderInfoColoursAndRows)
{
    TempFile file("kt-surface-export.bmp");
    KtVSurface s;
    makePicture(s);
    std::vector<uint8_t> want;
    append(want, uint16_t(0x4D42));
    append(want, uint32_t(24 + 1078));
    append(want, uint32_t(0));
    append(want, uint32_t(1078));
    appendBytes(want, s.info, 1064);
    appendBytes(want, s.bits, 24);
    TempFile named("kt-surface-export.xyz");
    s.saveBmp(named.path());       // the extension becomes .bmp
    EXPECT_EQ(want, file.bytes());
    // Over an older, longer file nothing of it is left at the end.
    file.write(std::vector<uint8_t>(5000, 0xEE));
    s.saveBmp(named.path());
    EXPECT_EQ(want, file.bytes());

    KtVSurface24 t;
    t.create(10, 10);
    KtFile out;
    openForWriting(out, file.path());
    t.writeBmp(out);
    out.close();
    const auto bytes = file.bytes();
    ASSERT_EQ(454u, bytes.size());
    EXPECT_EQ(54u, *reinterpret_cast<const uint32_t*>(&bytes[10]));
    EXPECT_EQ(454u, *reinterpret_cast<const uint32_t*>(&bytes[2]));
    EXPECT_EQ(32, bytes[14 + 14]);
}

// Leaves an exported picture and the red, green, blue bytes it must show in
// the working folder; bmp-export-magick.sh has ImageMagick read the picture
// on the host and compares.
TEST(SurfaceStore, WritesAnExportForImageMagick)
{
    KtVSurface s;
    s.create(37, 5);    // rows of 40 bytes: padding ImageMagick must skip
    paint(s, [](int x, int y) { return BYTE(x * 7 + y * 50); });
    std::vector<RGBQUAD> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i * 3), BYTE(255 - i), BYTE(i ^ 0x5A), 0};
    s.setColourRange(table.data(), 0, 256);
    s.saveBmp("surface-magick");
    std::vector<uint8_t> rgb;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const RGBQUAD c = s.info->colours[*s.pixelAddress(x, y)];
            rgb.insert(rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    writeFile("surface-magick.rgb", rgb);
}
