// SusiePicture: checks the two blocks a Susie plug-in hands back and packs them into one DIB block.
#pragma once
#include "PackedDib.h"

// A plug-in returns a BITMAPINFO (header and colour table) and the pixel
// rows in two blocks of its own making. Nothing in them is trusted: the
// header must describe a picture the system can hold, the colour table must
// lie inside the first block and every row inside the second. Rows given
// top-down (negative height) are turned bottom-up, the system's only order.
//
// Kept free of the platform headers so it builds and fuzzes natively.
class SusiePicture {
public:
    // Offset of the bit-field masks, right after the 40-byte header part
    // (also where the longer header versions keep them).
    static constexpr size_t maskOffset = 40;

    // An empty result when the blocks do not hold a whole, sound picture.
    static PackedDib pack(const uint8_t* info, size_t infoSize, const uint8_t* bits,
                          size_t bitsSize,
                          const PackedDib::Allocator& allocator = PackedDib::standardAllocator);

    SusiePicture() = delete;
};
