// Layer composition tests: the one-pass composition against drawing every layer in turn, one GDI flush, bounded wrap work.
#include "ImportPatch.h"
#include "KtLayerViewport.h"
#include "PixelLoopKinds.h"
#include "PixelRows.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using kit::ForcedKind;
using kit::loopKinds;

void randomColours(KtVSurface& s, std::mt19937& rng)
{
    RGBQUAD table[256];
    for (RGBQUAD& c : table) {
        // Biased toward 0x00 and 0xFF, where lane arithmetic saturates.
        auto byte = [&] { return BYTE(rng() % 4 == 0 ? (rng() % 2 ? 0xFF : 0x00) : rng()); };
        c = RGBQUAD{byte(), byte(), byte(), byte()};
    }
    s.setColourRange(table, 0, 256);
}

// How the key index appears in a picture: nowhere, sparsely (some rows of
// a level-16 layer then cover what lies under them and some do not), or often.
enum class KeyPixels { none, sparse, often };

void paint(KtVSurface& s, std::mt19937& rng, int keyIndex, KeyPixels keys)
{
    const int phase = int(rng() % 97);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            BYTE v = BYTE((x * 7 + y * 13 + phase) % 200 + 40);
            if ((keys == KeyPixels::sparse && y % 5 == 2 && x % 11 == 4) ||
                (keys == KeyPixels::often && rng() % 3 == 0))
                v = BYTE(keyIndex);
            *s.pixelAddress(x, y) = v;
        }
}

// Draws every layer of the list in turn into a copy of the surface as it
// was: what composing did before it was done in one pass.
struct Reference {
    KtVSurface24 surface;
    KtRect dirty;
};

void drawLayerByLayer(KtLayerViewport& view, const KtRect& update, Reference& ref)
{
    KtObjectNode* node = view.layerList.first();
    for (int i = 0; i < view.layerList.count; ++i, node = node->next)
        static_cast<KtPrintArea*>(node->object)->drawInto(ref.surface, update, ref.dirty);
}

class Stacks {
public:
    explicit Stacks(unsigned seed) : rng_(seed) {}

    int pick(int lo, int hi) { return lo + int(rng_() % unsigned(hi - lo + 1)); }

    // One random layer: odd sizes, pictures away from (0, 0), areas partly
    // off the surface, every kind of key and level, wrap mode with periods
    // from 1 to beyond the picture, now and then the plain loops asked for.
    void define(KtLayerViewport& view, int index, int W, int H)
    {
        const int w = pick(1, 90), h = pick(1, 70);
        const int keys[] = {-2, -1, pick(0, 20), pick(0, 255), 300};
        const int key = keys[pick(0, 4)];
        const int levels[] = {pick(0, 16), 16, 16, pick(1, 15), 20, -1};
        const int level = levels[pick(0, 5)];
        const bool wrap = pick(0, 2) == 0;
        auto period = [&](int size) {
            const int choices[] = {0, 1, 2, size, size + pick(1, 30), std::max(1, size - 3)};
            return choices[pick(0, 5)];
        };
        view.defineLayer(index, wrap ? period(w) : pick(0, 1) * w, wrap ? period(h) : 0,
                         pick(-4, 4), pick(-4, 4), w, h, pick(-30, W), pick(-30, H),
                         pick(1, W + 40), pick(1, H + 40), pick(-20, 40), pick(-20, 40), key,
                         level, pick(-1, 8), 0);
        KtPrintArea& layer = view.layers[index];
        randomColours(layer.surface, rng_);
        const KeyPixels pixels[] = {KeyPixels::none, KeyPixels::sparse, KeyPixels::often};
        paint(layer.surface, rng_, key >= 0 && key < 256 ? key : pick(0, 20), pixels[pick(0, 2)]);
        if (key == -1)
            *layer.surface.pixelAddress(0, 0) = BYTE(pick(0, 20));
        layer.visible = pick(0, 7) != 0;
        layer.wrapSwitch = wrap || pick(0, 5) == 0;
        layer.wrapMode = wrap ? pick(1, 3) : 4 * pick(0, 1);   // bit 2 alone: no wrap
        if (pick(0, 5) == 0)
            layer.surface.hasMmx = 0;
    }

    // An opaque layer (level 16, no key) over part of the surface, at a
    // high priority, so that it covers part of the layers below it.
    void defineCover(KtLayerViewport& view, int index, int W, int H)
    {
        const int w = pick(5, W), h = pick(5, H);
        view.defineLayer(index, 0, 0, 0, 0, w, h, pick(-10, W - 5), pick(-10, H - 5), w, h, 0, 0,
                         -2, 16, pick(4, 9), 0);
        randomColours(view.layers[index].surface, rng_);
        paint(view.layers[index].surface, rng_, 0, KeyPixels::none);
        view.layers[index].visible = 1;
    }

    KtRect update(int W, int H)
    {
        return pick(0, 4) == 0 ? KtRect(-50, -50, W + 50, H + 50)
                               : KtRect(pick(-20, W), pick(-20, H), pick(0, W + 20), pick(0, H + 20));
    }

private:
    std::mt19937 rng_;
};

std::string firstDifference(const KtVSurface24& a, const KtVSurface24& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (std::memcmp(a.pixelAddress(x, y), b.pixelAddress(x, y), 4) != 0)
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return "";
}

std::string text(const KtRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Seeded random stacks on surfaces of odd sizes, with every loop kind: the
// one-pass composition gives the bytes and the changed area of drawing
// every layer in turn, covered parts and wrapped layers included.
TEST(LayerComposition, OnePassEqualsDrawingEveryLayerInTurn)
{
    struct Size {
        int w, h;
    };
    for (const Size size : {Size{203, 157}, Size{37, 29}}) {
        KtLayerViewport view(nullptr, KtString("compose"), 0, 0, size.w, size.h);
        ASSERT_TRUE(view.surface.hasPixels());
        for (PixelLoopKind kind : loopKinds()) {
            ForcedKind forced(kind);
            Stacks stacks(1000u + unsigned(kind) * 31u + unsigned(size.w));
            for (int round = 0; round < 25; ++round) {
                SCOPED_TRACE("size " + std::to_string(size.w) + " kind " +
                             std::to_string(int(kind)) + " round " + std::to_string(round));
                const int layerCount = stacks.pick(1, KtLayerViewport::layerCount);
                for (int i = 0; i < layerCount; ++i)
                    stacks.define(view, i, size.w, size.h);
                for (int c = stacks.pick(0, 3); c > 0; --c)
                    stacks.defineCover(view, stacks.pick(0, layerCount - 1), size.w, size.h);

                Reference ref;
                ref.surface.create(size.w, size.h);
                std::memcpy(ref.surface.bits, view.surface.bits, size_t(size.w) * size.h * 4);
                const KtRect update = stacks.update(size.w, size.h);
                drawLayerByLayer(view, update, ref);

                view.dirty = KtRect();
                view.recompose(update, FALSE);
                ASSERT_EQ("", firstDifference(ref.surface, view.surface)) << "update " << text(update);
                ASSERT_EQ(ref.dirty, view.dirty)
                    << "expected " << text(ref.dirty) << " got " << text(view.dirty);
                for (int i = 0; i < KtLayerViewport::layerCount; ++i)
                    view.removeLayer(i, FALSE);
            }
        }
    }
}

LONG flushes = 0;

BOOL WINAPI countFlush()
{
    InterlockedIncrement(&flushes);
    return TRUE;
}

// However many layers are blended, pending GDI drawing is flushed once per
// composition, not once per layer or piece.
TEST(LayerComposition, OneGdiFlushPerComposition)
{
    const int W = 64, H = 48;
    KtLayerViewport view(nullptr, KtString("flush"), 0, 0, W, H);
    ASSERT_TRUE(view.surface.hasPixels());
    std::mt19937 rng(5);
    for (int i = 0; i < KtLayerViewport::layerCount; ++i) {
        view.defineLayer(i, 7, 5, 0, 0, 20, 15, i, i, 40, 30, 0, 0, i % 3 ? 0 : -2, 8, -1, 0);
        randomColours(view.layers[i].surface, rng);
        paint(view.layers[i].surface, rng, 0, KeyPixels::often);
        view.layers[i].visible = 1;
        view.layers[i].wrapSwitch = i % 2;
        view.layers[i].wrapMode = 3;
    }
    ImportPatch patch("gdi32.dll", "GdiFlush", reinterpret_cast<const void*>(&countFlush));
    ASSERT_TRUE(patch.active()) << "the framework imports GdiFlush";
    struct Case {
        KtRect update;
        LONG expected;
    };
    const Case cases[] = {{KtRect(0, 0, W, H), 1}, {KtRect(3, 3, 9, 40), 1},
                          {KtRect(W, 0, W + 20, H), 0}};   // nothing of the surface: no work
    for (const Case& c : cases) {
        flushes = 0;
        view.recompose(c.update, FALSE);
        EXPECT_EQ(c.expected, flushes) << text(c.update);
    }
}

// Runs work on a thread of its own; a run that does not end in time fails
// the test program at once instead of hanging it.
DWORD WINAPI runWork(void* work)
{
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

void finishWithin(DWORD ms, const char* what, const std::function<void()>& work)
{
    HANDLE thread = CreateThread(nullptr, 0, runWork, const_cast<std::function<void()>*>(&work), 0,
                                 nullptr);
    ASSERT_NE(nullptr, thread);
    if (WaitForSingleObject(thread, ms) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not finish within %lu ms\n", what, static_cast<unsigned long>(ms));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 5);
    }
    CloseHandle(thread);
}

// A wrap layer with a period of 1 and an area far larger than the surface:
// the work is bounded by the surface's pixels, whatever the area, and
// coordinates a long way from the surface do not overflow.
TEST(LayerComposition, AHugeWrapAreaCostsNoMoreThanTheSurface)
{
    const int W = 160, H = 120;
    struct Case {
        const char* name;
        int left, top, width, height;
        KtRect update;
        bool throughViewport;
    };
    const Case cases[] = {
        {"recompose, 100 000 square", -50000, -50000, 100000, 100000,
         KtRect(-50000, -50000, 50000, 50000), true},
        {"drawInto, 100 000 square", -50000, -50000, 100000, 100000,
         KtRect(-50000, -50000, 50000, 50000), false},
        {"recompose, two thousand million wide", -1000000000, -1000000000, 2000000000, 2000000000,
         KtRect(-1000000000, -1000000000, 1000000000, 1000000000), true},
        {"drawInto, two thousand million wide", -1000000000, -1000000000, 2000000000, 2000000000,
         KtRect(-1000000000, -1000000000, 1000000000, 1000000000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KtLayerViewport view(nullptr, KtString("wrap"), 0, 0, W, H);
        ASSERT_TRUE(view.surface.hasPixels());
        std::memset(view.surface.bits, 0x11, size_t(W) * H * 4);
        view.defineLayer(1, 1, 1, 0, 0, 3, 3, c.left, c.top, c.width, c.height, 0, 0, -2, 16, 1, 0);
        KtPrintArea& layer = view.layers[1];
        RGBQUAD table[256] = {};
        table[77] = RGBQUAD{10, 20, 30, 0};
        layer.surface.setColourRange(table, 0, 256);
        layer.surface.fill(5, nullptr);
        *layer.surface.pixelAddress(0, 0) = 77;   // every point of a period of 1 shows this one
        layer.visible = layer.wrapSwitch = layer.wrapMode = 1;
        KtRect dirty;
        finishWithin(30000, c.name, [&] {
            if (c.throughViewport) {
                view.recompose(c.update, FALSE);
                dirty = view.dirty;
            } else {
                layer.drawInto(view.surface, c.update, dirty);
            }
        });
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint32_t v;
                std::memcpy(&v, view.surface.pixelAddress(x, y), 4);
                wrong += v != 0x001E140Au;
            }
        EXPECT_EQ(0, wrong) << "pixels not of the picture's first point";
        EXPECT_EQ(KtRect(0, 0, W, H), dirty) << text(dirty);
    }
}

}  // namespace
