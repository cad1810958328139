// Fuzz harness for the RLE8/RLE4 expander: any stream into rows of exactly the picture's size.
#include "PackedDib.h"
#include "RleExpander.h"
#include <cstdlib>
#include <vector>

// The first three bytes choose the bit count and a size of up to 64 × 64;
// the rest is the stream. The rows are a block of their own, so that any
// write past them is caught.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint16_t bitCount = (data[0] & 1) ? 4 : 8;
    const int32_t width = data[1] % 65;
    const int32_t height = data[2] % 65;
    const size_t stride = PackedDib::rowBytes(width, bitCount);
    std::vector<uint8_t> stream(data + 3, data + size);
    uint8_t* rows = static_cast<uint8_t*>(std::calloc(stride * size_t(height) + 1, 1));
    RleExpander::expand(stream.data(), stream.size(), bitCount, width, height, rows, stride);
    // The padding nibble of an odd RLE4 row may be written, nothing past the rows.
    if (rows[stride * size_t(height)] != 0)
        std::abort();
    std::free(rows);
    return 0;
}
