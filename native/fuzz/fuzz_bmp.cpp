// Fuzz harness for BMP files: header checks and copying the colour table and rows.
#include "BmpDecoder.h"
#include "BmpHeader.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BmpHeader header;
    bool valid = header.read(data, size);
    PackedDib dib = BmpDecoder::decode(data, size);
    // A run-length stream may still be refused after a sound header.
    if (!valid && !dib.empty())
        std::abort();
    if (valid && dib.empty() && !header.runLength())
        std::abort();
    if (!dib.empty() && dib.pixelBytes() != header.pixelBytes())
        std::abort();
    return 0;
}
