// KtPrintArea tests: settings, attached objects, and drawInto against a per-pixel reference, with and without wrap mode.
#include "KtLayerViewport.h"
#include "KtPrintArea.h"
#include "KtPrintAreaObject.h"
#include "SurfaceTestKit.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// Colour of index i in the layers' tables: distinct in every byte.
RGBQUAD colourOf(int i)
{
    return RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
}

void giveColours(KtVSurface& s)
{
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = colourOf(i);
    s.setColourRange(table, 0, 256);
}

uint32_t asWord(RGBQUAD c)
{
    return uint32_t(c.rgbBlue) | uint32_t(c.rgbGreen) << 8 | uint32_t(c.rgbRed) << 16 |
           uint32_t(c.rgbReserved) << 24;
}

uint32_t mixWord(uint32_t d, uint32_t p, int level)
{
    uint32_t out = 0;
    for (int b = 0; b < 32; b += 8) {
        const uint32_t dv = d >> b & 0xFF, pv = p >> b & 0xFF;
        out |= ((dv * (16 - level) + pv * level) / 16) << b;
    }
    return out;
}

int floorMod(int v, int period)
{
    const int m = v % period;
    return m < 0 ? m + period : m;
}

// What one viewport pixel should become, worked out point by point: the
// picture-space point under it, reduced into the period in wrap mode, then
// looked up in the picture wherever it lies.
uint32_t expectedPixel(const KtPrintArea& a, const KtRect& update, int x, int y, uint32_t before,
                       bool& drawn)
{
    drawn = false;
    if (!a.visible || a.level < 1 || !update.contains(x, y) || !a.area.contains(x, y))
        return before;
    int px = x - a.area.left + a.originX, py = y - a.area.top + a.originY;
    if (a.wrapOn()) {
        if (a.wrapWidth > 0)
            px = floorMod(px, a.wrapWidth);
        if (a.wrapHeight > 0)
            py = floorMod(py, a.wrapHeight);
    }
    if (!a.picture.contains(px, py))
        return before;
    drawn = true;
    const BYTE index = *a.surface.pixelAddress(px - a.picture.left, py - a.picture.top);
    const int keyIndex = a.key == -1 ? *a.surface.pixelAddress(0, 0) : a.key;
    if (index == keyIndex)
        return before;
    const uint32_t colour = asWord(colourOf(index));
    return a.level >= 16 ? colour : mixWord(before, colour, a.level);
}

struct DrawCase {
    const char* name;
    KtRect area;
    int originX, originY;
    KtRect picture;   // position and size in picture space
    int wrapW, wrapH, wrapMode;
    int level, key;
    KtRect update;
};

class DrawInto : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawInto, MatchesThePointByPointMapping)
{
    const DrawCase& c = GetParam();
    KtPrintArea layer;
    layer.setPicture(c.wrapW, c.wrapH, c.picture.left, c.picture.top, c.picture.width(),
                     c.picture.height(), c.key, c.level, 0);
    layer.setArea(c.area.left, c.area.top, c.area.width(), c.area.height(), c.originX, c.originY);
    layer.visible = 1;
    layer.wrapSwitch = c.wrapMode ? 1 : 0;
    layer.wrapMode = c.wrapMode;
    giveColours(layer.surface);
    kit::paint(layer.surface, kit::pattern);
    *layer.surface.pixelAddress(3, 2) = BYTE(layer.key >= 0 ? layer.key : 9);

    KtVSurface24 dest;
    dest.create(80, 60);
    ASSERT_TRUE(dest.hasPixels());
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            kit::setPixel24(dest, x, y, 0x00102030u + uint32_t(x * 3 + y));
    std::vector<uint32_t> before(80 * 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            before[y * 80 + x] = kit::pixel24(dest, x, y);

    KtRect dirty;
    layer.drawInto(dest, c.update, dirty);

    KtRect reach;   // the bounding box of every pixel the layer maps
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            bool drawn;
            const uint32_t want = expectedPixel(layer, c.update, x, y, before[y * 80 + x], drawn);
            if (drawn)
                reach.unite(KtRect(x, y, x + 1, y + 1));
            if (kit::pixel24(dest, x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": expected " << std::hex << want
                              << " got " << kit::pixel24(dest, x, y);
        }
    EXPECT_EQ(0, wrong);
    EXPECT_EQ(reach, dirty) << "dirty " << dirty.left << "," << dirty.top << "," << dirty.right
                            << "," << dirty.bottom;
}

const KtRect all(0, 0, 80, 60);

INSTANTIATE_TEST_SUITE_P(
    PrintArea, DrawInto,
    ::testing::Values(
        DrawCase{"simple", {10, 5, 40, 30}, 0, 0, {0, 0, 24, 20}, 0, 0, 0, 16, -2, all},
        DrawCase{"pictureAway", {10, 5, 50, 40}, 2, 1, {7, 3, 31, 23}, 0, 0, 0, 16, -2, all},
        DrawCase{"partialUpdate", {10, 5, 50, 40}, 0, 0, {0, 0, 40, 35}, 0, 0, 0, 16, -2,
                 {20, 12, 33, 70}},
        DrawCase{"keyedHalf", {4, 4, 60, 50}, 3, 3, {0, 0, 40, 30}, 0, 0, 0, 8, 9, all},
        DrawCase{"topLeftKey", {4, 4, 60, 50}, 0, 0, {0, 0, 40, 30}, 0, 0, 0, 11, -1, all},
        DrawCase{"wrapRight", {5, 5, 15, 13}, 10, 2, {0, 0, 16, 12}, 16, 12, 1, 16, -2, all},
        DrawCase{"wrapBottom", {5, 5, 15, 13}, 2, 8, {0, 0, 16, 12}, 16, 12, 2, 16, -2, all},
        DrawCase{"wrapBoth", {5, 5, 15, 13}, 10, 8, {0, 0, 16, 12}, 16, 12, 3, 16, -2, all},
        DrawCase{"wrapBothKeyed", {5, 5, 15, 13}, 10, 8, {0, 0, 16, 12}, 16, 12, 1, 8, 9, all},
        DrawCase{"wrapPictureAway", {5, 5, 65, 55}, 5, 5, {4, 3, 12, 9}, 16, 12, 1, 16, -2, all},
        DrawCase{"wrapPictureAwayPartial", {5, 5, 65, 55}, -7, 30, {4, 3, 12, 9}, 16, 12, 3, 16,
                 -2, {20, 10, 50, 33}},
        DrawCase{"wrapSwitchWithoutModeBits", {5, 5, 15, 13}, 10, 8, {0, 0, 16, 12}, 16, 12, 4,
                 16, -2, all},
        DrawCase{"levelZero", {10, 5, 40, 30}, 0, 0, {0, 0, 24, 20}, 0, 0, 0, 0, -2, all}),
    [](const ::testing::TestParamInfo<DrawCase>& info) { return std::string(info.param.name); });

TEST(PrintArea, SettingsAndTheirLimits)
{
    KtPrintArea layer;
    layer.setPicture(5, 6, -3, 4, 20, 10, 7, 9, 77);
    EXPECT_EQ(KtRect(-3, 4, 17, 14), layer.picture);

    auto* owner = reinterpret_cast<KtLayerViewport*>(&layer);   // only compared, never used
    EXPECT_EQ(1, layer.attach(owner, 3, 8, 10, 20, 30, 40, 1, 2));
    EXPECT_EQ(0, layer.attach(nullptr, 4, 9, 0, 0, 5, 5, 0, 0)) << "already defined";
    EXPECT_EQ(owner, layer.owner);
    EXPECT_EQ(3, layer.index);

    layer.setArea(50, 25, 0, -1, 3, 4);   // keeps the size, moves the edges
    EXPECT_EQ(KtRect(50, 25, 80, 65), layer.area);
    EXPECT_EQ(3, layer.originX);

    // Surface (0, 0) is picture (-3, 4), shown at (50 - 3 - 3, 25 + 4 - 4): six
    // columns fall left of the area.
    KtRect r(0, 0, 10, 4);
    EXPECT_TRUE(layer.toViewport(r));
    EXPECT_EQ(KtRect(50, 25, 54, 29), r);
    KtRect outside(0, 0, 2, 2);
    EXPECT_FALSE(layer.toViewport(outside)) << "left of the area";

    layer.owner = nullptr;
    layer.clear();   // a free area is left alone
    EXPECT_EQ(3, layer.index);
    layer.owner = owner;
    layer.clear();
    EXPECT_EQ(nullptr, layer.owner);
    EXPECT_EQ(16, layer.surface.width());
}

// Records what the host does with an attached object.
class ProbeObject : public KtPrintAreaObject {
public:
    int release(KtWindow* v, int value) override
    {
        calls.push_back("release " + std::to_string(value));
        return answer;
    }
    // What the release before it left: the detach step clears the same
    // rectangle again, so only here do the two answers differ.
    void detach(KtWindow*) override
    {
        calls.push_back("detach");
        activeAtDetach = active;
        pixelAtDetach = surface ? *surface->pixelAddress(rect.left, rect.top) : -1;
    }
    std::vector<std::string> calls;
    int answer = 1;
    int activeAtDetach = -1;
    int pixelAtDetach = -1;
};

class Deleted : public KtPrintAreaObject {
public:
    explicit Deleted(bool& flag) : flag_(flag) {}
    ~Deleted() override { flag_ = true; }
    bool& flag_;
};

TEST(PrintArea, ReleasingObjectsAsksThemAndClearsTheirRectangles)
{
    KtVSurface picture;
    picture.create(20, 20);
    picture.fill(5, nullptr);
    auto* viewport = reinterpret_cast<KtWindow*>(&picture);   // only passed along
    struct Case {
        int answer;
        const char* firstCall;
        int activeAtDetach;   // a positive answer ends the object's turn at once
        int pixelAtDetach;    // and clears its rectangle then
    };
    for (const Case& c : {Case{1, "release 7", 0, 0}, Case{0, "release 7", 1, 5}}) {
        KtPrintArea layer;
        ProbeObject object;
        object.answer = c.answer;
        object.viewport = viewport;
        object.surface = &picture;
        object.rect.set(2, 3, 6, 8);
        object.value = 7;
        object.active = 1;
        object.number = 4;
        layer.objects[9] = &object;
        layer.releaseObject(-1);
        layer.releaseObject(256);
        EXPECT_TRUE(object.calls.empty());
        layer.releaseObject(9);
        EXPECT_EQ((std::vector<std::string>{c.firstCall, "detach"}), object.calls);
        EXPECT_EQ(c.activeAtDetach, object.activeAtDetach) << "answer " << c.answer;
        EXPECT_EQ(c.pixelAtDetach, object.pixelAtDetach) << "answer " << c.answer;
        EXPECT_EQ(nullptr, layer.objects[9]);
        EXPECT_EQ(nullptr, object.viewport);
        EXPECT_EQ(-1, object.number);
        EXPECT_EQ(KtRect(0, 0, 4, 5), object.rect);
        EXPECT_EQ(1, object.value);
        EXPECT_EQ(0, object.active);
        EXPECT_EQ(0, *picture.pixelAddress(2, 3));
        EXPECT_EQ(0, *picture.pixelAddress(5, 7));
        EXPECT_EQ(5, *picture.pixelAddress(6, 7));
        picture.fill(5, nullptr);
    }

    // The source of the objects goes with them when the picture changes.
    KtPrintArea layer;
    bool deleted = false;
    layer.objectSource = new Deleted(deleted);
    layer.setPicture(0, 0, 0, 0, 4, 4, -2, 16, 0);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(nullptr, layer.objectSource);
}

// A layer viewport without a window: what its layers ask it to show.
class Owner : public KtLayerViewport {
public:
    Owner() : KtLayerViewport(nullptr, KtString("owner"), 0, 0, 64, 48) {}
    void redrawRect(const RECT* area, BOOL) override { shown.push_back(KtRect::from(*area)); }
    std::vector<KtRect> shown;
};

TEST(PrintArea, ChangedAsksTheOwnerForWhatTheAreaShows)
{
    Owner owner;
    owner.defineLayer(2, 0, 0, 0, 0, 32, 32, 10, 8, 20, 20, 4, 0, -2, 16, -1, 0);
    owner.layers[2].visible = 1;
    owner.shown.clear();

    KtRect drawn(0, 0, 8, 8);   // surface (0..8) is viewport 6..14, cut at the area's left 10
    owner.layers[2].surface.changed(&drawn);
    ASSERT_EQ(1u, owner.shown.size());
    EXPECT_EQ(KtRect(10, 8, 14, 16), owner.shown[0]);

    owner.layers[2].surface.changed(nullptr);
    ASSERT_EQ(2u, owner.shown.size());
    EXPECT_EQ(KtRect(10, 8, 30, 28), owner.shown[1]);

    owner.layers[2].setArea(10, 8, 20, 20, 40, 40);   // the picture now lies outside the area
    owner.layers[2].surface.changed(nullptr);
    EXPECT_EQ(2u, owner.shown.size()) << "nothing to show, nothing asked";
}

}  // namespace
