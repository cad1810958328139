// Tests of PnmHeader: the header forms of binary PGM and PPM and the ones the reader refuses.
#include "PnmHeader.h"
#include <gtest/gtest.h>
#include <string>

namespace {

bool parse(const std::string& text, PnmHeader& header)
{
    return header.parse(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(PnmHeader, ReadsNumbersAcrossCommentsAndAnyWhiteSpace)
{
    PnmHeader h;
    ASSERT_TRUE(parse("P6 # made by hand\n\t4\r\n# width above\n3 255\nxyz", h));
    EXPECT_EQ(3, h.channels);
    EXPECT_EQ(4, h.width);
    EXPECT_EQ(3, h.height);
    EXPECT_EQ(255, h.maxValue);
    EXPECT_EQ(std::string("P6 # made by hand\n\t4\r\n# width above\n3 255\n").size(), h.rasterOffset);
    EXPECT_EQ(36u, h.rasterBytes());
    ASSERT_TRUE(parse("P5\n2 2\n15\n", h));
    EXPECT_EQ(1, h.channels);
    EXPECT_EQ(15, h.maxValue);
}

TEST(PnmHeader, RasterStartsAfterExactlyOneWhiteSpaceByte)
{
    // The first samples are 10 and 32, bytes that look like white space.
    PnmHeader h;
    ASSERT_TRUE(parse("P5 2 1 255\n\n ", h));
    EXPECT_EQ(11u, h.rasterOffset);
}

TEST(PnmHeader, RefusesOtherFormsAndOutOfRangeValues)
{
    PnmHeader h;
    for (const char* text : {"", "P", "P3 1 1 255\n", "P4 1 1\n", "p5 1 1 255\n", "P5 1 1 255",
                             "P5 1 1", "P5 0 1 255\n", "P5 1 0 255\n", "P5 1 1 0\n",
                             "P5 1 1 256\n", "P5 1 1 65535\n", "P5 32768 1 255\n",
                             "P5 99999999999999999999 1 255\n", "P5 -1 1 255\n", "P5 1 1 255x",
                             "P5 # a comment that never ends"})
        EXPECT_FALSE(parse(text, h)) << '"' << text << '"';
    EXPECT_TRUE(parse("P5 32767 32767 255\n", h));
}

}  // namespace
