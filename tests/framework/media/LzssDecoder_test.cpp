// Tests of the two LZSS bit layouts and of the decoder's input and output bounds.
#include "LzssDecoder.h"
#include "McgLzssDecoder.h"
#include "SldLzssDecoder.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

uint8_t window[LzssDecoder::windowSize];

// Decodes into an area of outSize bytes and checks nothing is written past it.
std::vector<uint8_t> decode(LzssDecoder::Result (*fn)(const uint8_t*, size_t, uint8_t*, size_t,
                                                     uint8_t*),
                            const std::vector<uint8_t>& in, size_t outSize,
                            LzssDecoder::Result* result = nullptr)
{
    std::vector<uint8_t> out(outSize + 1, 0xCC);  // one canary byte past the area
    LzssDecoder::Result r = fn(in.data(), in.size(), out.data(), outSize, window);
    EXPECT_EQ(0xCC, out.back()) << "wrote past the output area";
    out.pop_back();
    if (result)
        *result = r;
    return out;
}

}  // namespace

TEST(LzssLayout, SameTwoBytesMeanDifferentCopies)
{
    LzssDecoder::Copy sld = SldLzssDecoder::split(0x00, 0xF2);
    EXPECT_EQ(0xF00u, sld.position);
    EXPECT_EQ(5u, sld.length);
    LzssDecoder::Copy mcg = McgLzssDecoder::split(0x00, 0xF2);
    EXPECT_EQ(0x200u, mcg.position);
    EXPECT_EQ(18u, mcg.length);
}

TEST(LzssLayout, CopiesReadTheWindowWrittenByLiterals)
{
    // Literals 'a' 'b' 'c' land at 0xFEE..0xFF0; a copy of 7 from 0xFEE
    // repeats them, overlapping its own output.
    std::vector<uint8_t> sldIn = {0x07, 'a', 'b', 'c', 0xEE, 0xF4};   // pos 0xFEE, len 4+3
    std::vector<uint8_t> mcgIn = {0x07, 'a', 'b', 'c', 0xEE, 0x4F};   // pos 0xFEE, len 4+3
    std::vector<uint8_t> expected = {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a'};
    EXPECT_EQ(expected, decode(SldLzssDecoder::decode, sldIn, 10));
    EXPECT_EQ(expected, decode(McgLzssDecoder::decode, mcgIn, 10));
}

TEST(LzssLayout, ZeroWindowAndWrapAt4096)
{
    // A copy from 0xFFE runs over the end of the window into positions 0, 1.
    std::vector<uint8_t> in = {0x00, 0xFE, 0x0F};  // MCG: pos 0xFFE, len 3
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0}), decode(McgLzssDecoder::decode, in, 3));
}

TEST(LzssBounds, OutputIsCutAtTheEndOfTheArea)
{
    LzssDecoder::Result r{};
    // An 18-byte copy into a 5-byte area.
    std::vector<uint8_t> out = decode(McgLzssDecoder::decode, {0x00, 0x00, 0xF0, 0x01, 'x'}, 5, &r);
    EXPECT_EQ(5u, r.produced);
    EXPECT_EQ(3u, r.consumed) << "the literal after the full area is not read";
}

TEST(LzssBounds, StreamsEndingInsideAnItemStopCleanly)
{
    LzssDecoder::Result r{};
    // Flag says copy, but only one of its two bytes is there.
    decode(SldLzssDecoder::decode, {0x00, 0x10}, 50, &r);
    EXPECT_EQ(0u, r.produced);
    EXPECT_EQ(1u, r.consumed);
    // Flag says literal, the input ends.
    decode(McgLzssDecoder::decode, {0x01}, 50, &r);
    EXPECT_EQ(0u, r.produced);
    // Empty input.
    decode(McgLzssDecoder::decode, {}, 50, &r);
    EXPECT_EQ(0u, r.produced);
}

TEST(LzssBounds, WindowIsClearedForEveryStream)
{
    std::vector<uint8_t> literals = {0xFF, 1, 2, 3, 4, 5, 6, 7, 8};
    decode(SldLzssDecoder::decode, literals, 8);
    // A copy from 0xFEE must see zeros again, not the previous stream's bytes.
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0}), decode(SldLzssDecoder::decode, {0x00, 0xEE, 0xF0}, 3));
}
