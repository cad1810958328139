// TransitionRunner tests: the rectangles and pauses of every family, against sequences worked out here.
#include "KtRect.h"
#include "TransitionRunner.h"
#include "TransitionScreen.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Event {
    bool pause;
    KtRect rect;
    uint32_t ms;
};

// Records the calls; answers the skip question from a script.
class Recorder : public TransitionScreen {
public:
    void copy(const KtRect& r) override { events.push_back({false, r, 0}); }
    void copyLater(const KtRect& r) override
    {
        ++pending;
        events.push_back({false, r, 0});
    }
    void showBatch() override
    {
        batches.push_back(pending);
        pending = 0;
    }
    void pause(uint32_t ms) override { events.push_back({true, KtRect(), ms}); }
    bool skipRequested() override
    {
        ++questions;
        return skipAt > 0 && questions >= skipAt;
    }
    std::vector<KtRect> copies() const
    {
        std::vector<KtRect> out;
        for (const Event& e : events)
            if (!e.pause)
                out.push_back(e.rect);
        return out;
    }
    std::vector<Event> events;
    int questions = 0;
    int skipAt = 0;   // the question that first answers yes; 0: never
    int pending = 0;
    std::vector<int> batches;   // blocks shown by each showBatch
};

// How often each pixel of a frame was copied.
class Coverage {
public:
    explicit Coverage(const KtRect& frame) : frame_(frame), hits_(frame.width() * frame.height()) {}
    void add(const KtRect& r)
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (frame_.contains(x, y))
                    ++hits_[(y - frame_.top) * frame_.width() + x - frame_.left];
                else
                    ++outside_;
    }
    // "" when every pixel inside one of `rects` was copied exactly once and
    // no other pixel at all; otherwise the first difference.
    std::string differsFrom(const std::vector<KtRect>& rects) const
    {
        if (outside_)
            return "copied outside the area";
        for (int y = frame_.top; y < frame_.bottom; ++y)
            for (int x = frame_.left; x < frame_.right; ++x) {
                const bool want = std::any_of(rects.begin(), rects.end(),
                                              [&](const KtRect& r) { return r.contains(x, y); });
                const int got = hits_[(y - frame_.top) * frame_.width() + x - frame_.left];
                if (got != (want ? 1 : 0))
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " copied " +
                           std::to_string(got) + " times";
            }
        return "";
    }

private:
    KtRect frame_;
    std::vector<int> hits_;
    int outside_ = 0;
};

// The parts of wipe step k as the table gives them; `first` of them come
// before the step's wait.
std::vector<KtRect> wipeParts(int code, const KtRect& a, int k, int& first)
{
    const int L = a.left, T = a.top, R = a.right, B = a.bottom;
    const int W = std::max(1, (R - L) / 16), H = std::max(1, (B - T) / 16);
    const int w = k * W, h = k * H, x = L + (R - L - w) / 2, y = T + (B - T - h) / 2;
    first = 0;
    if (k == 16)
        return {a};
    switch (code) {
    case 10: return {KtRect(L, T, L + w, T + h)};
    case 11: return {KtRect(L, T, L + w, B)};
    case 12: return {KtRect(L, B - h, L + w, B)};
    case 13: return {KtRect(L, B - h, R, B)};
    case 14: return {KtRect(R - w, B - h, R, B)};
    case 15: return {KtRect(R - w, T, R, B)};
    case 16: return {KtRect(R - w, T, R, T + h)};
    case 17: return {KtRect(L, T, R, T + h)};
    case 18: return {KtRect(L, y, R, y + h)};
    case 19: return {KtRect(x, T, x + w, B)};
    case 20: return {KtRect(x, y, x + w, y + h)};
    case 21: first = 1; return {KtRect(L, T, R, T + h / 2), KtRect(L, B - h / 2, R, B)};
    case 22: first = 1; return {KtRect(L, T, L + w / 2, B), KtRect(R - w / 2, T, R, B)};
    default:
        first = 3;
        return {KtRect(L, T, R, T + h / 2), KtRect(L, T, L + w / 2, B), KtRect(L, B - h / 2, R, B),
                KtRect(R - w / 2, T, R, B)};
    }
}

std::vector<KtRect> clipped(std::vector<KtRect> rects, const KtRect& area)
{
    for (KtRect& r : rects)
        if (!r.intersect(area))
            r = KtRect();
    return rects;
}

TEST(TransitionRunner, WipesRevealTheTableRectanglesOnceEachInSixteenPacedSteps)
{
    // Areas narrower or lower than 16 pixels take steps of one pixel.
    const KtRect areas[] = {KtRect(3, 2, 70, 52), KtRect(1, 1, 11, 6), KtRect(0, 0, 16, 16),
                            KtRect(5, 0, 6, 40)};
    for (const KtRect& area : areas) {
        for (int code = 10; code <= 23; ++code) {
            SCOPED_TRACE("code " + std::to_string(code) + " on " + std::to_string(area.width()) +
                         "x" + std::to_string(area.height()));
            Recorder screen;
            TransitionRunner(screen, area).wipe(code);
            // Before the wait of step j the screen shows every part of the
            // steps before it and the first parts of step j.
            Coverage coverage(area);
            std::vector<KtRect> expected;
            int step = 0;
            for (const Event& e : screen.events) {
                if (!e.pause) {
                    EXPECT_FALSE(e.rect.isEmpty());
                    coverage.add(e.rect);
                    continue;
                }
                ++step;
                EXPECT_EQ(10u, e.ms);
                int first;
                std::vector<KtRect> parts = clipped(wipeParts(code, area, step, first), area);
                std::vector<KtRect> shown = expected;
                shown.insert(shown.end(), parts.begin(), parts.begin() + first);
                ASSERT_EQ("", coverage.differsFrom(shown)) << "before the wait of step " << step;
                expected.insert(expected.end(), parts.begin(), parts.end());
            }
            EXPECT_EQ(16, step);
            EXPECT_EQ("", coverage.differsFrom({area})) << "at the end";
        }
    }
}

std::vector<Event> lines(const char* plan, const KtRect& a)
{
    // "r3" a row, "c2" a column, "p" a 1 ms pause, "P" the preview's 50 ms.
    std::vector<Event> out;
    for (const char* s = plan; *s;) {
        const char kind = *s++;
        if (kind == ' ')
            continue;
        if (kind == 'p' || kind == 'P') {
            out.push_back({true, KtRect(), kind == 'p' ? 1u : 50u});
            continue;
        }
        const int n = int(std::strtol(s, const_cast<char**>(&s), 10));
        out.push_back({false,
                       kind == 'r' ? KtRect(a.left, a.top + n, a.right, a.top + n + 1)
                                   : KtRect(a.left + n, a.top, a.left + n + 1, a.bottom),
                       0});
    }
    return out;
}

bool operator==(const Event& a, const Event& b)
{
    return a.pause == b.pause && a.rect == b.rect && a.ms == b.ms;
}

TEST(TransitionRunner, LineScansInterlaceWithAPauseEverySixLines)
{
    struct Case {
        int code;
        KtRect area;
        const char* plan;
    };
    const Case cases[] = {
        {50, KtRect(2, 3, 7, 10), "r0 p r2 r4 r6  r5 p r3 r1"},
        {51, KtRect(2, 3, 7, 10), "c0 p c2 c4  c3 p c1"},
        {52, KtRect(0, 0, 4, 3), "c0 p c2  r0 p r2  c3 p c1"},
        {50, KtRect(0, 0, 3, 28),
         "r0 p r2 r4 r6 r8 r10 r12 p r14 r16 r18 r20 r22 r24 p r26 "
         "r27 p r25 r23 r21 r19 r17 r15 p r13 r11 r9 r7 r5 r3 p r1"},
        {51, KtRect(0, 0, 1, 1), "c0 p"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plan);
        Recorder screen;
        ASSERT_TRUE(TransitionRunner(screen, c.area).run(c.code));
        EXPECT_EQ(lines(c.plan, c.area), screen.events);
        EXPECT_EQ(0, screen.pending) << "every line shown by the end";
    }
}

TEST(TransitionRunner, DissolvesCopyEveryBlockOnceAndAskAfterEachRowOfBlocks)
{
    const KtRect area(5, 5, 75, 45);   // 70 × 40
    struct Case {
        int code;
        int block;
        bool preview;
    };
    for (const Case& c : {Case{40, 32, false}, Case{41, 16, false}, Case{42, 8, false},
                          Case{43, 4, false}, Case{44, 32, true}, Case{47, 4, true}}) {
        SCOPED_TRACE(c.code);
        Recorder screen;
        ASSERT_TRUE(TransitionRunner(screen, area).run(c.code));
        std::vector<Event> events = screen.events;
        if (c.preview) {
            const std::string plan = [&] {
                std::string p;
                for (int x = 0; x < 70; x += 2)
                    p += " c" + std::to_string(x);
                for (int y = 0; y < 40; y += 2)
                    p += " r" + std::to_string(y);
                return p + " P";
            }();
            const std::vector<Event> preview = lines(plan.c_str(), area);
            ASSERT_GE(events.size(), preview.size());
            EXPECT_TRUE(std::equal(preview.begin(), preview.end(), events.begin()));
            events.erase(events.begin(), events.begin() + preview.size());
        }
        const int cols = (70 + c.block - 1) / c.block, rows = (40 + c.block - 1) / c.block;
        std::vector<KtRect> grid;
        for (int r = 0; r < rows; ++r)
            for (int col = 0; col < cols; ++col) {
                KtRect b(5 + col * c.block, 5 + r * c.block, 5 + (col + 1) * c.block,
                         5 + (r + 1) * c.block);
                b.intersect(area);
                grid.push_back(b);
            }
        std::vector<KtRect> copied;
        for (const Event& e : events) {
            EXPECT_FALSE(e.pause) << "dissolves do not pause";
            copied.push_back(e.rect);
        }
        EXPECT_TRUE(std::is_permutation(grid.begin(), grid.end(), copied.begin(), copied.end()));
        EXPECT_EQ(rows, screen.questions) << "one question per row of blocks";
        std::vector<int> batches = screen.batches;
        if (c.preview)   // the preview's columns and rows came first
            batches.erase(batches.begin(), batches.begin() + 2);
        EXPECT_EQ(std::vector<int>(rows, cols), batches) << "each row of blocks shown at once";
        EXPECT_EQ(0, screen.pending);
    }
}

TEST(TransitionRunner, TheRightButtonEndsADissolveAndLimitsStopIt)
{
    const KtRect area(0, 0, 64, 32);   // 16 × 8 blocks of 4
    Recorder skipped;
    skipped.skipAt = 2;
    EXPECT_EQ(TransitionRunner::Dissolve::skipped,
              TransitionRunner(skipped, area).dissolve(4, 4, 0));
    EXPECT_EQ(32u, skipped.copies().size()) << "two rows' worth of blocks";

    Recorder limited;
    EXPECT_EQ(TransitionRunner::Dissolve::stopped,
              TransitionRunner(limited, area).dissolve(4, 4, 21));
    EXPECT_EQ(21u, limited.copies().size());
    EXPECT_EQ((std::vector<int>{16, 5}), limited.batches) << "the last blocks are shown too";
    Recorder ranOut;   // a limit that is never reached still leaves the result unfinished
    EXPECT_EQ(TransitionRunner::Dissolve::stopped,
              TransitionRunner(ranOut, area).dissolve(16, 16, 100));
}

std::vector<int> blockSizes(const std::vector<KtRect>& copies)
{
    std::vector<int> sizes;
    for (const KtRect& r : copies)
        sizes.push_back(r.width());
    return sizes;
}

TEST(TransitionRunner, TheProgressiveDissolveGrowsItsBlocksWithinItsLimits)
{
    // 64 × 32 = 2048 pixels: limits of 4, 4 and 2 blocks, then every 32 × 32 block.
    const KtRect area(0, 0, 64, 32);
    Recorder screen;
    ASSERT_TRUE(TransitionRunner(screen, area).run(38));
    EXPECT_EQ((std::vector<int>{4, 4, 4, 4, 8, 8, 8, 8, 16, 16, 32, 32}),
              blockSizes(screen.copies()));

    Recorder skipped;   // a skip in the last phase ends it after its first row
    skipped.skipAt = 1;
    TransitionRunner(skipped, KtRect(0, 0, 64, 64)).run(38);
    EXPECT_EQ((std::vector<int>{4, 4, 4, 4, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16,
                                32, 32}),
              blockSizes(skipped.copies()));

    Recorder small;   // below 512 pixels only the unlimited phase runs
    TransitionRunner(small, KtRect(0, 0, 20, 20)).run(38);
    EXPECT_EQ((std::vector<int>{20}), blockSizes(small.copies()));
}

TEST(TransitionRunner, RandomLinesCopyEachRowOrColumnOnce)
{
    const KtRect area(3, 4, 20, 13);
    for (bool rows : {true, false}) {
        Recorder screen;
        ASSERT_TRUE(TransitionRunner(screen, area).run(rows ? 48 : 49));
        std::vector<KtRect> expected;
        for (int i = 0; i < (rows ? 9 : 17); ++i)
            expected.push_back(rows ? KtRect(3, 4 + i, 20, 5 + i) : KtRect(3 + i, 4, 4 + i, 13));
        const std::vector<KtRect> copies = screen.copies();
        EXPECT_EQ(copies.size(), screen.events.size()) << "no pauses";
        EXPECT_TRUE(std::is_permutation(expected.begin(), expected.end(), copies.begin(),
                                        copies.end()));
    }
}

// Every line reaches the screen in a batch of at most eight, in the
// permutation's order, and nothing is left unshown at the end.
TEST(TransitionRunner, RandomLinesAreShownEightToABatch)
{
    struct Case {
        int code, width, height;
        std::vector<int> batches;
    };
    const Case cases[] = {
        {48, 5, 1, {1}},
        {48, 5, 8, {8}},
        {48, 5, 9, {8, 1}},
        {49, 17, 3, {8, 8, 1}},
        {48, 640, 480, std::vector<int>(60, 8)},
    };
    for (const Case& c : cases) {
        Recorder screen;
        TransitionRunner(screen, KtRect(0, 0, c.width, c.height)).run(c.code);
        EXPECT_EQ(c.batches, screen.batches) << c.code << " " << c.width << "x" << c.height;
        EXPECT_EQ(0, screen.pending) << "lines left unshown";
    }
}

// The pieces a wipe step reveals reach the screen as one update each part.
TEST(TransitionRunner, WipePartsAreOneUpdateEach)
{
    struct Case {
        int code, updates;
    };
    // 20 opens a box: four pieces a step; 23 closes from four edges, four
    // parts a step; 11 grows one strip.
    for (const Case& c : {Case{11, 16}, Case{20, 16}, Case{23, 61}}) {
        Recorder screen;
        TransitionRunner(screen, KtRect(0, 0, 64, 48)).run(c.code);
        EXPECT_EQ(c.updates, int(screen.batches.size())) << c.code;
        EXPECT_EQ(0, screen.pending) << c.code;
    }
}

TEST(TransitionRunner, OtherCodesAreNotTransitionsHere)
{
    for (int code : {0, 1, 9, 24, 37, 53, 254, 255, -1}) {
        Recorder screen;
        EXPECT_FALSE(TransitionRunner(screen, KtRect(0, 0, 10, 10)).run(code)) << code;
        EXPECT_TRUE(screen.events.empty()) << code;
    }
}

}  // namespace
