// McgDecoder: turns a whole "MCG " file held in memory into a packed DIB.
#pragma once
#include "PackedDib.h"

// The rows are stored top row first and come out bottom-up; the flag byte of
// each colour entry is cleared in the DIB (the flags are read separately).
// A file that is not "MCG ", is malformed, or whose stream ends before the
// rows are full gives an empty result; a stream longer than the rows is cut.
class McgDecoder {
public:
    static PackedDib decode(const uint8_t* data, size_t size,
                            const PackedDib::Allocator& allocator = PackedDib::standardAllocator);
    // Fills flags[0..255]: 0, then the fourth byte of each stored colour
    // entry, taken at offset 64. Entries beyond what the file holds stay 0;
    // a file with more than 256 colours leaves all 0.
    static void readFlags(const uint8_t* data, size_t size, uint32_t* flags);
    // Swaps row i with row height - 1 - i for the lower half of the rows.
    static void flipRows(uint8_t* pixels, size_t stride, int32_t height);

    McgDecoder() = delete;
};
