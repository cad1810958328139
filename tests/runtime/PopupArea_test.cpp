// PopupArea: the screen-size and at-the-mouse codes, and the wait for a parent that lies off screen.
#include "PopupArea.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

using PopupArea::atMouse;
using PopupArea::coversScreen;

TEST(PopupArea, CodesOfTheRectangle)
{
    // The screen's corner and the cursor as the parent's client area sees them.
    const PopupArea::Surroundings around = {{-120, -80}, 1024, 768, {300, 200}};
    struct Case {
        const char* what;
        RectEdges asked;
        RectEdges expected;
    } cases[] = {
        {"plain rectangle", {10, 20, 210, 120}, {10, 20, 210, 120}},
        {"reversed edges are normalised", {210, 120, 10, 20}, {10, 20, 210, 120}},
        {"screen code covers the screen", {coversScreen, coversScreen, 5, 5}, {-120, -80, 904, 688}},
        {"screen code needs both edges", {coversScreen, 0, coversScreen + 1, 10},
         {coversScreen, 0, coversScreen + 1, 10}},
        {"mouse code: the size follows the cursor", {atMouse, atMouse, atMouse + 200, atMouse + 100},
         {300, 200, 500, 300}},
        {"mouse code with an empty size", {atMouse, atMouse, atMouse, atMouse}, {300, 200, 300, 200}},
        {"mouse code needs both edges", {atMouse, 7, atMouse + 1, 8}, {atMouse, 7, atMouse + 1, 8}},
    };
    for (const Case& c : cases) {
        RectEdges got = PopupArea::resolve(c.asked, around);
        EXPECT_EQ(c.expected.left, got.left) << c.what;
        EXPECT_EQ(c.expected.top, got.top) << c.what;
        EXPECT_EQ(c.expected.right, got.right) << c.what;
        EXPECT_EQ(c.expected.bottom, got.bottom) << c.what;
    }
}

// The parent's screen position, given in turn by each conversion.
TEST(PopupArea, AParentOffScreenIsAwaitedUpToFiveTimesThenTheCornerIsTaken)
{
    struct Case {
        const char* what;
        std::vector<int> parentX;   // one per conversion; the last repeats
        int pauses;
        int expectedX;
    } cases[] = {
        {"on screen: no wait", {50}, 0, 60},
        {"exactly -1000 is on screen", {-1010}, 0, -1000},
        {"back after two pauses", {-32000, -32000, 40}, 2, 50},
        {"back at the fifth look", {-32000, -32000, -32000, -32000, -32000, 40}, 5, 50},
        {"never back: the screen's corner", {-32000}, 5, 0},
    };
    for (const Case& c : cases) {
        size_t conversions = 0;
        int pauses = 0;
        auto toScreen = [&](PopupArea::Place client) {
            size_t i = conversions < c.parentX.size() ? conversions : c.parentX.size() - 1;
            ++conversions;
            return PopupArea::Place{c.parentX[i] + client.x, 30 + client.y};
        };
        PopupArea::Place corner = PopupArea::screenCorner({10, 5}, toScreen, [&] { ++pauses; });
        EXPECT_EQ(c.pauses, pauses) << c.what;
        EXPECT_EQ(c.expectedX, corner.x) << c.what;
        EXPECT_EQ(c.expectedX == 0 ? 0 : 35, corner.y) << c.what;
    }
}

}  // namespace
