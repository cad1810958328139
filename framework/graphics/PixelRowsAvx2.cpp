// PixelRowsAvx2: the AVX2 loops of the row routines (32 bytes per step for copies, 8 pixels for expands and mixes).
#include "PixelRows.h"
#include "PixelRowsPixel.h"
#include <immintrin.h>

// Every routine here is plain head, AVX2 body, plain tail per row; the head
// runs until the destination is 32-byte aligned. Loads and stores are the
// unaligned forms, so a destination that can never be aligned still works.
// A mix reads the level-weighted table (MixTable) rather than the colours,
// the SSE2 loop's arithmetic on twice as many lanes.

using namespace PixelRowsPixel;
using std::uint8_t;

namespace {

inline __m256i load256(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

inline void store256(uint8_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Eight source indices, s[0]'s in the lowest 32-bit lane.
inline __m256i eightIndices(const uint8_t* s) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)));
}

// The table colours of eight pixels, s[0]'s in the lowest lane. Eight plain
// loads beat the gather instruction on the processors this was timed on.
inline __m128i fourColours(const uint8_t* s, const void* colours) {
    __m128i v = _mm_cvtsi32_si128(static_cast<int>(colourOf(colours, s[0])));
    v = _mm_insert_epi32(v, static_cast<int>(colourOf(colours, s[1])), 1);
    v = _mm_insert_epi32(v, static_cast<int>(colourOf(colours, s[2])), 2);
    return _mm_insert_epi32(v, static_cast<int>(colourOf(colours, s[3])), 3);
}

inline __m256i eightColours(const uint8_t* s, const void* colours) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(fourColours(s, colours)),
                                   fourColours(s + 4, colours), 1);
}

// Two prepared entries side by side: 16-bit lanes of pixel a, then of pixel b.
inline __m128i twoWeighted(const MixTable& t, uint8_t a, uint8_t b) {
    const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t.weighted[a]));
    return _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(low),
                                         reinterpret_cast<const double*>(t.weighted[b])));
}

inline __m256i fourWeighted(const MixTable& t, uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(twoWeighted(t, a, b)),
                                   twoWeighted(t, c, d), 1);
}

// (D × (16 − L) + W) >> 4 per byte, W = P × L from the prepared table: the
// plain rule's own sum, at most 4080, so nothing saturates or carries. The
// entries are laid out to match the unpacking within each 128-bit half.
inline __m256i mixEightWeighted(__m256i d, const uint8_t* s, const MixTable& t, __m256i keep16) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), keep16),
                                         fourWeighted(t, s[0], s[1], s[4], s[5]));
    const __m256i high = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), keep16),
                                          fourWeighted(t, s[2], s[3], s[6], s[7]));
    return _mm256_packus_epi16(_mm256_srli_epi16(low, 4), _mm256_srli_epi16(high, 4));
}

const unsigned allKeyed = 0xFFFFFFFFu;  // _mm256_movemask_epi8 of an all-ones mask

// The rows of a keyed routine into true colour: plain head, then blocks of 32
// pixels whose key test is one byte compare of 32 source bytes, each block
// handled as four groups of eight that are skipped when all keyed, stored
// whole when none is, and merged otherwise; then groups of eight, then the
// plain tail. `eight(old, s)` gives the new values of the eight pixels at s,
// `one(d, s)` applies the plain rule (key test included) to one.
template <class Eight, class One>
void keyedRows(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
               uint8_t key, Eight eight, One one) {
    const __m256i keys = _mm256_set1_epi8(static_cast<char>(key));
    const __m256i key32 = _mm256_set1_epi32(key);
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 32, 4, w);
        for (int i = 0; i < x; ++i)
            one(dst + i * 4, src[i]);
        for (; x + 32 <= w; x += 32) {
            const unsigned keyed = static_cast<unsigned>(
                _mm256_movemask_epi8(_mm256_cmpeq_epi8(load256(src + x), keys)));
            if (keyed == allKeyed)
                continue;
            for (int g = 0; g < 4; ++g) {
                const unsigned groupKeyed = (keyed >> (g * 8)) & 0xFF;  // bit i: pixel i is the key
                if (groupKeyed == 0xFF)
                    continue;
                uint8_t* d = dst + (x + g * 8) * 4;
                const uint8_t* s = src + x + g * 8;
                const __m256i old = load256(d);
                const __m256i fresh = eight(old, s);
                if (groupKeyed == 0) {
                    store256(d, fresh);
                    continue;
                }
                const __m256i isKey = _mm256_cmpeq_epi32(eightIndices(s), key32);
                store256(d, _mm256_blendv_epi8(fresh, old, isKey));
            }
        }
        for (; x + 8 <= w; x += 8) {
            const uint8_t* s = src + x;
            const __m256i isKey = _mm256_cmpeq_epi32(eightIndices(s), key32);
            const unsigned keyed = static_cast<unsigned>(_mm256_movemask_epi8(isKey));
            if (keyed == allKeyed)
                continue;
            uint8_t* d = dst + x * 4;
            const __m256i old = load256(d);
            const __m256i fresh = eight(old, s);
            store256(d, keyed == 0 ? fresh : _mm256_blendv_epi8(fresh, old, isKey));
        }
        for (; x < w; ++x)
            one(dst + x * 4, src[x]);
    }
}

}  // namespace

void copy8Avx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 32, 1, w);
        for (int i = 0; i < x; ++i)
            dst[i] = src[i];
        for (; x + 32 <= w; x += 32)
            store256(dst + x, load256(src + x));
        for (; x < w; ++x)
            dst[x] = src[x];
    }
}

void copyKeyed8Avx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                    int h, uint8_t key) {
    const __m256i keys = _mm256_set1_epi8(static_cast<char>(key));
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 32, 1, w);
        for (int i = 0; i < x; ++i)
            copyKeyedPixel(dst + i, src[i], key);
        for (; x + 32 <= w; x += 32) {
            const __m256i s = load256(src + x);
            const __m256i isKey = _mm256_cmpeq_epi8(s, keys);  // FF where the source is the key
            const unsigned keyed = static_cast<unsigned>(_mm256_movemask_epi8(isKey));
            if (keyed == allKeyed)
                continue;  // all transparent: the destination stays as it is
            store256(dst + x, keyed == 0 ? s : _mm256_blendv_epi8(s, load256(dst + x), isKey));
        }
        for (; x < w; ++x)
            copyKeyedPixel(dst + x, src[x], key);
    }
}

void expandAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                const void* colours) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 32, 4, w);
        for (int i = 0; i < x; ++i)
            expandPixel(dst + i * 4, src[i], colours);
        for (; x + 8 <= w; x += 8)
            store256(dst + x * 4, eightColours(src + x, colours));
        for (; x < w; ++x)
            expandPixel(dst + x * 4, src[x], colours);
    }
}

void expandKeyedAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                     int h, const void* colours, uint8_t key) {
    keyedRows(
        dst, dstStride, src, srcStride, w, h, key,
        [colours](__m256i, const uint8_t* s) { return eightColours(s, colours); },
        [colours, key](uint8_t* d, uint8_t s) { expandKeyedPixel(d, s, colours, key); });
}

void mixAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
             const void* colours, int level) {
    MixTable table;
    table.prepare(colours, level);
    mixTableAvx2(dst, dstStride, src, srcStride, w, h, table);
}

void mixKeyedAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                  int h, const void* colours, int level, uint8_t key) {
    MixTable table;
    table.prepare(colours, level);
    mixTableKeyedAvx2(dst, dstStride, src, srcStride, w, h, table, key);
}

void mixTableAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                  const MixTable& table) {
    const int level = table.level;
    const void* colours = table.colours;
    if (level <= 0)
        return;
    if (level >= 16)
        return expandAvx2(dst, dstStride, src, srcStride, w, h, colours);
    const unsigned L = static_cast<unsigned>(level);
    const __m256i keep16 = _mm256_set1_epi16(static_cast<short>(16 - level));
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 32, 4, w);
        for (int i = 0; i < x; ++i)
            mixPixel(dst + i * 4, src[i], colours, L);
        for (; x + 8 <= w; x += 8) {
            uint8_t* d = dst + x * 4;
            store256(d, mixEightWeighted(load256(d), src + x, table, keep16));
        }
        for (; x < w; ++x)
            mixPixel(dst + x * 4, src[x], colours, L);
    }
}

void mixTableKeyedAvx2(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                       int h, const MixTable& table, uint8_t key) {
    const int level = table.level;
    const void* colours = table.colours;
    if (level <= 0)
        return;
    if (level >= 16)
        return expandKeyedAvx2(dst, dstStride, src, srcStride, w, h, colours, key);
    const unsigned L = static_cast<unsigned>(level);
    const __m256i keep16 = _mm256_set1_epi16(static_cast<short>(16 - level));
    keyedRows(
        dst, dstStride, src, srcStride, w, h, key,
        [&table, keep16](__m256i old, const uint8_t* s) {
            return mixEightWeighted(old, s, table, keep16);
        },
        [colours, L, key](uint8_t* d, uint8_t s) { mixKeyedPixel(d, s, colours, L, key); });
}
