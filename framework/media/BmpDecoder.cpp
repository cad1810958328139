// BmpDecoder: copies the checked colour table and rows of a BMP file into a packed DIB.
#include "BmpDecoder.h"
#include "BmpHeader.h"
#include "ByteOrder.h"
#include <cstring>

PackedDib BmpDecoder::decode(const uint8_t* data, size_t size,
                             const PackedDib::Allocator& allocator)
{
    PackedDib dib(allocator);
    BmpHeader header;
    if (!header.read(data, size))
        return dib;
    if (!dib.create(header.width, header.height, header.bitCount, header.compression,
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
    size_t stride = header.rowBytes();
    const uint8_t* bits = data + header.bitsOffset;
    for (int32_t y = 0; y < header.height; ++y) {
        int32_t from = header.topDown ? header.height - 1 - y : y;
        std::memcpy(dib.row(y), bits + static_cast<size_t>(from) * stride, stride);
    }
    return dib;
}
