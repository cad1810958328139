// RleExpander: expands the run-length coded rows of an RLE8 or RLE4 BMP into plain DIB rows.
#pragma once
#include <cstddef>
#include <cstdint>

// The stream is a series of two-byte codes, rows from the bottom up:
//   n > 0, v      a run of n pixels of v (RLE4: the two nibbles of v in turn)
//   0, 0          end of the row: on to the start of the next one up
//   0, 1          end of the picture
//   0, 2, dx, dy  move right by dx and up by dy; skipped pixels stay 0
//   0, n >= 3     n pixels follow as they are (RLE4: two a byte, high
//                 nibble first), padded to a whole 16-bit word
// Nothing in the stream is trusted. Pixels past the right edge are left out
// (writers commonly code the row's padding too); a run, a literal or a move
// past the top row refuses the whole stream, as does a code cut off by the
// stream's end. A stream that ends between codes without the end code keeps
// what it drew; the rest stays 0.
//
// Kept free of the platform headers so that it builds and fuzzes natively.
class RleExpander {
public:
    static constexpr uint32_t compressionRle8 = 1;
    static constexpr uint32_t compressionRle4 = 2;

    // Expands into rows: height rows of stride bytes, bottom row first,
    // which the caller has zero-filled. bitCount is 8 or 4, and stride
    // holds width pixels of it. False when the stream is refused.
    static bool expand(const uint8_t* stream, size_t size, uint16_t bitCount, int32_t width,
                       int32_t height, uint8_t* rows, size_t stride);

    RleExpander() = delete;

private:
    static void put(uint8_t* row, uint16_t bitCount, int32_t x, uint8_t value);
};
