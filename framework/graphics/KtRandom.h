// KtRandom: the clock-seeded generator of random permutations that the transitions use.
#pragma once
#include <cstdint>

// A linear congruential generator (state × 1566083941 + 1) seeded with the
// time in whole seconds, and a table that holds a shuffled permutation of
// 0..n−1 followed by −1 as an end mark. Scenario modules read the fields, so
// their order is fixed: range, state, count, table, cursor.
class KtRandom {
public:
    KtRandom();
    virtual ~KtRandom();                  // slot 0: frees the table
    KtRandom(const KtRandom&) = delete;   // would free the table twice
    KtRandom& operator=(const KtRandom&) = delete;

    static constexpr uint32_t fullRange = 0xFFFFFFFFu;

    // Values of next run from 0 to range; the state restarts from the clock.
    void seed(uint32_t range);
    // The next value: the raw state for the full range, otherwise the state
    // shifted down as far as the range allows, modulo range + 1.
    uint32_t next();
    // Makes the table 0..n−1 in random order with −1 after it and points the
    // cursor at its start. Throws NotEnoughMemoryException ("random") when
    // the table cannot be had; a negative n is taken as 0.
    void permute(int n);
    // Swaps rounds pairs of entries of the table (nothing without one).
    void shuffle(int rounds);

    // How far the state is shifted down for a range below 0x7FFFFFFF.
    static int shiftFor(uint32_t range);

    uint32_t range;    // the largest value next returns
    uint32_t state;
    int32_t count;     // entries in the table before the end mark
    int32_t* table;    // count + 1 entries, owned
    int32_t* cursor;   // for the user: reads the permutation in order
};
