// PixelRowsPixel: the per-pixel rules shared by the plain loops and the heads and tails of the wide ones.
#pragma once
#include <cstdint>
#include <cstring>

// Each loop file is compiled with its own instruction-set flags. These helpers
// are static so every file keeps its own copy: were they shared inline
// functions, the linker could hand the plain loops a copy compiled for SSE2.
namespace PixelRowsPixel {

static inline std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

static inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// Entry `index` of a 256-entry colour table (blue, green, red, reserved) as the
// 32-bit pixel it becomes.
static inline std::uint32_t colourOf(const void* colours, std::uint8_t index) {
    return load32(static_cast<const std::uint8_t*>(colours) + index * 4u);
}

static inline void copyKeyedPixel(std::uint8_t* d, std::uint8_t s, std::uint8_t key) {
    if (s != key)
        *d = s;
}

static inline void expandPixel(std::uint8_t* d, std::uint8_t s, const void* colours) {
    store32(d, colourOf(colours, s));
}

static inline void expandKeyedPixel(std::uint8_t* d, std::uint8_t s, const void* colours,
                                    std::uint8_t key) {
    if (s != key)
        expandPixel(d, s, colours);
}

// (D × (16 − level) + P × level) / 16 for each of the four bytes, level 1..15.
// Bytes 0 and 2 (blue, red) share one word, bytes 1 and 3 (green, fourth)
// another: each 16-bit lane then holds at most 255 × 16 = 4080, so no lane
// carries into the next. With a constant level the multiplications become
// shifts and adds.
static inline std::uint32_t mixWord(std::uint32_t d, std::uint32_t p, unsigned level) {
    const unsigned keep = 16 - level;
    const std::uint32_t blueRed = (d & 0x00FF00FFu) * keep + (p & 0x00FF00FFu) * level;
    const std::uint32_t greenFourth =
        ((d >> 8) & 0x00FF00FFu) * keep + ((p >> 8) & 0x00FF00FFu) * level;
    // blueRed >> 4 puts each result in its lane's low byte; greenFourth << 4
    // puts each one byte higher, which is where green and the fourth byte live.
    return ((blueRed >> 4) & 0x00FF00FFu) | ((greenFourth << 4) & 0xFF00FF00u);
}

static inline void mixPixel(std::uint8_t* d, std::uint8_t s, const void* colours,
                            unsigned level) {
    store32(d, mixWord(load32(d), colourOf(colours, s), level));
}

static inline void mixKeyedPixel(std::uint8_t* d, std::uint8_t s, const void* colours,
                                 unsigned level, std::uint8_t key) {
    if (s != key)
        mixPixel(d, s, colours, level);
}

// Pixels before the first one whose address is a multiple of `align` bytes
// (a power of two), at most `w`. A wide loop runs these through the plain
// rule so its body stores to aligned addresses where it can.
static inline int headPixels(const std::uint8_t* d, unsigned align, unsigned pixelBytes,
                             int w) {
    const unsigned misalign = static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(d)) &
                              (align - 1);
    if (misalign % pixelBytes != 0)
        return 0;  // never aligned: the body stores unaligned throughout
    const int head = static_cast<int>(((align - misalign) & (align - 1)) / pixelBytes);
    return head < w ? head : w;
}

}  // namespace PixelRowsPixel
