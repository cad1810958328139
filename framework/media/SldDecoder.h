// SldDecoder: turns an "SLD" header and its pixel stream into an 8-bit packed DIB.
#pragma once
#include "PackedDib.h"

class SldHeader;

// The rows are stored in DIB order and copied as they come. A header that
// is not "SLD" or out of range, or a stream that ends before the rows are
// full, gives an empty result; a stream longer than the rows is cut.
class SldDecoder {
public:
    // window: LzssDecoder::windowSize bytes of scratch space.
    static PackedDib decode(const SldHeader& header, const uint8_t* stream, size_t size,
                            uint8_t* window,
                            const PackedDib::Allocator& allocator = PackedDib::standardAllocator);
    // A whole file in memory, read into a freshly preset holder.
    static PackedDib decodeFile(const uint8_t* data, size_t size,
                                const PackedDib::Allocator& allocator = PackedDib::standardAllocator);

    SldDecoder() = delete;
};
