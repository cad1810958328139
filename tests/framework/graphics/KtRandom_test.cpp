// KtRandom tests: the generator step and its shifts, and permutations replayed from their seed.
#include "Diagnostic.h"
#include "KtRandom.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <ctime>
#include <vector>

namespace {

uint32_t step(uint32_t state)
{
    return state * 1566083941u + 1u;
}

TEST(KtRandom, NextShiftsTheStateAsFarAsTheRangeAllows)
{
    struct Case {
        uint32_t range;
        int shift;
    };
    // 0x7FFFFFFF halved 28 times is 7, the first value not above 9.
    // The full range returns the raw state.
    const Case cases[] = {{9, 28}, {0, 31}, {1, 30}, {4, 29}, {7, 28}, {0x7FFFFFFE, 1},
                          {0x7FFFFFFF, 0}, {0x80000000u, 0}, {KtRandom::fullRange, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.range);
        EXPECT_EQ(c.shift, c.range >= 0x7FFFFFFF ? 0 : KtRandom::shiftFor(c.range));
        KtRandom random;
        random.seed(c.range);
        for (uint32_t start : {0u, 1u, 0x12345678u, 0xFFFFFFFFu}) {
            random.state = start;
            const uint32_t want = c.range == KtRandom::fullRange
                                      ? step(start)
                                      : (step(start) >> c.shift) % (c.range + 1u);
            EXPECT_EQ(want, random.next());
            EXPECT_EQ(step(start), random.state);
        }
    }
}

// Replays permute(n) from a known seed: 2n swaps of next() pairs in range n − 1.
std::vector<int32_t> replay(int n, uint32_t seed)
{
    std::vector<int32_t> table(n + 1);
    for (int i = 0; i < n; ++i)
        table[i] = i;
    const int shift = uint32_t(n - 1) >= 0x7FFFFFFF ? 0 : KtRandom::shiftFor(uint32_t(n - 1));
    uint32_t state = seed;
    auto next = [&] {
        state = step(state);
        return (state >> shift) % uint32_t(n);
    };
    for (int r = 0; r < 2 * n; ++r) {
        const uint32_t i = next(), j = next();
        std::swap(table[i], table[j]);
    }
    table[n] = -1;
    return table;
}

TEST(KtRandom, PermuteMakesAShuffledTableWithAnEndMark)
{
    for (int n : {5, 1, 37}) {
        SCOPED_TRACE(n);
        KtRandom random;
        uint32_t before, after;
        do {
            before = uint32_t(std::time(nullptr));
            random.permute(n);
            after = uint32_t(std::time(nullptr));
        } while (before != after);   // the seed is known only within one second
        ASSERT_NE(nullptr, random.table);
        EXPECT_EQ(random.table, random.cursor);
        EXPECT_EQ(n, random.count);
        EXPECT_EQ(uint32_t(n - 1), random.range);
        std::vector<int32_t> got(random.table, random.table + n + 1);
        EXPECT_EQ(replay(n, before), got) << "2n swaps from the clock seed";
        // 2n swaps: 4n steps of the generator after the seed.
        uint32_t state = before;
        for (int i = 0; i < 4 * n; ++i)
            state = step(state);
        EXPECT_EQ(state, random.state);
        std::sort(got.begin(), got.end() - 1);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(i, got[i]);
        EXPECT_EQ(-1, got[n]);
    }
}

TEST(KtRandom, EmptyAndImpossiblePermutations)
{
    KtRandom random;
    random.shuffle(10);   // no table: nothing happens
    EXPECT_EQ(nullptr, random.table);

    random.permute(0);
    ASSERT_NE(nullptr, random.table);
    EXPECT_EQ(-1, random.table[0]);
    random.shuffle(10);   // nothing to swap, and no index past the end mark
    EXPECT_EQ(-1, random.table[0]);

    try {
        random.permute(0x7FFFFFFF);
        FAIL() << "no exception";
    } catch (NotEnoughMemoryException& e) {
        EXPECT_STREQ("random", e.title());
        EXPECT_STREQ("メモリが足りません！", e.message());
    }
    EXPECT_EQ(nullptr, random.table);
    EXPECT_EQ(0, random.count);
}

}  // namespace
