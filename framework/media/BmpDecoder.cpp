// BmpDecoder: copies the checked colour table and rows of a BMP file into a packed DIB.
#include "BmpDecoder.h"
#include "BmpHeader.h"
#include "ByteOrder.h"
#include "RleExpander.h"
#include <cstring>

PackedDib BmpDecoder::decode(const uint8_t* data, size_t size,
                             const PackedDib::Allocator& allocator)
{
    PackedDib dib(allocator);
    BmpHeader header;
    if (!header.read(data, size))
        return dib;
    // Run-length rows come out expanded: the picture is a plain one.
    const uint32_t compression =
        header.runLength() ? PackedDib::compressionRgb : header.compression;
    if (!dib.create(header.width, header.height, header.bitCount, compression,
                    header.colourCount))
        return dib;
    if (header.compression == PackedDib::compressionBitFields) {
        for (int i = 0; i < 3; ++i)
            ByteOrder::put32(dib.masks() + 4 * i, header.masks[i]);
    }
    uint8_t* table = dib.colourTable();
    const uint8_t* stored = data + header.tableOffset;
    for (uint32_t i = 0; i < header.colourCount; ++i) {
        std::memcpy(table + 4 * i, stored + header.entrySize * i, 3);
        table[4 * i + 3] = 0;
    }
    const uint8_t* bits = data + header.bitsOffset;
    if (header.runLength()) {
        if (!RleExpander::expand(bits, header.streamBytes, header.bitCount, header.width,
                                 header.height, dib.pixels(), dib.stride()))
            dib.reset();
        return dib;
    }
    size_t stride = header.rowBytes();
    for (int32_t y = 0; y < header.height; ++y) {
        int32_t from = header.topDown ? header.height - 1 - y : y;
        std::memcpy(dib.row(y), bits + static_cast<size_t>(from) * stride, stride);
    }
    return dib;
}
