// Tests of the two LZSS bit layouts and of the decoder's input and output bounds.
#include "LzssDecoder.h"
#include "McgLzssDecoder.h"
#include "SldLzssDecoder.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <random>
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

namespace {

// A stream of `items` items, a third of them literals, whose copies reach
// back the distance that `reach` picks: 1 repeats the last byte, 2 to 17
// overlap the copy's own output, 18 and more end before it, and "any" may
// also reach the window's starting zeros before the first output byte.
enum class Reach { one, short_, medium, apart, any };

std::vector<uint8_t> streamOf(std::mt19937& rng, LzssDecoder::LengthNibble layout,
                              size_t items, Reach reach)
{
    std::vector<uint8_t> s;
    size_t produced = 0, flagAt = 0;
    for (size_t i = 0; i < items; ++i) {
        if (i % 8 == 0) {
            flagAt = s.size();
            s.push_back(0);
        }
        if (rng() % 3 == 0) {
            s[flagAt] |= 1u << (i % 8);
            s.push_back(uint8_t(rng()));
            ++produced;
            continue;
        }
        const unsigned length = 3 + rng() % 16;
        size_t distance = 1 + rng() % 4096;
        switch (reach) {
        case Reach::one: distance = 1; break;
        case Reach::short_: distance = 2 + rng() % 6; break;
        case Reach::medium: distance = 8 + rng() % 10; break;
        case Reach::apart: distance = 18 + rng() % 4079; break;
        case Reach::any: break;
        }
        const unsigned position = (produced + LzssDecoder::startPosition - distance) & 0xFFF;
        const unsigned lengthBits = length - LzssDecoder::minCopy, high = position >> 8;
        s.push_back(uint8_t(position));
        s.push_back(uint8_t(layout == LzssDecoder::LengthNibble::high ? lengthBits << 4 | high
                                                                      : high << 4 | lengthBits));
        produced += length;
    }
    return s;
}

}  // namespace

// The block moves must give what the byte loop through the window gives:
// the same bytes, the same counts, nothing past the area, the same window.
TEST(LzssDirect, SameAsTheByteLoopForEveryKindOfItem)
{
    struct Case {
        const char* name;
        Reach reach;
        size_t items;
        size_t outSize;  // 0: the whole stream's output
        bool cutInput;
    };
    const Case cases[] = {
        {"repeats of the last byte", Reach::one, 3000, 0, false},
        {"short overlaps", Reach::short_, 3000, 0, false},
        {"overlaps of 8 to 17", Reach::medium, 3000, 0, false},
        {"copies apart from their source", Reach::apart, 3000, 0, false},
        {"anything, from the first byte", Reach::any, 3000, 0, false},
        {"output area ends inside the stream", Reach::any, 3000, 5001, false},
        {"tiny output areas", Reach::any, 40, 7, false},
        {"input cut anywhere", Reach::any, 2000, 0, true},
        {"output and input cut", Reach::medium, 2000, 900, true},
    };
    std::mt19937 rng(2024);
    uint8_t plainWindow[LzssDecoder::windowSize];
    for (const Case& c : cases) {
        for (int round = 0; round < 40; ++round) {
            const bool mcg = round % 2 == 0;
            const LzssDecoder::LengthNibble layout =
                mcg ? LzssDecoder::LengthNibble::high : LzssDecoder::LengthNibble::low;
            std::vector<uint8_t> in = streamOf(rng, layout, c.items, c.reach);
            if (c.cutInput)
                in.resize(rng() % (in.size() + 1));
            const size_t outSize = c.outSize ? c.outSize + rng() % 64 : 18 * c.items + 32;
            std::vector<uint8_t> plain(outSize, 0xCC);
            LzssDecoder::Result expected =
                LzssDecoder::decode(mcg ? McgLzssDecoder::split : SldLzssDecoder::split,
                                    in.data(), in.size(), plain.data(), outSize, plainWindow);
            LzssDecoder::Result got{};
            std::vector<uint8_t> direct =
                decode(mcg ? McgLzssDecoder::decode : SldLzssDecoder::decode, in, outSize, &got);
            std::fill(direct.begin() + got.produced, direct.end(), 0xCC);
            SCOPED_TRACE(testing::Message() << c.name << ", round " << round);
            ASSERT_EQ(expected.consumed, got.consumed);
            ASSERT_EQ(expected.produced, got.produced);
            ASSERT_EQ(plain, direct);
            ASSERT_EQ(0, std::memcmp(plainWindow, window, sizeof window)) << "window differs";
        }
    }
}
