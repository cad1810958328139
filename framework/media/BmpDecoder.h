// BmpDecoder: turns a whole BMP file held in memory into a packed DIB.
#pragma once
#include "PackedDib.h"

// Core headers come out as 40-byte info headers with 4-byte colour entries,
// top-down files as bottom-up rows, RLE8 and RLE4 files as plain rows. A
// malformed or truncated file, or a run-length stream that would draw
// outside the picture, gives an empty result.
class BmpDecoder {
public:
    static PackedDib decode(const uint8_t* data, size_t size,
                            const PackedDib::Allocator& allocator = PackedDib::standardAllocator);

    BmpDecoder() = delete;
};
