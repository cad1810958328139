// Keeping windows on screen and clear of the taskbar, on every edge.
#include "KtWindowPlacement.h"
#include "ScreenFit.h"
#include <gtest/gtest.h>

namespace {

struct FitCase {
    const char* name;
    bool autoHides;
    RectEdges bar;
    int x, y, width, height;
    int expectedX, expectedY;
    bool expectedFits;
};

// A 1024 x 768 screen; bars 30 pixels thick.
const FitCase fitCases[] = {
    {"bottom bar pushes up", false, {0, 738, 1024, 768}, 100, 600, 200, 300, 100, 438, true},
    {"bottom bar, auto-hide ignores it", true, {0, 738, 1024, 768}, 100, 600, 200, 300, 100, 468, true},
    {"right bar pushes left", false, {994, 0, 1024, 768}, 900, 10, 200, 100, 794, 10, true},
    {"left bar: negative x goes beside it", false, {0, 0, 30, 768}, -5, 10, 200, 100, 30, 10, true},
    {"left bar: right edge limit is reduced", false, {0, 0, 30, 768}, 900, 10, 200, 100, 794, 10, true},
    {"top bar: negative y goes below it", false, {0, 0, 1024, 30}, 10, -1, 200, 100, 10, 30, true},
    {"reversed bar rectangle is normalised", false, {1024, 768, 0, 738}, 0, 700, 10, 100, 0, 638, true},
    {"too wide keeps position", false, {0, 738, 1024, 768}, -20, 5, 1100, 100, -20, 5, false},
    {"too high for the area beside the bar", false, {0, 738, 1024, 768}, 5, 5, 100, 750, 5, 5, false},
};

TEST(ScreenFit, KeepsWindowsInsideTheAreaBesideTheTaskbar)
{
    for (const FitCase& c : fitCases) {
        ScreenArea area = ScreenFit::usableArea(1024, 768, c.autoHides, c.bar);
        int x = c.x;
        int y = c.y;
        bool fits = ScreenFit::fit(area, x, y, c.width, c.height);
        EXPECT_EQ(c.expectedFits, fits) << c.name;
        EXPECT_EQ(c.expectedX, x) << c.name;
        EXPECT_EQ(c.expectedY, y) << c.name;
    }
}

RECT fakeBar;
bool fakeAutoHide;
void fakeTaskbar(bool& autoHides, RECT& bar)
{
    autoHides = fakeAutoHide;
    bar = fakeBar;
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = KtWindowPlacement::setTaskbarQuery(&fakeTaskbar);
        window_ = CreateWindowExA(0, "STATIC", "placement", WS_POPUP, 0, 0, 50, 50, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, window_);
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        KtWindowPlacement::setTaskbarQuery(previous_);
    }
    RECT placed() const
    {
        RECT r;
        GetWindowRect(window_, &r);
        return r;
    }
    HWND window_ = nullptr;
    KtWindowPlacement::TaskbarQuery previous_ = nullptr;
};

TEST_F(Placement, KeepOnScreenMovesAboveABottomTaskbar)
{
    ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "tests run on a 1024 x 768 screen";
    fakeAutoHide = false;
    fakeBar = RECT{0, 738, 1024, 768};
    EXPECT_TRUE(KtWindowPlacement::place(window_, 100, 600, 200, 300, TRUE, TRUE));
    RECT r = placed();
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(438, r.top);
    EXPECT_EQ(300, r.bottom - r.top);
}

TEST_F(Placement, TooLargeIsMovedAsAskedAndReportsZero)
{
    fakeAutoHide = false;
    fakeBar = RECT{0, 738, 1024, 768};
    EXPECT_FALSE(KtWindowPlacement::place(window_, -10, 20, 1500, 100, TRUE, TRUE));
    RECT r = placed();
    EXPECT_EQ(-10, r.left);
    EXPECT_EQ(20, r.top);
}

TEST_F(Placement, ZeroSizeKeepsTheCurrentSizeAndNoKeepIgnoresTheBar)
{
    fakeAutoHide = false;
    fakeBar = RECT{0, 738, 1024, 768};
    EXPECT_TRUE(KtWindowPlacement::place(window_, 10, 760, 0, 0, TRUE, FALSE));
    RECT r = placed();
    EXPECT_EQ(760, r.top);
    EXPECT_EQ(50, r.right - r.left);
    EXPECT_EQ(50, r.bottom - r.top);
}

TEST_F(Placement, ADeadWindowIsLeftAloneWithResultOne)
{
    HWND dead = window_;
    DestroyWindow(window_);
    window_ = nullptr;
    EXPECT_TRUE(KtWindowPlacement::place(dead, 0, 0, 10, 10, TRUE, TRUE));
    EXPECT_TRUE(KtWindowPlacement::place(nullptr, 0, 0, 10, 10, TRUE, TRUE));
}

}  // namespace
