// Fuzz harness for the PNM header parser of the plug-in.
#include "PnmHeader.h"
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    PnmHeader header;
    if (!header.parse(bytes.data(), bytes.size()))
        return 0;
    if (header.width < 1 || header.height < 1 || header.width > PnmHeader::maxDimension ||
        header.height > PnmHeader::maxDimension || header.maxValue < 1 || header.maxValue > 255 ||
        (header.channels != 1 && header.channels != 3) || header.rasterOffset > size)
        std::abort();
    if (header.rasterBytes() != size_t(header.width) * size_t(header.height) * size_t(header.channels))
        std::abort();
    return 0;
}
