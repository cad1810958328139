// PixelProbe: reads any pixel of a packed DIB as red, green and blue for comparisons.
#pragma once
#include "PackedDib.h"
#include <cstdint>
#include <vector>

namespace PixelProbe {

inline uint32_t word(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}

// Scales the field of value selected by mask to 8 bits.
inline uint8_t field(uint32_t value, uint32_t mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!(mask & (1u << shift)))
        ++shift;
    uint32_t max = mask >> shift;
    return static_cast<uint8_t>(((value & mask) >> shift) * 255 / max);
}

// Pixels as R, G, B bytes, top row first (the order ImageMagick writes).
inline std::vector<uint8_t> rgbTopDown(const PackedDib& dib)
{
    std::vector<uint8_t> out;
    const int bits = dib.bitCount();
    const uint8_t* table = dib.colourTable();
    const uint8_t* masks = const_cast<PackedDib&>(dib).masks();
    bool fields = dib.compression() == PackedDib::compressionBitFields;
    for (int32_t top = 0; top < dib.height(); ++top) {
        const uint8_t* row = dib.row(dib.height() - 1 - top);
        for (int32_t x = 0; x < dib.width(); ++x) {
            uint8_t r, g, b;
            if (bits <= 8) {
                int perByte = 8 / bits;
                int shift = 8 - bits - (x % perByte) * bits;
                int index = (row[x / perByte] >> shift) & ((1 << bits) - 1);
                const uint8_t* e = table + 4 * index;
                b = e[0], g = e[1], r = e[2];
            } else if (bits == 24 || (bits == 32 && !fields)) {
                const uint8_t* p = row + x * (bits / 8);
                b = p[0], g = p[1], r = p[2];
            } else {
                uint32_t v = bits == 32 ? word(row + 4 * x) : uint32_t(row[2 * x] | row[2 * x + 1] << 8);
                uint32_t rm = fields ? word(masks) : 0x7C00, gm = fields ? word(masks + 4) : 0x3E0,
                         bm = fields ? word(masks + 8) : 0x1F;
                r = field(v, rm), g = field(v, gm), b = field(v, bm);
            }
            out.insert(out.end(), {r, g, b});
        }
    }
    return out;
}

}  // namespace PixelProbe
