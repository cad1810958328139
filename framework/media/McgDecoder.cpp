// McgDecoder: header checks, table copies, LZSS decoding and the row flip of "MCG " files.
#include "McgDecoder.h"
#include "McgHeader.h"
#include "McgLzssDecoder.h"
#include <algorithm>
#include <cstring>

PackedDib McgDecoder::decode(const uint8_t* data, size_t size,
                             const PackedDib::Allocator& allocator)
{
    PackedDib dib(allocator);
    McgHeader header;
    if (!data || !header.read(data, size) || !header.fits(size))
        return dib;
    if (!dib.create(header.width, header.height, header.bitCount, header.compression,
                    header.colourCount))
        return dib;
    // The stated row size may exceed the rows; what lies beyond them is no
    // part of the picture, so the block holds exactly the rows.
    size_t rows = header.rowsBytes();
    uint8_t window[LzssDecoder::windowSize];
    LzssDecoder::Result result = McgLzssDecoder::decode(
        data + header.streamOffset(), size - header.streamOffset(), dib.pixels(), rows, window);
    if (result.produced < rows) {
        dib.reset();
        return dib;
    }
    if (header.maskBytes())
        std::memcpy(dib.masks(), data + McgHeader::size, header.maskBytes());
    uint8_t* table = dib.colourTable();
    std::memcpy(table, data + header.tableOffset(), header.colourBytes());
    for (uint32_t i = 0; i < header.colourCount; ++i)
        table[4 * i + 3] = 0;
    flipRows(dib.pixels(), dib.stride(), header.height);
    return dib;
}

void McgDecoder::readFlags(const uint8_t* data, size_t size, uint32_t* flags)
{
    std::fill(flags, flags + PackedDib::maxColours, 0u);
    McgHeader header;
    if (!data || !header.read(data, size) || header.colourCount > PackedDib::maxColours)
        return;
    // Like the other colour-table operations, flags are taken right after
    // the fixed header, whatever the compression.
    size_t available = (size - McgHeader::size) / 4;
    size_t count = std::min<size_t>(header.colourCount, available);
    for (size_t i = 0; i < count; ++i)
        flags[i] = data[McgHeader::size + 4 * i + 3];
}

void McgDecoder::flipRows(uint8_t* pixels, size_t stride, int32_t height)
{
    for (int32_t i = 0; i < height / 2; ++i) {
        uint8_t* top = pixels + static_cast<size_t>(i) * stride;
        uint8_t* bottom = pixels + static_cast<size_t>(height - 1 - i) * stride;
        std::swap_ranges(top, top + stride, bottom);
    }
}
