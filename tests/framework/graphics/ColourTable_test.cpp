// Tests of the colour-table arithmetic: starting table, range limits and the fade curve.
#include "ColourTable.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
bool same(const ColourQuad& a, const ColourQuad& b)
{
    return a.blue == b.blue && a.green == b.green && a.red == b.red && a.reserved == b.reserved;
}

std::vector<ColourQuad> uniform(uint8_t b, uint8_t g, uint8_t r, uint8_t reserved)
{
    return std::vector<ColourQuad>(ColourTable::size, ColourQuad{b, g, r, reserved});
}
}

TEST(ColourTable, InitialTableIsGreyRampUnderTheTwentyFixedColours)
{
    ColourQuad table[256];
    ColourTable::initialTable(table);
    for (int i = 10; i < 246; ++i)
        EXPECT_TRUE(same(table[i], ColourQuad{uint8_t(i), uint8_t(i), uint8_t(i), 0})) << i;
    // Spot checks in blue, green, red order, at both ends of both runs.
    EXPECT_TRUE(same(table[0], ColourQuad{0, 0, 0, 0}));
    EXPECT_TRUE(same(table[1], ColourQuad{0, 0, 128, 0}));
    EXPECT_TRUE(same(table[8], ColourQuad{192, 220, 192, 0}));
    EXPECT_TRUE(same(table[9], ColourQuad{240, 202, 166, 0}));
    EXPECT_TRUE(same(table[246], ColourQuad{240, 251, 255, 0}));
    EXPECT_TRUE(same(table[247], ColourQuad{164, 160, 160, 0}));
    EXPECT_TRUE(same(table[249], ColourQuad{0, 0, 255, 0}));
    EXPECT_TRUE(same(table[252], ColourQuad{255, 0, 0, 0}));
    EXPECT_TRUE(same(table[255], ColourQuad{255, 255, 255, 0}));
    EXPECT_TRUE(same(ColourTable::fixedColour(100), ColourQuad{0, 0, 0, 0}));
}

TEST(ColourTable, SetColoursCountIsCutAtTheLaterOfTheTwoStarts)
{
    EXPECT_EQ(6, ColourTable::setColoursCount(250, 10, 20));
    EXPECT_EQ(6, ColourTable::setColoursCount(10, 250, 20));
    EXPECT_EQ(1, ColourTable::setColoursCount(5, 5, 0));
    EXPECT_EQ(1, ColourTable::setColoursCount(5, 5, -7));
    EXPECT_EQ(256, ColourTable::setColoursCount(0, 0, 1000));
    EXPECT_EQ(0, ColourTable::setColoursCount(-1, 0, 4));
    EXPECT_EQ(0, ColourTable::setColoursCount(0, 256, 4));
}

TEST(ColourTable, RangeFirstIsClampedAndCountCutAtTheEnd)
{
    EXPECT_EQ(0, ColourTable::rangeFirst(-5));
    EXPECT_EQ(255, ColourTable::rangeFirst(300));
    EXPECT_EQ(1, ColourTable::rangeCount(300, 10));
    EXPECT_EQ(10, ColourTable::rangeCount(-5, 10));
    EXPECT_EQ(6, ColourTable::rangeCount(250, 100));
    EXPECT_EQ(0, ColourTable::rangeCount(3, 0));
    EXPECT_EQ(0, ColourTable::rangeCount(3, -4));
}

TEST(ColourTable, FadeRunsFromStoredToTargetAlongAQuarterCircle)
{
    const auto stored = uniform(200, 0, 100, 7);
    const auto target = uniform(0, 255, 100, 9);
    std::vector<ColourQuad> out(256);

    ASSERT_TRUE(ColourTable::fade(stored.data(), target.data(), 0, 16, out.data()));
    EXPECT_TRUE(same(out[17], stored[17]));
    ASSERT_TRUE(ColourTable::fade(stored.data(), target.data(), 16, 16, out.data()));
    EXPECT_TRUE(same(out[17], ColourQuad{0, 255, 100, 7})) << "target colours, stored reserved byte";

    // Halfway the curve is already at sqrt(3)/2 = 0.866: ahead of a straight line.
    ASSERT_TRUE(ColourTable::fade(stored.data(), target.data(), 8, 16, out.data()));
    EXPECT_EQ(uint8_t(200 - 200 * 0.8660254037844386), out[3].blue);
    EXPECT_EQ(uint8_t(255 * 0.8660254037844386), out[3].green);
    EXPECT_EQ(100, out[3].red);

    int previous = -1;
    for (int step = 0; step <= 16; ++step) {
        ColourTable::fade(stored.data(), target.data(), step, 16, out.data());
        EXPECT_GT(out[0].green, previous) << "step " << step;
        previous = out[0].green;
    }
}

TEST(ColourTable, FadeOutsideTheRangeIsRefusedAndLeavesOutAlone)
{
    const auto stored = uniform(1, 2, 3, 0);
    const auto target = uniform(4, 5, 6, 0);
    auto out = uniform(9, 9, 9, 9);
    EXPECT_FALSE(ColourTable::fade(stored.data(), target.data(), 17, 16, out.data()));
    EXPECT_FALSE(ColourTable::fade(stored.data(), target.data(), -1, 16, out.data()));
    EXPECT_FALSE(ColourTable::fade(stored.data(), target.data(), 0, 0, out.data()));
    EXPECT_TRUE(same(out[0], ColourQuad{9, 9, 9, 9}));
}
