// PixelRowsPlain: the plain loops of the row routines, the reference every wide loop must equal.
#include "PixelRows.h"
#include "PixelRowsPixel.h"

using namespace PixelRowsPixel;
using std::uint8_t;

void copy8Plain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                int h) {
    const int words = w / 4;
    for (; h > 0; --h, dst -= dstStride, src -= srcStride) {
        int x = 0;
        for (int i = 0; i < words; ++i, x += 4)
            store32(dst + x, load32(src + x));
        for (; x < w; ++x)
            dst[x] = src[x];
    }
}

void copyKeyed8Plain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                     int h, uint8_t key) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride)
        for (int x = 0; x < w; ++x)
            copyKeyedPixel(dst + x, src[x], key);
}

void expandPlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
                 const void* colours) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride)
        for (int x = 0; x < w; ++x)
            expandPixel(dst + x * 4, src[x], colours);
}

void expandKeyedPlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                      int h, const void* colours, uint8_t key) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride)
        for (int x = 0; x < w; ++x)
            expandKeyedPixel(dst + x * 4, src[x], colours, key);
}

namespace {

// One loop per level, so the level is a constant in each.
template <unsigned Level>
void mixRows(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
             const void* colours) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride)
        for (int x = 0; x < w; ++x)
            mixPixel(dst + x * 4, src[x], colours, Level);
}

template <unsigned Level>
void mixKeyedRows(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                  int h, const void* colours, uint8_t key) {
    for (; h > 0; --h, dst -= dstStride, src -= srcStride)
        for (int x = 0; x < w; ++x)
            mixKeyedPixel(dst + x * 4, src[x], colours, Level, key);
}

using MixRowsFn = void (*)(uint8_t*, int, const uint8_t*, int, int, int, const void*);
using MixKeyedRowsFn = void (*)(uint8_t*, int, const uint8_t*, int, int, int, const void*,
                                uint8_t);

// Indexed by level; levels 0 and 16 never reach the tables.
const MixRowsFn mixByLevel[16] = {
    nullptr,      mixRows<1>,  mixRows<2>,  mixRows<3>,  mixRows<4>,  mixRows<5>,
    mixRows<6>,   mixRows<7>,  mixRows<8>,  mixRows<9>,  mixRows<10>, mixRows<11>,
    mixRows<12>,  mixRows<13>, mixRows<14>, mixRows<15>};
const MixKeyedRowsFn mixKeyedByLevel[16] = {
    nullptr,          mixKeyedRows<1>,  mixKeyedRows<2>,  mixKeyedRows<3>,
    mixKeyedRows<4>,  mixKeyedRows<5>,  mixKeyedRows<6>,  mixKeyedRows<7>,
    mixKeyedRows<8>,  mixKeyedRows<9>,  mixKeyedRows<10>, mixKeyedRows<11>,
    mixKeyedRows<12>, mixKeyedRows<13>, mixKeyedRows<14>, mixKeyedRows<15>};

}  // namespace

void mixPlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h,
              const void* colours, int level) {
    if (level <= 0)
        return;
    if (level >= 16)
        return expandPlain(dst, dstStride, src, srcStride, w, h, colours);
    mixByLevel[level](dst, dstStride, src, srcStride, w, h, colours);
}

void mixKeyedPlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                   int h, const void* colours, int level, uint8_t key) {
    if (level <= 0)
        return;
    if (level >= 16)
        return expandKeyedPlain(dst, dstStride, src, srcStride, w, h, colours, key);
    mixKeyedByLevel[level](dst, dstStride, src, srcStride, w, h, colours, key);
}

void mixTablePlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                   int h, const MixTable& table) {
    mixPlain(dst, dstStride, src, srcStride, w, h, table.colours, table.level);
}

void mixTableKeyedPlain(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w,
                        int h, const MixTable& table, uint8_t key) {
    mixKeyedPlain(dst, dstStride, src, srcStride, w, h, table.colours, table.level, key);
}
