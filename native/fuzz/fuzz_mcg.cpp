// Fuzz harness for "MCG " files: decoding, flags, re-encoding what decodes, and the bare LZSS loop against the byte loop.
#include "McgDecoder.h"
#include "McgLzssDecoder.h"
#include "McgWriter.h"
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The bare loop, into an area larger than most inputs give, against the
    // byte loop through the window.
    static uint8_t area[1 << 16], plain[1 << 16];
    uint8_t window[LzssDecoder::windowSize], plainWindow[LzssDecoder::windowSize];
    LzssDecoder::Result r = McgLzssDecoder::decode(data, size, area, sizeof area, window);
    LzssDecoder::Result p =
        LzssDecoder::decode(McgLzssDecoder::split, data, size, plain, sizeof plain, plainWindow);
    if (p.consumed != r.consumed || p.produced != r.produced ||
        std::memcmp(plain, area, r.produced) != 0 || std::memcmp(plainWindow, window, sizeof window))
        std::abort();

    uint32_t flags[256];
    McgDecoder::readFlags(data, size, flags);
    PackedDib dib = McgDecoder::decode(data, size);
    if (dib.empty())
        return 0;
    if (dib.pixelBytes() != dib.stride() * static_cast<size_t>(dib.height()))
        std::abort();
    // Whatever decodes must survive the writer and decode to the same block.
    std::vector<uint8_t> again = McgWriter::write(dib, flags);
    PackedDib back = McgDecoder::decode(again.data(), again.size());
    if (back.size() != dib.size() || std::memcmp(back.data(), dib.data(), dib.size()) != 0)
        std::abort();
    return 0;
}
