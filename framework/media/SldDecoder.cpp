// SldDecoder: size checks, colour copy and LZSS decoding of "SLD" pictures.
#include "SldDecoder.h"
#include "SldHeader.h"
#include "SldLzssDecoder.h"
#include <algorithm>
#include <cstring>

PackedDib SldDecoder::decode(const SldHeader& header, const uint8_t* stream, size_t size,
                             uint8_t* window, const PackedDib::Allocator& allocator)
{
    PackedDib dib(allocator);
    if (!header.isSld() || !header.plausible())
        return dib;
    // A stream that cannot fill the rows is refused before the block is made.
    size_t rows = header.pixelBytes();
    if (rows > static_cast<uint64_t>(size) * LzssDecoder::maxExpansion)
        return dib;
    if (!dib.create(static_cast<int32_t>(header.width), static_cast<int32_t>(header.height), 8,
                    PackedDib::compressionRgb, SldHeader::colourEntries))
        return dib;
    std::memcpy(dib.colourTable(), header.colours, SldHeader::colourBytes);
    if (rows == 0)
        return dib;
    LzssDecoder::Result result = SldLzssDecoder::decode(stream, size, dib.pixels(), rows, window);
    if (result.produced < rows)
        dib.reset();
    return dib;
}

PackedDib SldDecoder::decodeFile(const uint8_t* data, size_t size,
                                 const PackedDib::Allocator& allocator)
{
    SldHeader header;
    if (!data)
        size = 0;
    header.takeFixed(data, size);
    size_t used = std::min(size, SldHeader::fixedSize);
    header.takeColours(data + used, size - used);
    used = std::min(size, SldHeader::fileHeaderSize);
    uint8_t window[LzssDecoder::windowSize];
    return decode(header, data + used, size - used, window, allocator);
}
