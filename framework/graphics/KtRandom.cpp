// KtRandom: seeding, the generator step and the shuffled permutation table.
#include "KtRandom.h"
#include "Diagnostic.h"

#include <cstddef>
#include <ctime>
#include <new>

#ifndef _WIN64
static_assert(offsetof(KtRandom, range) == 4 && offsetof(KtRandom, state) == 8 &&
              offsetof(KtRandom, count) == 12 && offsetof(KtRandom, table) == 16 &&
              offsetof(KtRandom, cursor) == 20 && sizeof(KtRandom) == 24,
              "fields read by scenario modules");
#else
static_assert(offsetof(KtRandom, range) < offsetof(KtRandom, state) &&
              offsetof(KtRandom, state) < offsetof(KtRandom, count) &&
              offsetof(KtRandom, count) < offsetof(KtRandom, table) &&
              offsetof(KtRandom, table) < offsetof(KtRandom, cursor),
              "fields read by scenario modules");
#endif

KtRandom::KtRandom() : range(fullRange), state(0), count(0), table(nullptr), cursor(nullptr) {}

KtRandom::~KtRandom()
{
    delete[] table;
}

void KtRandom::seed(uint32_t newRange)
{
    range = newRange;
    state = uint32_t(std::time(nullptr));
}

int KtRandom::shiftFor(uint32_t range)
{
    int shift = 0;
    for (uint32_t top = 0x7FFFFFFFu; top > range; top >>= 1)
        ++shift;
    return shift;
}

uint32_t KtRandom::next()
{
    state = state * 1566083941u + 1u;
    if (range == fullRange)
        return state;
    const int shift = range >= 0x7FFFFFFFu ? 0 : shiftFor(range);
    return (state >> shift) % (range + 1u);
}

void KtRandom::permute(int n)
{
    delete[] table;
    table = cursor = nullptr;
    count = 0;
    if (n < 0)
        n = 0;
    // n + 1 entries of four bytes must fit in the address space.
    if (size_t(n) >= size_t(-1) / sizeof(int32_t) - 1)
        throw NotEnoughMemoryException("random", "メモリが足りません！");
    table = new (std::nothrow) int32_t[size_t(n) + 1];
    if (!table)
        throw NotEnoughMemoryException("random", "メモリが足りません！");
    count = n;
    cursor = table;
    for (int i = 0; i < n; ++i)
        table[i] = i;
    shuffle(2 * n);
    table[n] = -1;
}

void KtRandom::shuffle(int rounds)
{
    // Without a table, or with nothing to swap (the range would be all 32
    // bits and reach past the table), there is nothing to do.
    if (!table || count < 1)
        return;
    seed(uint32_t(count) - 1u);
    for (int r = 0; r < rounds; ++r) {
        const uint32_t i = next();
        const uint32_t j = next();
        const int32_t kept = table[i];
        table[i] = table[j];
        table[j] = kept;
    }
}
