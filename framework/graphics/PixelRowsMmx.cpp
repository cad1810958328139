// PixelRowsMmx: the MMX loops of the row routines (16 bytes per step for copies, 2 pixels for expands and mixes).
#include "PixelRows.h"
#include "PixelRowsPixel.h"
#include <mmintrin.h>

// Every routine here is plain head, MMX body, plain tail per row; the head
// runs until the destination is 8-byte aligned. Each routine ends with
// _mm_empty() so that floating-point code after it finds the x87 registers free.

using namespace PixelRowsPixel;
using std::uint8_t;

namespace {

// __m64 that may sit at any address.
typedef __m64 UnalignedM64 __attribute__((aligned(1)));

inline __m64 load64(const uint8_t* p) { return *reinterpret_cast<const UnalignedM64*>(p); }

inline void store64(uint8_t* p, __m64 v) { *reinterpret_cast<UnalignedM64*>(p) = v; }

// Pins v to an MMX register. A plain copy of __m64 values is otherwise done
// with integer registers, four bytes at a time, and the MMX loop would be MMX
// in name only.
inline __m64 inMmxRegister(__m64 v) {
    __asm__("" : "+y"(v));
    return v;
}

inline __m64 broadcastByte(uint8_t b) { return _mm_set1_pi8(static_cast<char>(b)); }

// Two pixels' table colours: colour of s[0] in the low half, s[1] in the high.
inline __m64 twoColours(const uint8_t* s, const void* colours) {
    return _mm_setr_pi32(static_cast<int>(colourOf(colours, s[0])),
                         static_cast<int>(colourOf(colours, s[1])));
}

// Lanes all ones where the pixel's source index equals the key.
inline __m64 twoKeyMask(const uint8_t* s, __m64 key32) {
    return _mm_cmpeq_pi32(_mm_setr_pi32(s[0], s[1]), key32);
}

// (D × (16 − L) + P × L) / 16 per byte, written as D + ((P − D) × L) >> 4 with an
// arithmetic shift: 16·D is a multiple of 16, so the floor of the sum is D plus
// the floor of (P − D) × L / 16, and |(P − D) × L| ≤ 4080 fits a 16-bit lane.
inline __m64 mixTwo(__m64 d, __m64 p, __m64 level16) {
    const __m64 zero = _mm_setzero_si64();
    const __m64 dLow = _mm_unpacklo_pi8(d, zero);   // 0A 0R 0G 0B of the first pixel
    const __m64 dHigh = _mm_unpackhi_pi8(d, zero);  // the same of the second
    const __m64 pLow = _mm_unpacklo_pi8(p, zero);
    const __m64 pHigh = _mm_unpackhi_pi8(p, zero);
    const __m64 low = _mm_add_pi16(
        dLow, _mm_srai_pi16(_mm_mullo_pi16(_mm_sub_pi16(pLow, dLow), level16), 4));
    const __m64 high = _mm_add_pi16(
        dHigh, _mm_srai_pi16(_mm_mullo_pi16(_mm_sub_pi16(pHigh, dHigh), level16), 4));
    return _mm_packs_pu16(low, high);
}

// Where mask is set keep `keep`, elsewhere take `take`.
inline __m64 select(__m64 mask, __m64 keep, __m64 take) {
    return _mm_or_si64(_mm_and_si64(mask, keep), _mm_andnot_si64(mask, take));
}

}  // namespace

void copy8Mmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 1, w);
        for (int i = 0; i < x; ++i)
            dst[i] = src[i];
        for (; x + 16 <= w; x += 16) {
            const __m64 a = inMmxRegister(load64(src + x));
            const __m64 b = inMmxRegister(load64(src + x + 8));
            store64(dst + x, a);
            store64(dst + x + 8, b);
        }
        for (; x < w; ++x)
            dst[x] = src[x];
    }
    _mm_empty();
}

void copyKeyed8Mmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                   int h, uint8_t key) {
    const __m64 keys = broadcastByte(key);
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 1, w);
        for (int i = 0; i < x; ++i)
            copyKeyedPixel(dst + i, src[i], key);
        for (; x + 16 <= w; x += 16) {
            for (int half = 0; half < 16; half += 8) {
                const __m64 s = load64(src + x + half);
                const __m64 isKey = _mm_cmpeq_pi8(s, keys);  // FF where the source is the key
                store64(dst + x + half, select(isKey, load64(dst + x + half), s));
            }
        }
        for (; x < w; ++x)
            copyKeyedPixel(dst + x, src[x], key);
    }
    _mm_empty();
}

void expandMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
               const void* colours) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 4, w);
        for (int i = 0; i < x; ++i)
            expandPixel(dst + i * 4, src[i], colours);
        for (; x + 2 <= w; x += 2)
            store64(dst + x * 4, twoColours(src + x, colours));
        for (; x < w; ++x)
            expandPixel(dst + x * 4, src[x], colours);
    }
    _mm_empty();
}

void expandKeyedMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                    int h, const void* colours, uint8_t key) {
    const __m64 key32 = _mm_set1_pi32(key);
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 4, w);
        for (int i = 0; i < x; ++i)
            expandKeyedPixel(dst + i * 4, src[i], colours, key);
        for (; x + 2 <= w; x += 2) {
            const __m64 isKey = twoKeyMask(src + x, key32);
            store64(dst + x * 4, select(isKey, load64(dst + x * 4), twoColours(src + x, colours)));
        }
        for (; x < w; ++x)
            expandKeyedPixel(dst + x * 4, src[x], colours, key);
    }
    _mm_empty();
}

void mixMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
            const void* colours, int level) {
    if (level <= 0)
        return;
    if (level >= 16)
        return expandMmx(dst, dstStride, src, srcStride, w, h, colours);
    const unsigned L = static_cast<unsigned>(level);
    const __m64 level16 = _mm_set1_pi16(static_cast<short>(level));
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 4, w);
        for (int i = 0; i < x; ++i)
            mixPixel(dst + i * 4, src[i], colours, L);
        for (; x + 2 <= w; x += 2) {
            uint8_t* d = dst + x * 4;
            store64(d, mixTwo(load64(d), twoColours(src + x, colours), level16));
        }
        for (; x < w; ++x)
            mixPixel(dst + x * 4, src[x], colours, L);
    }
    _mm_empty();
}

void mixKeyedMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                 const void* colours, int level, uint8_t key) {
    if (level <= 0)
        return;
    if (level >= 16)
        return expandKeyedMmx(dst, dstStride, src, srcStride, w, h, colours, key);
    const unsigned L = static_cast<unsigned>(level);
    const __m64 level16 = _mm_set1_pi16(static_cast<short>(level));
    const __m64 key32 = _mm_set1_pi32(key);
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = headPixels(dst, 8, 4, w);
        for (int i = 0; i < x; ++i)
            mixKeyedPixel(dst + i * 4, src[i], colours, L, key);
        for (; x + 2 <= w; x += 2) {
            uint8_t* d = dst + x * 4;
            const __m64 old = load64(d);
            const __m64 mixed = mixTwo(old, twoColours(src + x, colours), level16);
            store64(d, select(twoKeyMask(src + x, key32), old, mixed));
        }
        for (; x < w; ++x)
            mixKeyedPixel(dst + x * 4, src[x], colours, L, key);
    }
    _mm_empty();
}

void mixTableMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                 const MixTable& table) {
    mixMmx(dst, dstStride, src, srcStride, w, h, table.colours, table.level);
}

void mixTableKeyedMmx(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                      int h, const MixTable& table, uint8_t key) {
    mixKeyedMmx(dst, dstStride, src, srcStride, w, h, table.colours, table.level, key);
}
