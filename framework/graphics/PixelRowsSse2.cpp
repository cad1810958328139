// PixelRowsSse2: the SSE2 loops of the row routines (16 bytes per step for copies, 4 pixels for expands and mixes).
#include "PixelRows.h"
#include "PixelRowsPixel.h"
#include <emmintrin.h>

// Every routine here is plain head, SSE2 body, plain tail per row; the head
// runs until the destination is 16-byte aligned. Loads and stores are the
// unaligned forms, so a destination that can never be aligned still works.

using namespace PixelRowsPixel;
using std::uint8_t;

namespace {

inline __m128i load128(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void store128(uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

inline __m128i colourLane(const uint8_t* s, int i, const void* colours) {
    return _mm_cvtsi32_si128(static_cast<int>(colourOf(colours, s[i])));
}

// Four pixels' table colours, s[0]'s in the lowest lane.
inline __m128i fourColours(const uint8_t* s, const void* colours) {
    const __m128i first = _mm_unpacklo_epi32(colourLane(s, 0, colours), colourLane(s, 1, colours));
    const __m128i second = _mm_unpacklo_epi32(colourLane(s, 2, colours), colourLane(s, 3, colours));
    return _mm_unpacklo_epi64(first, second);
}

// Lanes all ones where the pixel's source index equals the key.
inline __m128i fourKeyMask(const uint8_t* s, __m128i key32) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(load32(s)));  // s3 s2 s1 s0
    const __m128i words = _mm_unpacklo_epi8(bytes, zero);                 // 0s3 0s2 0s1 0s0
    return _mm_cmpeq_epi32(_mm_unpacklo_epi16(words, zero), key32);       // one index a lane
}

// Two prepared entries side by side: 16-bit lanes of pixel a, then of pixel b.
inline __m128i twoWeighted(const MixTable& t, uint8_t a, uint8_t b) {
    const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t.weighted[a]));
    return _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(low),
                                         reinterpret_cast<const double*>(t.weighted[b])));
}

// (D × (16 − L) + W) >> 4 per byte, W = P × L from the prepared table: the
// plain rule's own sum, at most 4080, so nothing saturates or carries.
inline __m128i mixFourWeighted(__m128i d, const uint8_t* s, const MixTable& t, __m128i keep16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), keep16),
                                      twoWeighted(t, s[0], s[1]));
    const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), keep16),
                                       twoWeighted(t, s[2], s[3]));
    return _mm_packus_epi16(_mm_srli_epi16(low, 4), _mm_srli_epi16(high, 4));
}

// Where mask is set keep `keep`, elsewhere take `take`.
inline __m128i select(__m128i mask, __m128i keep, __m128i take) {
    return _mm_or_si128(_mm_and_si128(mask, keep), _mm_andnot_si128(mask, take));
}

constexpr int allLanes = 0xFFFF;  // _mm_movemask_epi8 of an all-ones mask

// 32-bit lanes all ones for the set bits of a 4-bit pixel mask.
alignas(16) const std::uint32_t laneMasks[16][4] = {
    {0, 0, 0, 0}, {~0u, 0, 0, 0}, {0, ~0u, 0, 0}, {~0u, ~0u, 0, 0},
    {0, 0, ~0u, 0}, {~0u, 0, ~0u, 0}, {0, ~0u, ~0u, 0}, {~0u, ~0u, ~0u, 0},
    {0, 0, 0, ~0u}, {~0u, 0, 0, ~0u}, {0, ~0u, 0, ~0u}, {~0u, ~0u, 0, ~0u},
    {0, 0, ~0u, ~0u}, {~0u, 0, ~0u, ~0u}, {0, ~0u, ~0u, ~0u}, {~0u, ~0u, ~0u, ~0u}};

// The rows of a keyed routine into true colour: plain head, then blocks of 16
// pixels whose key test is one byte compare of 16 source bytes, each block
// handled as four groups of four that are skipped when all keyed, stored
// whole when none is, and merged otherwise; then groups of four, then the
// plain tail. `four(old, s)` gives the new values of four pixels, `one(d, s)`
// applies the plain rule (key test included) to one.
template <class Four, class One>
void keyedRows(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
               uint8_t key, Four four, One one) {
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    const __m128i key32 = _mm_set1_epi32(key);
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 16, 4, w);
        for (int i = 0; i < x; ++i)
            one(dst + i * 4, src[i]);
        for (; x + 16 <= w; x += 16) {
            const int keyed = _mm_movemask_epi8(_mm_cmpeq_epi8(load128(src + x), keys));
            if (keyed == allLanes)
                continue;
            for (int g = 0; g < 4; ++g) {
                const int groupKeyed = (keyed >> (g * 4)) & 0xF;  // bit i: pixel i is the key
                if (groupKeyed == 0xF)
                    continue;
                uint8_t* d = dst + (x + g * 4) * 4;
                const __m128i old = load128(d);
                const __m128i fresh = four(old, src + x + g * 4);
                if (groupKeyed == 0) {
                    store128(d, fresh);
                    continue;
                }
                const __m128i isKey =
                    _mm_load_si128(reinterpret_cast<const __m128i*>(laneMasks[groupKeyed]));
                store128(d, select(isKey, old, fresh));
            }
        }
        for (; x + 4 <= w; x += 4) {
            const __m128i isKey = fourKeyMask(src + x, key32);
            const int keyed = _mm_movemask_epi8(isKey);
            if (keyed == allLanes)
                continue;
            uint8_t* d = dst + x * 4;
            const __m128i old = load128(d);
            const __m128i fresh = four(old, src + x);
            store128(d, keyed == 0 ? fresh : select(isKey, old, fresh));
        }
        for (; x < w; ++x)
            one(dst + x * 4, src[x]);
    }
}

}  // namespace

void copy8Sse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 16, 1, w);
        for (int i = 0; i < x; ++i)
            dst[i] = src[i];
        for (; x + 16 <= w; x += 16)
            store128(dst + x, load128(src + x));
        for (; x < w; ++x)
            dst[x] = src[x];
    }
}

void copyKeyed8Sse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                    int h, uint8_t key) {
    const __m128i keys = _mm_set1_epi8(static_cast<char>(key));
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 16, 1, w);
        for (int i = 0; i < x; ++i)
            copyKeyedPixel(dst + i, src[i], key);
        for (; x + 16 <= w; x += 16) {
            const __m128i s = load128(src + x);
            const __m128i isKey = _mm_cmpeq_epi8(s, keys);  // FF where the source is the key
            const int keyed = _mm_movemask_epi8(isKey);
            if (keyed == allLanes)
                continue;  // all transparent: the destination stays as it is
            store128(dst + x, keyed == 0 ? s : select(isKey, load128(dst + x), s));
        }
        for (; x < w; ++x)
            copyKeyedPixel(dst + x, src[x], key);
    }
}

void expandSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                const void* colours) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 16, 4, w);
        for (int i = 0; i < x; ++i)
            expandPixel(dst + i * 4, src[i], colours);
        for (; x + 4 <= w; x += 4)
            store128(dst + x * 4, fourColours(src + x, colours));
        for (; x < w; ++x)
            expandPixel(dst + x * 4, src[x], colours);
    }
}

void expandKeyedSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                     int h, const void* colours, uint8_t key) {
    keyedRows(
        dst, dstStride, src, srcStride, w, h, key,
        [colours](__m128i, const uint8_t* s) { return fourColours(s, colours); },
        [colours, key](uint8_t* d, uint8_t s) { expandKeyedPixel(d, s, colours, key); });
}

void mixSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
             const void* colours, int level) {
    MixTable table;
    table.prepare(colours, level);
    mixTableSse2(dst, dstStride, src, srcStride, w, h, table);
}

void mixKeyedSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                  int h, const void* colours, int level, uint8_t key) {
    MixTable table;
    table.prepare(colours, level);
    mixTableKeyedSse2(dst, dstStride, src, srcStride, w, h, table, key);
}

void mixTableSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                  const MixTable& table) {
    const int level = table.level;
    const void* colours = table.colours;
    if (level <= 0)
        return;
    if (level >= 16)
        return expandSse2(dst, dstStride, src, srcStride, w, h, colours);
    const unsigned L = static_cast<unsigned>(level);
    const __m128i keep16 = _mm_set1_epi16(static_cast<short>(16 - level));
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 16, 4, w);
        for (int i = 0; i < x; ++i)
            mixPixel(dst + i * 4, src[i], colours, L);
        for (; x + 4 <= w; x += 4) {
            uint8_t* d = dst + x * 4;
            store128(d, mixFourWeighted(load128(d), src + x, table, keep16));
        }
        for (; x < w; ++x)
            mixPixel(dst + x * 4, src[x], colours, L);
    }
}

void mixTableKeyedSse2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                       int h, const MixTable& table, uint8_t key) {
    const int level = table.level;
    const void* colours = table.colours;
    if (level <= 0)
        return;
    if (level >= 16)
        return expandKeyedSse2(dst, dstStride, src, srcStride, w, h, colours, key);
    const unsigned L = static_cast<unsigned>(level);
    const __m128i keep16 = _mm_set1_epi16(static_cast<short>(16 - level));
    keyedRows(
        dst, dstStride, src, srcStride, w, h, key,
        [&table, keep16](__m128i old, const uint8_t* s) {
            return mixFourWeighted(old, s, table, keep16);
        },
        [colours, L, key](uint8_t* d, uint8_t s) { mixKeyedPixel(d, s, colours, L, key); });
}
