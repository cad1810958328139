// KtLayerViewport tests on a real window: priorities, levels, held-back changes, covered layers, transitions read back, mouse and thread.
#include "KtLayerViewport.h"
#include "UiThread.h"
#include "WindowPixels.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const int viewW = 320, viewH = 240;

// Records every rectangle that reaches the screen through redrawRect, with
// the level of layer 1 at that moment, then copies as usual.
class Recording : public KtLayerViewport {
public:
    Recording(HWND parent, int width, int height)
        : KtLayerViewport(parent, KtString("layers"), 0, 0, width, height)
    {
    }
    void redrawRect(const RECT* area, BOOL erase) override
    {
        copies.push_back(KtRect::from(*area));
        levels.push_back(layers[1].level);
        inRedraw_ = true;   // redrawRect invalidates through slot 7 itself
        KtLayerViewport::redrawRect(area, erase);
        inRedraw_ = false;
    }
    // Lines and blocks are invalidated and shown in batches.
    void invalidateRect(const RECT* area, BOOL erase) override
    {
        if (!inRedraw_)
            invalidated.push_back(area ? KtRect::from(*area) : KtRect());
        reached.push_back(area ? KtRect::from(*area) : KtRect(0, 0, surface.width(), surface.height()));
        KtLayerViewport::invalidateRect(area, erase);
    }
    // Every copy and every batch of a transition ends in an update.
    void update() override
    {
        KtLayerViewport::update();
        if (afterUpdate)
            afterUpdate();
    }
    std::vector<KtRect> reached;   // everything invalidated, also by redrawRect
    std::function<void()> afterUpdate;
    bool inRedraw_ = false;
    std::vector<KtRect> copies;
    std::vector<KtRect> invalidated;
    std::vector<int> levels;
};

// The colour index i of every layer's table: distinct and easy to read.
uint32_t colourOf(int i)
{
    return uint32_t(i * 5 % 256) << 16 | uint32_t(255 - i) << 8 | uint32_t(i * 3 % 256);
}

void giveColours(KtVSurface& s)
{
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = colourOf(i);
        table[i] = RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
    }
    s.setColourRange(table, 0, 256);
}

void paintIndex(KtPrintArea& layer, BYTE index)
{
    giveColours(layer.surface);
    layer.surface.fill(index, nullptr);
}

void paintPattern(KtPrintArea& layer)
{
    giveColours(layer.surface);
    for (int y = 0; y < layer.surface.height(); ++y)
        for (int x = 0; x < layer.surface.width(); ++x)
            *layer.surface.pixelAddress(x, y) = BYTE((x / 3 + y / 5 * 7) % 200 + 20);
}

uint32_t surfacePixel(const KtVSurface24& s, int x, int y)
{
    uint32_t v;
    std::memcpy(&v, s.pixelAddress(x, y), 4);
    return v & 0x00FFFFFFu;
}

// Defines a full-size opaque layer of one colour, as the runtime defines layer 0.
void defineFlat(KtLayerViewport& v, int index, int priority, BYTE colour, const KtRect& area,
                int level = 16, int key = -2)
{
    v.defineLayer(index, 0, 0, 0, 0, area.width(), area.height(), area.left, area.top,
                  area.width(), area.height(), 0, 0, key, level, priority, 0);
    paintIndex(v.layers[index], colour);
}

class LayerViewport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui_.run([&] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = "KtLayerStage";
            RegisterClassA(&wc);
            stage_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "stage",
                                     WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 660, 500,
                                     nullptr, nullptr, wc.hInstance, nullptr);
            view_.reset(new Recording(stage_, width_, height_));
            view_->create();
        }));
        ASSERT_TRUE(view_->alive());
        defineFlat(*view_, 0, -1, 1, KtRect(0, 0, width_, height_));
        view_->showLayer(0, 0, -1);
        view_->recompose(KtRect(), TRUE);   // shows and empties what showing left dirty
        view_->copies.clear();
        view_->levels.clear();
    }
    void TearDown() override
    {
        ui_.run([&] {
            view_.reset();
            DestroyWindow(stage_);
        });
    }

    // "" when the window shows exactly the surface (or `expected`).
    std::string screenDiffers(const std::vector<uint32_t>* expected = nullptr)
    {
        ui_.run([] {});   // lets pending paints finish
        WindowPixels shown(view_->handle, width_, height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const uint32_t want = expected ? (*expected)[y * width_ + x]
                                               : surfacePixel(view_->surface, x, y);
                if (shown.at(x, y) != want)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y);
            }
        return "";
    }
    std::vector<uint32_t> screen()
    {
        ui_.run([] {});
        WindowPixels shown(view_->handle, width_, height_);
        std::vector<uint32_t> out;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                out.push_back(shown.at(x, y));
        return out;
    }

    int width_ = viewW, height_ = viewH;
    UiThread ui_;
    HWND stage_ = nullptr;
    std::unique_ptr<Recording> view_;
};

TEST_F(LayerViewport, HigherPrioritiesDrawOnTopAndEqualOnesInDefinitionOrder)
{
    struct Layer {
        int index, priority;
        BYTE colour;
    };
    struct Case {
        std::vector<Layer> definitions;
        BYTE top;
    };
    const KtRect area(10, 10, 60, 50);
    const Case cases[] = {
        {{{1, 5, 40}, {2, 3, 41}}, 40},
        {{{1, 3, 40}, {2, 5, 41}}, 41},
        {{{2, 5, 41}, {1, 3, 40}}, 41},
        {{{1, 4, 40}, {2, 4, 41}}, 41},
        {{{2, 4, 41}, {1, 4, 40}}, 40},
        {{{3, -1, 42}, {1, 3, 40}}, 40},   // a negative priority is the index: 3 before 3
    };
    for (const Case& c : cases) {
        for (const Layer& l : c.definitions) {
            defineFlat(*view_, l.index, l.priority, l.colour, area);
            view_->showLayer(l.index, 0, -1);
        }
        EXPECT_EQ(colourOf(c.top), surfacePixel(view_->surface, 30, 30)) << int(c.top);
        for (const Layer& l : c.definitions)
            view_->removeLayer(l.index, TRUE);
        EXPECT_EQ(colourOf(1), surfacePixel(view_->surface, 30, 30)) << "removal shows layer 0";
    }
    EXPECT_EQ("", screenDiffers());
}

TEST_F(LayerViewport, LevelsVisibilityAndShowLayerRules)
{
    const KtRect area(20, 20, 40, 40);
    defineFlat(*view_, 1, 1, 60, area, 0);
    view_->showLayer(1, 0, -1);   // visible at level 0: nothing
    EXPECT_EQ(colourOf(1), surfacePixel(view_->surface, 25, 25));

    defineFlat(*view_, 1, 1, 60, area, 16);
    view_->recompose(area, TRUE);   // defined but not visible: nothing
    EXPECT_EQ(colourOf(1), surfacePixel(view_->surface, 25, 25));

    view_->showLayer(1, 255, -1);   // visible, level from the definition, not yet composed
    EXPECT_EQ(16, view_->layers[1].level);
    EXPECT_EQ(colourOf(1), surfacePixel(view_->surface, 25, 25));
    view_->showLayer(1, 0, 3);      // already visible: the level stays
    EXPECT_EQ(16, view_->layers[1].level);
    EXPECT_EQ(colourOf(60), surfacePixel(view_->surface, 25, 25));

    defineFlat(*view_, 2, 2, 61, area, 16);
    view_->showLayer(2, 0, 8);      // hidden: takes the level given
    EXPECT_EQ(8, view_->layers[2].level);

    view_->defineLayer(24, 0, 0, 0, 0, 8, 8, 0, 0, 8, 8, 0, 0, -2, 16, 0, 0);
    view_->defineLayer(-1, 0, 0, 0, 0, 8, 8, 0, 0, 8, 8, 0, 0, -2, 16, 0, 0);
    EXPECT_EQ(3, view_->layerList.count) << "indexes outside 0..23 are ignored";
}

TEST_F(LayerViewport, WhileNotLiveChangesCollectAndTheNextFlushShowsThem)
{
    const std::vector<uint32_t> before = screen();
    view_->live = 0;
    const KtRect area(30, 40, 90, 100);
    defineFlat(*view_, 1, 1, 70, area);
    view_->showLayer(1, 11, -1);   // a wipe: neither drawn nor waited for
    EXPECT_TRUE(view_->copies.empty());
    EXPECT_EQ(colourOf(1), surfacePixel(view_->surface, 50, 50));
    EXPECT_EQ("", screenDiffers(&before));
    EXPECT_EQ(area, view_->dirty);

    view_->live = 1;
    view_->recompose(KtRect(0, 0, 4, 4), TRUE);   // any flush shows what was held back
    EXPECT_EQ(colourOf(70), surfacePixel(view_->surface, 50, 50));
    ASSERT_EQ(1u, view_->copies.size());
    EXPECT_EQ(KtRect(0, 0, 90, 100), view_->copies[0]);
    EXPECT_TRUE(view_->dirty.isEmpty());
    EXPECT_EQ("", screenDiffers());
}

TEST_F(LayerViewport, FadesStepTowardTheirEndAndAlwaysEndOnIt)
{
    const KtRect area(0, 0, 50, 50);
    defineFlat(*view_, 1, 1, 80, area, 4);
    view_->layers[1].visible = 1;
    struct Case {
        int from, to, step;
        std::vector<int> levels;
    };
    const Case cases[] = {
        {4, 10, 4, {4, 8, 10}},
        {12, 0, 5, {12, 7, 2, 0}},
        {6, 6, 1, {6}},
        {0, 16, 16, {0, 16}},
    };
    for (const Case& c : cases) {
        view_->levels.clear();
        view_->fadeLayer(1, c.from, c.to, c.step, 1);
        EXPECT_EQ(c.levels, view_->levels) << c.from << " to " << c.to;
    }
    view_->levels.clear();
    view_->layers[1].level = 10;
    view_->applyEffect(1, 9);   // fade in: 10, 12, 14, 16
    EXPECT_EQ((std::vector<int>{10, 12, 14, 16}), view_->levels);
    EXPECT_EQ("", screenDiffers());

    view_->levels.clear();
    view_->live = 0;
    view_->fadeLayer(1, 2, 9, 1, 1000);   // not live: straight to the end, no wait
    EXPECT_EQ(9, view_->layers[1].level);
    EXPECT_TRUE(view_->levels.empty());
    view_->live = 1;
}

// Random stacks of layers: the composition that skips covered layers gives
// the same bytes and the same dirty area as drawing every layer in order.
TEST_F(LayerViewport, SkippingCoveredLayersChangesNoPixel)
{
    std::mt19937 rng(77);
    auto pick = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const int layerCount = pick(2, 24);
        for (int i = 0; i < layerCount; ++i) {
            const int w = pick(10, 200), h = pick(10, 150);
            const bool opaque = pick(0, 2) == 0;
            const int left = pick(-20, 250), top = pick(-20, 200);
            const int areaW = pick(1, 260), areaH = pick(1, 200);
            view_->defineLayer(i, pick(0, 1) ? w + pick(0, 30) : 0, pick(0, 1) ? h : 0, pick(-5, 5),
                               pick(-5, 5), w, h, left, top, areaW, areaH, pick(-10, 30),
                               pick(-10, 30), opaque ? -2 : pick(-2, 30), opaque ? 16 : pick(0, 16),
                               pick(-1, 6), 0);
            KtPrintArea& layer = view_->layers[i];
            paintPattern(layer);
            layer.visible = pick(0, 5) != 0;
            layer.wrapSwitch = pick(0, 4) == 0;
            layer.wrapMode = pick(0, 3);
        }
        // A full-screen opaque layer in the middle covers everything below it.
        if (round % 2)
            defineFlat(*view_, layerCount / 2, 3, 90, KtRect(0, 0, width_, height_));
        view_->layers[layerCount / 2].visible = 1;

        KtVSurface24 reference;
        reference.create(width_, height_);
        std::memcpy(reference.bits, view_->surface.bits, size_t(width_) * height_ * 4);
        const KtRect update(pick(0, 100), pick(0, 80), pick(100, 330), pick(80, 250));
        KtRect referenceDirty;
        KtObjectNode* node = view_->layerList.first();
        for (int i = 0; i < view_->layerList.count; ++i, node = node->next)
            static_cast<KtPrintArea*>(node->object)->drawInto(reference, update, referenceDirty);

        view_->dirty = KtRect();
        view_->recompose(update, FALSE);
        EXPECT_EQ(0, std::memcmp(reference.bits, view_->surface.bits, size_t(width_) * height_ * 4));
        EXPECT_EQ(referenceDirty, view_->dirty);
        for (int i = 0; i < layerCount; ++i)
            view_->removeLayer(i, FALSE);
    }
}

// Shows layer 1 (a pattern over `area`) with the code and returns what
// reached redrawRect; the window must end up showing the surface.
std::vector<KtRect> showWith(LayerViewport& test, Recording& view, int code, const KtRect& area)
{
    view.defineLayer(1, 0, 0, 0, 0, area.width(), area.height(), area.left, area.top,
                     area.width(), area.height(), 0, 0, -2, 16, 5, 0);
    paintPattern(view.layers[1]);
    view.copies.clear();
    view.invalidated.clear();
    view.showLayer(1, code, -1);
    std::vector<KtRect> copies = view.copies;
    // What was invalidated, less the final invalidate of the whole area.
    if (!view.invalidated.empty() && view.invalidated.back() == area)
        view.invalidated.pop_back();
    copies.insert(copies.end(), view.invalidated.begin(), view.invalidated.end());
    return copies;
}

TEST_F(LayerViewport, EveryFamilyEndsWithTheSurfaceOnTheScreenAndCopiesInsideItsArea)
{
    const KtRect area(20, 10, 220, 150);
    for (int code : {0, 10, 14, 18, 20, 21, 23, 38, 39, 44, 47, 48, 49, 50, 51, 52, 9, 99, 255}) {
        SCOPED_TRACE(code);
        const std::vector<uint32_t> before = screen();
        const std::vector<KtRect> copies = showWith(*this, *view_, code, area);
        EXPECT_EQ("", screenDiffers(code == 255 ? &before : nullptr));
        for (const KtRect& r : copies) {
            KtRect inside = r;
            EXPECT_TRUE(inside.intersect(area) && inside == r) << "copies stay inside the area";
        }
        view_->removeLayer(1, TRUE);
    }
}

TEST_F(LayerViewport, TransitionsCopyTheirSequenceThroughTheWindow)
{
    const KtRect area(20, 10, 220, 150);   // 200 × 140: wipe steps of 12 × 8
    std::vector<KtRect> leftWipe;
    for (int k = 1; k <= 15; ++k)
        leftWipe.push_back(KtRect(20 + (k - 1) * 12, 10, 20 + k * 12, 150));
    leftWipe.push_back(KtRect(20 + 15 * 12, 10, 220, 150));
    EXPECT_EQ(leftWipe, showWith(*this, *view_, 11, area));

    std::vector<KtRect> blocks;   // 32-pixel blocks, the last row and column cut at the area
    for (int y = 0; y < 140; y += 32)
        for (int x = 0; x < 200; x += 32)
            blocks.push_back(KtRect(20 + x, 10 + y, 20 + std::min(x + 32, 200),
                                    10 + std::min(y + 32, 140)));
    const std::vector<KtRect> got = showWith(*this, *view_, 40, area);
    EXPECT_TRUE(std::is_permutation(blocks.begin(), blocks.end(), got.begin(), got.end()));
    EXPECT_TRUE(showWith(*this, *view_, 0, area).empty()) << "at once: invalidated, not copied";
}

TEST_F(LayerViewport, RunEffectShowsTheNewPictureForEveryCodeButTheOneForNothing)
{
    const KtRect area(40, 30, 160, 110);
    struct Case {
        int code;
        bool shown;
    };
    for (const Case& c : {Case{255, false}, Case{99, true}, Case{0, true}, Case{11, true}}) {
        SCOPED_TRACE(c.code);
        const std::vector<uint32_t> before = screen();
        view_->defineLayer(1, 0, 0, 0, 0, area.width(), area.height(), area.left, area.top,
                           area.width(), area.height(), 0, 0, -2, 16, 5, 0);
        paintPattern(view_->layers[1]);
        view_->layers[1].visible = 1;
        view_->copies.clear();
        view_->runEffect(area, c.code);
        EXPECT_EQ(colourOf(*view_->layers[1].surface.pixelAddress(7, 9)),
                  surfacePixel(view_->surface, area.left + 7, area.top + 9))
            << "the surface holds the new picture whatever the code";
        EXPECT_EQ("", screenDiffers(c.shown ? nullptr : &before));
        if (!c.shown) {
            EXPECT_TRUE(view_->copies.empty());
        }
        view_->removeLayer(1, TRUE);
    }
}

// Transitions are paced by the clock: each takes at least the sum of its
// pauses, whatever the copies cost. The bounds are loose lower ones only;
// fades count by the tick count, which may lag a tick (up to 17 ms) a step.
TEST_F(LayerViewport, TransitionsAndFadesTakeAtLeastTheirPauses)
{
    const KtRect area(20, 10, 220, 150);
    struct Case {
        const char* what;
        std::function<void()> run;
        double atLeastMs;
    };
    const Case cases[] = {
        {"wipe 11: 16 steps of 10 ms", [&] { view_->showLayer(1, 11, -1); }, 140},
        {"wipe 23", [&] { view_->showLayer(1, 23, -1); }, 140},
        {"fade in from 10: three steps of 100 ms", [&] {
             view_->layers[1].level = 10;
             view_->showLayer(1, 9, -1);
         }, 240},
        {"fade 0 to 16 by 8, 60 ms a step", [&] {
             view_->layers[1].visible = 1;
             view_->fadeLayer(1, 0, 16, 8, 60);
         }, 85},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view_->defineLayer(1, 0, 0, 0, 0, area.width(), area.height(), area.left, area.top,
                           area.width(), area.height(), 0, 0, -2, 16, 5, 0);
        paintPattern(view_->layers[1]);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        c.run();
        QueryPerformanceCounter(&end);
        const double ms = double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
        EXPECT_GE(ms, c.atLeastMs);
        EXPECT_EQ("", screenDiffers());
        view_->removeLayer(1, TRUE);
    }
}

// The screen read after every update of a transition: what the transition
// has invalidated so far shows the new picture, everything else still the
// old one, and at least one read falls between the two.
TEST_F(LayerViewport, InTheMiddleOfATransitionTheScreenShowsOnlyWhatItRevealed)
{
    const KtRect area(20, 10, 220, 150);
    for (int code : {11, 20, 23, 40, 44, 48, 50, 52}) {
        SCOPED_TRACE(code);
        const std::vector<uint32_t> old = screen();
        view_->defineLayer(1, 0, 0, 0, 0, area.width(), area.height(), area.left, area.top,
                           area.width(), area.height(), 0, 0, -2, 16, 5, 0);
        paintPattern(view_->layers[1]);
        std::vector<char> revealed(size_t(width_) * height_, 0);
        size_t seen = 0;
        int reads = 0, between = 0;
        std::string firstWrong;
        view_->reached.clear();
        view_->afterUpdate = [&] {
            for (; seen < view_->reached.size(); ++seen) {
                KtRect r = view_->reached[seen];
                if (!r.intersect(KtRect(0, 0, width_, height_)))
                    continue;
                for (int y = r.top; y < r.bottom; ++y)
                    std::fill_n(&revealed[size_t(y) * width_ + r.left], r.width(), char(1));
            }
            // Long scans are read now and then: every read is as strict.
            if (++reads % 7 != 1)
                return;
            // The window thread may have taken the update region into a
            // paint of its own that has not copied yet: let it finish.
            ui_.run([] {});
            WindowPixels shown(view_->handle, width_, height_);
            bool anyOld = false, anyNew = false;
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x) {
                    const bool isNew = revealed[size_t(y) * width_ + x] != 0;
                    const uint32_t want = isNew ? surfacePixel(view_->surface, x, y)
                                                : old[size_t(y) * width_ + x];
                    (isNew ? anyNew : anyOld) = true;
                    if (shown.at(x, y) != want && firstWrong.empty())
                        firstWrong = "read " + std::to_string(reads) + ": " +
                                     (isNew ? "not yet shown at " : "shown too early at ") +
                                     std::to_string(x) + "," + std::to_string(y);
                }
            between += anyOld && anyNew;
        };
        view_->showLayer(1, code, -1);
        view_->afterUpdate = nullptr;
        EXPECT_EQ("", firstWrong);
        EXPECT_GT(between, 0) << "no read fell in the middle of the transition";
        EXPECT_EQ("", screenDiffers());
        view_->removeLayer(1, TRUE);
    }
}

volatile LONG sawStopRequest = 0;

unsigned __stdcall untilStopped(void* argument)
{
    auto* view = static_cast<KtLayerViewport*>(argument);
    while (!view->stopRequest)
        Sleep(1);
    view->threadWord = 42;
    InterlockedExchange(&sawStopRequest, 1);
    return 0;
}

TEST_F(LayerViewport, StopThreadWaitsForTheModulesThreadAndDestructionStopsIt)
{
    view_->stopThread();   // no thread: returns at once
    view_->stopRequest = 0;
    ASSERT_NE(nullptr, view_->animationThread.start(&untilStopped, view_.get(), 0));
    view_->stopThread();
    EXPECT_EQ(42, view_->threadWord);

    // Destruction asks the running thread to stop and waits for it before
    // the members it may use go.
    view_->stopRequest = 0;
    ASSERT_NE(nullptr, view_->animationThread.start(&untilStopped, view_.get(), 0));
    InterlockedExchange(&sawStopRequest, 0);
    ui_.run([&] { view_.reset(); });
    EXPECT_EQ(1, sawStopRequest) << "the thread ended by itself, not terminated";
}

// Starts a program of the host system. Wine gives no handle to wait on for
// those: callers poll for the program's effect instead.
bool startUnix(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line(commandLine);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Waits (at most 5 s) until the right button is down or up as asked.
bool rightButtonBecomes(bool down)
{
    for (int i = 0; i < 250; ++i) {
        if (((GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0) == down)
            return true;
        Sleep(20);
    }
    return false;
}

class LargeLayerViewport : public LayerViewport {
protected:
    void SetUp() override
    {
        width_ = 640;
        height_ = 480;
        LayerViewport::SetUp();
    }
};

TEST_F(LargeLayerViewport, TheRightButtonEndsADissolveAndTheWholePictureStillShows)
{
    if (GetFileAttributesA("Z:\\usr\\bin\\xdotool") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "xdotool is needed for a real button press";
    // Hold the right button down over the viewport through the X server and
    // wait until the window thread has seen it.
    view_->mouseEvent.reset();
    ASSERT_TRUE(startUnix("/usr/bin/xdotool mousemove 300 200 mousedown 3"));
    const bool held = rightButtonBecomes(true);
    std::vector<KtRect> copies;
    if (held)
        copies = showWith(*this, *view_, 43, KtRect(0, 0, 640, 480));   // 160 × 120 blocks of 4
    startUnix("/usr/bin/xdotool mouseup 3");
    EXPECT_TRUE(rightButtonBecomes(false)) << "the button was not let go";
    ASSERT_TRUE(held) << "the press did not arrive";
    EXPECT_EQ(160u, copies.size()) << "one row's worth of blocks, then the skip";
    EXPECT_EQ("", screenDiffers()) << "the final invalidate shows everything";
    // The press was reported too (a move may have followed it).
    EXPECT_EQ(WAIT_OBJECT_0, view_->mouseEvent.wait(0));
    EXPECT_EQ(300, view_->mouseX);
    EXPECT_EQ(200, view_->mouseY);
}

}  // namespace
