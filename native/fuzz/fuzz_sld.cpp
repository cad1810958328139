// Fuzz harness for "SLD" files: whole-file decoding, re-encoding, and the bare LZSS loop against the byte loop.
#include "SldDecoder.h"
#include "SldLzssDecoder.h"
#include "SldWriter.h"
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The bare loop into a small area: checks its own bounds, not the header's.
    uint8_t window[LzssDecoder::windowSize];
    uint8_t area[64];
    LzssDecoder::Result r = SldLzssDecoder::decode(data, size, area, sizeof area, window);
    if (r.consumed > size || r.produced > sizeof area)
        std::abort();
    // The block moves must match the byte loop through the window.
    uint8_t plainWindow[LzssDecoder::windowSize];
    uint8_t plain[sizeof area];
    LzssDecoder::Result p =
        LzssDecoder::decode(SldLzssDecoder::split, data, size, plain, sizeof plain, plainWindow);
    if (p.consumed != r.consumed || p.produced != r.produced ||
        std::memcmp(plain, area, r.produced) != 0 || std::memcmp(plainWindow, window, sizeof window))
        std::abort();

    PackedDib dib = SldDecoder::decodeFile(data, size);
    if (dib.empty() || dib.pixelBytes() == 0)
        return 0;
    std::vector<uint8_t> again = SldWriter::write(dib);
    PackedDib back = SldDecoder::decodeFile(again.data(), again.size());
    if (back.size() != dib.size() || std::memcmp(back.data(), dib.data(), dib.size()) != 0)
        std::abort();
    return 0;
}
