// Tests of the resolutions the setup tool offers.
#include "ScreenModeList.h"
#include <gtest/gtest.h>

namespace {

std::string describe(const ScreenModeList& list)
{
    std::string out;
    for (const ScreenModeList::Size& s : list.sizes())
        out += std::to_string(s.width) + "x" + std::to_string(s.height) + " ";
    return out;
}

} // namespace

TEST(ScreenModeList, TheGameSizeIsAlwaysOffered)
{
    EXPECT_EQ("640x480 ", describe(ScreenModeList()));
}

TEST(ScreenModeList, SortedWithoutRepeatsAndNothingBelowTheGameSize)
{
    ScreenModeList list;
    list.add(1024, 768);
    list.add(800, 600);
    list.add(1024, 768);   // reported once per depth and refresh rate
    list.add(320, 240);
    list.add(640, 400);
    list.add(1024, 600);
    list.add(640, 480);
    EXPECT_EQ("640x480 800x600 1024x600 1024x768 ", describe(list));
    EXPECT_EQ(3, list.find(1024, 768));
    EXPECT_EQ(-1, list.find(320, 240));
}

TEST(ScreenModeList, AStoredSmallSizeStaysSelectable)
{
    ScreenModeList list;
    list.addAlways(512, 384);
    list.addAlways(0, 384);
    EXPECT_EQ("512x384 640x480 ", describe(list));
}
