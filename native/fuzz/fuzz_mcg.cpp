// Fuzz harness for "MCG " files: decoding, flags, and re-encoding what decodes.
#include "McgDecoder.h"
#include "McgWriter.h"
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
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
