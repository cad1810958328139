// Tests of the RLE8 and RLE4 expander: every code, and streams that would draw outside the picture.
#include "RleExpander.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Case {
    const char* name;
    uint16_t bits;
    int32_t width, height;
    Bytes stream;
    bool accepted;
    // Expected rows, bottom row first, stride bytes each (only when accepted).
    Bytes rows;
};

size_t strideOf(int32_t width, uint16_t bits)
{
    return (size_t(width) * bits + 31) / 32 * 4;
}

TEST(RleExpander, ExpandsEveryCodeAndRefusesWhatLeavesThePicture)
{
    const Case cases[] = {
        // RLE8, 5 × 2, stride 8.
        {"runs and row ends", 8, 5, 2, {3, 7, 2, 9, 0, 0, 5, 4, 0, 1}, true,
         {7, 7, 7, 9, 9, 0, 0, 0, 4, 4, 4, 4, 4, 0, 0, 0}},
        {"literal of odd length is padded", 8, 5, 2, {0, 3, 1, 2, 3, 0, 2, 8, 0, 1}, true,
         {1, 2, 3, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"move leaves zeros", 8, 5, 2, {1, 6, 0, 2, 2, 1, 1, 5, 0, 1}, true,
         {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0}},
        {"no end code keeps what was drawn", 8, 5, 2, {2, 3}, true,
         {3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"end of row on the top row, then the end", 8, 5, 2, {0, 0, 0, 0, 0, 1}, true, Bytes(16, 0)},
        // Writers code the row's padding too: pixels past the edge are left out.
        {"run past the right edge", 8, 5, 2, {6, 1, 0, 0, 1, 2, 0, 1}, true,
         {1, 1, 1, 1, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}},
        {"runs adding up past the edge", 8, 5, 2, {3, 1, 3, 2, 0, 1}, true,
         {1, 1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"literal past the right edge", 8, 5, 2, {2, 1, 0, 4, 1, 2, 3, 4, 0, 1}, true,
         {1, 1, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"move past the right edge draws nothing there", 8, 5, 2, {0, 2, 6, 0, 1, 7, 0, 1}, true,
         Bytes(16, 0)},
        {"literal cut by the stream's end", 8, 5, 2, {0, 4, 1, 2}, false, {}},
        {"move past the top", 8, 5, 2, {0, 2, 0, 3, 0, 1}, false, {}},
        {"move cut by the stream's end", 8, 5, 2, {0, 2, 1}, false, {}},
        {"rows past the top", 8, 5, 2, {0, 0, 0, 0, 1, 1, 0, 1}, false, {}},
        {"code cut in half", 8, 5, 2, {2, 3, 4}, false, {}},
        {"empty picture, empty stream", 8, 0, 0, {}, true, {}},
        {"empty picture, a run", 8, 0, 0, {1, 1}, false, {}},
        // RLE4, 5 × 2, stride 4: two pixels a byte, high nibble first.
        {"nibble runs alternate", 4, 5, 2, {5, 0x12, 0, 0, 3, 0x30, 0, 1}, true,
         {0x12, 0x12, 0x10, 0, 0x30, 0x30, 0, 0}},
        {"nibble literal, three pixels in two bytes, padded", 4, 5, 2,
         {0, 3, 0x45, 0x60, 2, 0x77, 0, 1}, true, {0x45, 0x67, 0x70, 0, 0, 0, 0, 0}},
        {"nibble literal of five pixels in three bytes and a pad", 4, 5, 2,
         {0, 5, 0x12, 0x34, 0x50, 0x00, 0, 1}, true, {0x12, 0x34, 0x50, 0, 0, 0, 0, 0}},
        {"a run starting on an odd pixel", 4, 5, 2, {1, 0x90, 2, 0xAB, 0, 1}, true,
         {0x9A, 0xB0, 0, 0, 0, 0, 0, 0}},
        {"nibble run past the edge keeps the padding nibble", 4, 5, 2, {6, 0x11, 0, 1}, true,
         {0x11, 0x11, 0x10, 0, 0, 0, 0, 0}},
        {"nibble run past the top", 4, 5, 2, {0, 0, 0, 0, 1, 0x11}, false, {}},
        {"wrong bit count", 1, 5, 2, {0, 1}, false, {}},
    };
    for (const Case& c : cases) {
        const size_t stride = strideOf(c.width, c.bits);
        Bytes rows(stride * size_t(c.height) + 4, 0);
        rows.back() = 0xEE;    // past the picture: never written
        const bool accepted = RleExpander::expand(c.stream.data(), c.stream.size(), c.bits, c.width,
                                                  c.height, rows.data(), stride);
        EXPECT_EQ(c.accepted, accepted) << c.name;
        EXPECT_EQ(0xEE, rows.back()) << c.name;
        if (c.accepted && accepted)
            EXPECT_EQ(c.rows, Bytes(rows.begin(), rows.end() - 4)) << c.name;
    }
}

}  // namespace
