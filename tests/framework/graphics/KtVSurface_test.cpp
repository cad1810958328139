// Tests of the 8-bit surface: its table, lock, fill, tiling, stretching, DIBs and pixel transfers.
#include "ColourTable.h"
#include "CpuFeatures.h"
#include "ImportPatch.h"
#include "KtDib.h"
#include "KtRect.h"
#include "SurfaceTestKit.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <process.h>

using namespace kit;

namespace {
std::vector<RGBQUAD> sectionColours(KtVSurface& s)
{
    std::vector<RGBQUAD> table(256);
    KtDC& dc = s.lock();
    GetDIBColorTable(dc.handle(), 0, 256, table.data());
    s.unlock();
    return table;
}

bool same(const RGBQUAD& a, const RGBQUAD& b)
{
    return std::memcmp(&a, &b, 4) == 0;
}

std::vector<RGBQUAD> numbered(BYTE base)
{
    std::vector<RGBQUAD> t(256);
    for (int i = 0; i < 256; ++i)
        t[i] = RGBQUAD{BYTE(base + i), BYTE(i), BYTE(255 - i), 0};
    return t;
}

BYTE zero(int, int) { return 0; }
}

// Modules read hasMmx as "MMX present"; the loop kind is chosen elsewhere,
// and a processor with SSE2 still runs the SSE2 loops.
TEST(KtVSurface, HasMmxMeansMmxPresentAndTheWidestLoopsStillRun)
{
    const CpuFeatures& cpu = CpuFeatures::thisProcessor();
    KtVSurface s;
    KtVSurface24 t;
    EXPECT_EQ(cpu.mmx ? 1 : 0, s.hasMmx);
    EXPECT_EQ(cpu.mmx ? 1 : 0, t.hasMmx);
    const PixelLoopKind widest = cpu.avx2 && cpu.sse2 ? PixelLoopKind::avx2
                                 : cpu.sse2 ? PixelLoopKind::sse2
                                 : cpu.mmx ? PixelLoopKind::mmx
                                           : PixelLoopKind::plain;
    EXPECT_EQ(cpu.mmx ? widest : PixelLoopKind::plain, PixelRows::forSurface(s.hasMmx).kind);
    // A module that clears the field gets the plain loops.
    EXPECT_EQ(PixelLoopKind::plain, PixelRows::forSurface(0).kind);
}

TEST(KtVSurface, CreateOnATrueColourScreenGivesTheGreyRampInTableAndSection)
{
    ASSERT_FALSE(GetDeviceCaps(GetDC(nullptr), RASTERCAPS) & RC_PALETTE) << "runs at depth 24";
    KtVSurface s;
    s.create(3, 5);
    ASSERT_TRUE(s.hasPixels());
    EXPECT_EQ(4, s.stride());
    const BITMAPINFOHEADER& h = s.info->header;
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(5, h.biHeight);
    EXPECT_EQ(8, h.biBitCount);
    EXPECT_EQ(0u, h.biClrUsed);
    ColourQuad expected[256];
    ColourTable::initialTable(expected);
    const auto section = sectionColours(s);
    EXPECT_EQ(0, std::memcmp(expected, s.info->colours, 1024));
    EXPECT_EQ(0, std::memcmp(expected, section.data(), 1024));
}

TEST(KtVSurface, LockNestsAndDestroyGivesEverythingBackTwice)
{
    KtVSurface s;
    EXPECT_EQ(KtDC::windowKind, s.dc.kind()) << "holds the screen until the first lock";
    s.create(8, 8);
    KtDC& first = s.lock();
    HDC memory = first.handle();
    EXPECT_EQ(KtDC::memoryKind, first.kind());
    EXPECT_EQ(s.bitmap, GetCurrentObject(memory, OBJ_BITMAP));
    EXPECT_EQ(memory, s.lock().handle()) << "nested lock keeps the context";
    s.unlock();
    EXPECT_EQ(memory, s.dc.handle());
    s.unlock();
    EXPECT_EQ(nullptr, s.dc.handle());
    s.unlock();  // one too many does nothing
    EXPECT_EQ(0, s.lockCount);

    s.lock();
    s.lock();
    HBITMAP bitmap = s.bitmap;
    s.destroy();
    EXPECT_EQ(0, s.lockCount);
    EXPECT_EQ(nullptr, s.dc.handle());
    EXPECT_EQ(nullptr, s.bitmap);
    EXPECT_EQ(nullptr, s.info);
    EXPECT_EQ(0u, GetObjectType(bitmap)) << "section deleted";
    s.destroy();
}

// A surface of width 0 has no section: drawing from it leaves the
// destination as it was, drawing into it or filling it touches nothing.
TEST(KtVSurface, SizesWithoutASectionDrawNothing)
{
    KtVSurface s, dest;
    s.create(0, 4);
    dest.create(4, 4);
    ASSERT_FALSE(s.hasPixels());
    ASSERT_TRUE(dest.hasPixels());
    GdiFlush();
    std::memset(dest.bits, 0x5A, dest.stride() * 4);
    s.fill(3, nullptr);
    s.transfer(dest, 0, 0, 0, 0, 4, 4, -2);
    dest.transfer(s, 0, 0, 0, 0, 4, 4, -2);
    s.tileTo(dest, nullptr, TRUE);
    GdiFlush();
    EXPECT_FALSE(s.hasPixels());
    for (int i = 0; i < dest.stride() * 4; ++i)
        ASSERT_EQ(0x5A, dest.bits[i]) << "byte " << i;
}

TEST(KtVSurface, FillWritesRowsButNotTheirPaddingAndClipsItsArea)
{
    KtVSurface s;
    s.create(3, 4);
    GdiFlush();
    std::memset(s.bits, 0xEE, s.stride() * 4);
    s.fill(5, nullptr);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(5, s.bits[row * 4 + 2]);
        EXPECT_EQ(0xEE, s.bits[row * 4 + 3]) << "padding of row " << row;
    }

    KtVSurface t;
    t.create(10, 10);
    t.fill(0, nullptr);
    const KtRect area(-3, 8, 2, 20);
    t.fill(9, &area);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(x < 2 && y >= 8 ? 9 : 0, *t.pixelAddress(x, y)) << x << "," << y;
}

TEST(KtVSurface, SetColoursAndRangeAreClampedAndReachTheSection)
{
    KtVSurface s;
    s.create(4, 4);
    const auto before = std::vector<RGBQUAD>(s.info->colours, s.info->colours + 256);
    const auto src = numbered(100);

    s.setColours(src.data(), 250, 10, 20);
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(same(s.info->colours[i], i >= 250 ? src[i - 240] : before[i])) << i;
    EXPECT_TRUE(same(sectionColours(s)[255], src[15]));
    s.setColours(src.data(), 256, 0, 1);   // out of range: nothing
    s.setColours(nullptr, 0, 0, 1);
    EXPECT_TRUE(same(s.info->colours[0], before[0]));

    s.setColourRange(src.data(), -5, 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(same(s.info->colours[i], i < 3 ? src[i] : before[i])) << i;
    const auto other = numbered(7);
    s.setColourRange(other.data(), 300, 10);
    EXPECT_TRUE(same(s.info->colours[255], other[255]));
    EXPECT_TRUE(same(s.info->colours[254], src[14]));
    EXPECT_TRUE(same(sectionColours(s)[255], other[255]));
}

TEST(KtVSurface, FadeShowsStepsInTheSectionAndStoresTheTargetPastTheEnd)
{
    KtVSurface s;
    s.create(4, 4);
    const auto start = std::vector<RGBQUAD>(s.info->colours, s.info->colours + 256);
    std::vector<RGBQUAD> white(256, RGBQUAD{255, 255, 255, 0});

    s.fadeColours(white.data(), 0, 8);
    EXPECT_TRUE(same(sectionColours(s)[100], start[100]));
    s.fadeColours(white.data(), 4, 8);
    const RGBQUAD mid = sectionColours(s)[100];
    EXPECT_GT(mid.rgbRed, 100);
    EXPECT_LT(mid.rgbRed, 255);
    s.fadeColours(white.data(), 8, 8);
    EXPECT_TRUE(same(sectionColours(s)[100], white[100]));
    EXPECT_TRUE(same(s.info->colours[100], start[100])) << "stored table keeps the start";

    s.fadeColours(white.data(), 9, 8);
    EXPECT_TRUE(same(s.info->colours[100], white[100]));
    EXPECT_TRUE(same(sectionColours(s)[100], white[100]));
}

TEST(KtVSurface, TransferCopiesClipsAndHonoursTheKey)
{
    KtVSurface src, dest;
    src.create(10, 4);
    dest.create(10, 4);
    paint(src, [](int x, int y) { return BYTE(x == 0 && y == 0 ? 7 : (x % 3 == 0 ? 7 : x + 10)); });

    dest.fill(1, nullptr);
    src.transfer(dest, -5, 0, 0, 0, 10, 4, -2);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(x < 5 ? *src.pixelAddress(x + 5, 2) : 1, *dest.pixelAddress(x, 2)) << x;

    for (int key : {-1, 7}) {
        dest.fill(1, nullptr);
        src.transfer(dest, 0, 0, 0, 0, 10, 4, key);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 10; ++x) {
                const BYTE s = *src.pixelAddress(x, y);
                EXPECT_EQ(s == 7 ? 1 : s, *dest.pixelAddress(x, y)) << key << ": " << x << "," << y;
            }
    }

    dest.fill(1, nullptr);
    src.transfer(dest, 0, 0, 0, 0, 10, 4, 256);   // names no index: nothing is transparent
    EXPECT_EQ(7, *dest.pixelAddress(3, 1));
}

TEST(KtVSurface, BlendMixesTableColoursAtTheLevelInEveryLoopKind)
{
    for (PixelLoopKind kind : loopKinds()) {
        ForcedKind forced(kind);
        KtVSurface src;
        KtVSurface24 dest;
        src.create(20, 3);
        dest.create(20, 3);
        const RGBQUAD orange{0, 100, 200, 0};        // red 200, green 100, blue 0
        src.setColours(&orange, 40, 0, 1);
        src.fill(40, nullptr);
        *src.pixelAddress(5, 1) = 3;
        const uint32_t blue = 0x000064C8;            // red 0, green 100, blue 200
        fill24(dest, blue);

        src.blend(dest, 0, 0, 0, 0, 20, 3, 8);
        EXPECT_EQ(0x00646464u, pixel24(dest, 17, 2)) << "kind " << int(kind);

        fill24(dest, blue);
        src.blendKeyed(dest, 0, 0, 0, 0, 20, 3, 8, 40);
        EXPECT_EQ(blue, pixel24(dest, 17, 2));
        EXPECT_NE(blue, pixel24(dest, 5, 1)) << "kind " << int(kind);

        fill24(dest, blue);
        src.blend(dest, 0, 0, 0, 0, 20, 3, 20);
        EXPECT_EQ(0x00C86400u, pixel24(dest, 0, 0)) << "above 16 writes the table colour";
        fill24(dest, blue);
        src.blend(dest, 0, 0, 0, 0, 20, 3, -1);
        EXPECT_EQ(blue, pixel24(dest, 0, 0)) << "below 0 writes nothing";
    }
}

TEST(KtVSurface, BlendKeyedWithoutAKeyIsBlendAndTopLeftKeyIsRead)
{
    KtVSurface src;
    KtVSurface24 a, b;
    src.create(33, 9);
    a.create(40, 12);
    b.create(40, 12);
    paint(src, [](int x, int y) { return BYTE(x * 5 + y); });
    fill24(a, 0x00102030);
    fill24(b, 0x00102030);
    src.blend(a, 3, -2, 1, 0, 33, 9, 5);
    src.blendKeyed(b, 3, -2, 1, 0, 33, 9, 5, -2);
    EXPECT_EQ(0, std::memcmp(a.bits, b.bits, a.stride() * a.height()));

    fill24(b, 0x00102030);
    src.blendKeyed(b, 0, 0, 0, 0, 33, 9, 16, -1);   // top-left index is 0
    EXPECT_EQ(0x00102030u, pixel24(b, 0, 0));
    EXPECT_NE(0x00102030u, pixel24(b, 1, 0));
}

TEST(KtVSurface, TileToRepeatsWholeTilesThenPiecesAndCopiesColours)
{
    KtVSurface tile, dest;
    tile.create(30, 30);
    dest.create(120, 70);
    paint(tile, pattern);
    const auto colours = numbered(3);
    tile.setColourRange(colours.data(), 0, 256);
    dest.fill(0, nullptr);
    const KtRect area(5, 10, 105, 60);   // 100 × 50: 3 tiles + 10 wide, 30 + 20 high
    tile.tileTo(dest, &area, TRUE);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool inside = area.contains(x, y);
            const BYTE want = inside ? pattern((x - 5) % 30, (y - 10) % 30) : 0;
            ASSERT_EQ(want, *dest.pixelAddress(x, y)) << x << "," << y;
        }
    EXPECT_TRUE(same(dest.info->colours[77], colours[77]));

    dest.fill(0, nullptr);
    tile.tileTo(dest, nullptr, FALSE);
    EXPECT_EQ(pattern(29, 9), *dest.pixelAddress(119, 69));
}

TEST(KtVSurface, TileToDCBlitsWholeCopiesPastTheAreaEdge)
{
    KtVSurface tile;
    KtVSurface24 target;
    tile.create(30, 30);
    tile.fill(255, nullptr);      // white
    target.create(130, 70);
    fill24(target, 0x00123456);
    KtDC dc;
    dc.attach(target.lock().handle(), KtDC::borrowedKind);
    tile.tileToDC(dc, KtRect(0, 0, 100, 50));   // 4 columns, 2 rows
    GdiFlush();
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 130; ++x)
            ASSERT_EQ(x < 120 && y < 60 ? 0x00FFFFFFu : 0x00123456u, pixel24(target, x, y))
                << x << "," << y;
    KtDC empty;
    tile.tileToDC(empty, KtRect(0, 0, 10, 10));
    target.unlock();
}

namespace {
// Runs work on a thread of its own and answers whether it ended in time;
// state the work uses is left alive when it did not.
template <class Work>
unsigned __stdcall runWork(void* work)
{
    (*static_cast<Work*>(work))();
    return 0;
}

template <class Work>
bool endsWithin(DWORD milliseconds, Work* work)
{
    HANDLE thread =
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &runWork<Work>, work, 0, nullptr));
    const bool ended = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

BYTE tileValue(int x, int y) { return BYTE(1 + x + 3 * y); }
}

// However large the area, only the tiles the destination shows are visited,
// and they stay anchored at the area's top-left corner.
TEST(KtVSurface, TilingIsBoundedByTheDestination)
{
    struct Case {
        const char* name;
        int tileWidth, tileHeight;
        KtRect area;
    };
    const Case cases[] = {
        {"1x1 over a huge area", 1, 1, KtRect(0, 0, 100000000, 100000000)},
        {"1x1 over the widest area", 1, 1, KtRect(-2000000000, -2000000000, 2000000000, 2000000000)},
        {"anchored far to the top-left", 3, 2, KtRect(-1000000001, -999999999, 7, 5)},
        {"area beyond the destination", 3, 2, KtRect(500, 500, 100000000, 100000000)},
    };
    for (const Case& c : cases) {
        struct Work {
            KtVSurface tile, dest;
            KtRect area;
            void operator()() { tile.tileTo(dest, &area, FALSE); }
        };
        auto* work = new Work;
        work->tile.create(c.tileWidth, c.tileHeight);
        paint(work->tile, tileValue);
        work->dest.create(16, 12);
        work->dest.fill(0, nullptr);
        work->area = c.area;
        if (!endsWithin(20000, work)) {
            ADD_FAILURE() << c.name << ": still tiling after 20 s";
            continue;      // the thread still uses work
        }
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside = c.area.contains(x, y);
                const long long tx = (x - (long long)c.area.left) % c.tileWidth;
                const long long ty = (y - (long long)c.area.top) % c.tileHeight;
                ASSERT_EQ(inside ? tileValue(int(tx), int(ty)) : 0, *work->dest.pixelAddress(x, y))
                    << c.name << " at " << x << "," << y;
            }
        delete work;
    }

    struct DcWork {
        KtVSurface tile;
        KtVSurface24 target;
        void operator()()
        {
            KtDC dc;
            dc.attach(target.lock().handle(), KtDC::borrowedKind);
            tile.tileToDC(dc, KtRect(-2000000000, -2000000000, 2000000000, 2000000000));
            dc.release();
            target.unlock();
        }
    };
    auto* dcWork = new DcWork;
    dcWork->tile.create(1, 1);
    dcWork->tile.fill(255, nullptr);     // white
    dcWork->target.create(16, 12);
    fill24(dcWork->target, 0x00123456);
    ASSERT_TRUE(endsWithin(20000, dcWork)) << "tileToDC still blitting after 20 s";
    GdiFlush();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(0x00FFFFFFu, pixel24(dcWork->target, x, y)) << x << "," << y;
    delete dcWork;
}

namespace {
// Drawing that GDI has queued reaches the pixels at the flush. This stand-in
// for GdiFlush paints the top-left pixel, as a queued fill would.
KtVSurface* queuedTarget = nullptr;
BYTE queuedValue = 0;
BOOL WINAPI flushQueuedFill()
{
    if (queuedTarget)
        *queuedTarget->pixelAddress(0, 0) = queuedValue;
    return TRUE;
}
}

TEST(KtVSurface, TopLeftKeyIsReadAfterQueuedDrawingIsFlushed)
{
    KtVSurface src, dest;
    src.create(4, 1);
    dest.create(4, 1);
    KtVSurface24 frame;
    frame.create(4, 1);
    const RGBQUAD white{255, 255, 255, 0};
    for (BYTE i = 1; i <= 4; ++i) {
        *src.pixelAddress(i - 1, 0) = i;
        src.setColours(&white, i, 0, 1);
    }
    ImportPatch patch("gdi32.dll", "GdiFlush", reinterpret_cast<const void*>(&flushQueuedFill));
    ASSERT_TRUE(patch.active());
    queuedTarget = &src;
    queuedValue = 2;       // the queued fill makes the top-left pixel 2: the key
    dest.fill(9, nullptr);
    src.transfer(dest, 0, 0, 0, 0, 4, 1, -1);
    const BYTE expected[] = {9, 9, 3, 4};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(expected[x], *dest.pixelAddress(x, 0)) << "transfer at " << x;

    *src.pixelAddress(0, 0) = 1;
    fill24(frame, 0);
    src.blendKeyed(frame, 0, 0, 0, 0, 4, 1, 16, -1);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(x < 2 ? 0u : 0x00FFFFFFu, pixel24(frame, x, 0) & 0x00FFFFFF) << "blend at " << x;
    queuedTarget = nullptr;
}

TEST(KtVSurface, StretchToDoublesEachPixel)
{
    KtVSurface src, dest;
    src.create(2, 2);
    dest.create(6, 6);
    paint(src, [](int x, int y) { return BYTE(20 + x + 2 * y); });
    dest.fill(0, nullptr);
    src.stretchTo(dest, 1, 1, 4, 4);
    GdiFlush();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool in = x >= 1 && x < 5 && y >= 1 && y < 5;
            EXPECT_EQ(in ? 20 + (x - 1) / 2 + 2 * ((y - 1) / 2) : 0, *dest.pixelAddress(x, y))
                << x << "," << y;
        }
    EXPECT_EQ(0, src.lockCount);
    EXPECT_EQ(0, dest.lockCount);
}

TEST(KtVSurface, DrawDibKeepsTheSizeAndTakesTheDibsColours)
{
    auto block = packed8(5, 3, 16, [](int x, int y) { return BYTE(x + y * 5); });
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    ASSERT_NE(nullptr, dib.header);
    KtVSurface s;
    s.create(8, 8);
    s.fill(200, nullptr);
    s.drawDib(dib);
    EXPECT_EQ(8, s.width());
    EXPECT_EQ(13, *s.pixelAddress(3, 2));
    EXPECT_EQ(200, *s.pixelAddress(5, 0));
    EXPECT_EQ(200, *s.pixelAddress(0, 3));
    EXPECT_TRUE(same(s.info->colours[15], dib.colours[15]));
    EXPECT_TRUE(same(s.info->colours[16], RGBQUAD{0, 0, 0, 0})) << "beyond the DIB's 16 colours";
}

TEST(KtVSurface, CreateFromDibTakesOnly8BitPictures)
{
    auto block = packed8(6, 2, 16, [](int x, int y) { return BYTE(x * 2 + y); });
    KtDib dib;
    dib.setPacked(block.data(), block.size());
    KtVSurface s;
    s.create(3, 3);
    s.createFromDib(dib, 0);
    EXPECT_EQ(6, s.width());
    EXPECT_EQ(2, s.height());
    EXPECT_EQ(11, *s.pixelAddress(5, 1));
    EXPECT_EQ(0u, s.info->header.biClrUsed);
    EXPECT_TRUE(same(s.info->colours[3], dib.colours[3]));
    EXPECT_EQ(100, s.info->colours[100].rgbRed) << "entries past the DIB keep the grey ramp";
    const RGBQUAD shown = sectionColours(s)[3];
    EXPECT_EQ(dib.colours[3].rgbRed, shown.rgbRed);
    EXPECT_EQ(dib.colours[3].rgbBlue, shown.rgbBlue);

    BITMAPINFOHEADER h24 = {40, 2, 2, 1, 24};
    std::vector<uint8_t> block24(40 + 16, 0);
    std::memcpy(block24.data(), &h24, 40);
    KtDib dib24;
    dib24.setPacked(block24.data(), block24.size());
    ASSERT_NE(nullptr, dib24.header);
    s.createFromDib(dib24, 0);
    EXPECT_EQ(6, s.width()) << "a 24-bit DIB leaves the surface as it was";
}

TEST(KtVSurface, ScenarioSlotsReachTheirOperations)
{
    KtVSurface s;
    callSlot<void>(&s, 5, 7, 3);                    // create
    EXPECT_EQ(7, s.width());
    const RGBQUAD red{0, 0, 255, 0};
    callSlot<void>(&s, 14, &red, 20, 0, 1);         // setColours
    EXPECT_TRUE(same(s.info->colours[20], red));
    KtDC empty;
    EXPECT_EQ(0, callSlot<int>(&s, 9, &empty, 0, 0, 0, 0, 0, 0));   // blitTo without a context
    KtRect r(0, 0, 1, 1);
    callSlot<void>(&s, 23, &r);                     // changed: nothing
    EXPECT_EQ(7, s.width());
}
