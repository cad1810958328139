// McgWriter: header, masks, colour table with flags and the top-row-first LZSS stream.
#include "McgWriter.h"
#include "ByteOrder.h"
#include "LzssEncoder.h"
#include "McgHeader.h"
#include <algorithm>

std::vector<uint8_t> McgWriter::write(const PackedDib& dib, const uint32_t* flags)
{
    std::vector<uint8_t> out;
    if (dib.empty())
        return out;
    size_t stride = dib.stride();
    int32_t height = dib.height();
    size_t rows = stride * static_cast<size_t>(height);
    size_t masks = dib.compression() == PackedDib::compressionBitFields ? PackedDib::maskBytes : 0;
    uint32_t colours = dib.colourCount();

    out.assign(McgHeader::size + masks + 4 * colours, 0);
    ByteOrder::put32(&out[0], McgHeader::magicValue);
    ByteOrder::put32(&out[28], static_cast<uint32_t>(dib.width()));
    ByteOrder::put32(&out[32], static_cast<uint32_t>(height));
    ByteOrder::put16(&out[36], dib.bitCount());
    ByteOrder::put32(&out[40], static_cast<uint32_t>(rows));
    ByteOrder::put32(&out[44], colours);
    ByteOrder::put32(&out[52], dib.compression());
    uint8_t* table = &out[McgHeader::size];
    if (masks) {
        std::copy(dib.data() + PackedDib::infoHeaderSize,
                  dib.data() + PackedDib::infoHeaderSize + masks, table);
        table += masks;
    }
    const uint8_t* stored = dib.colourTable();
    for (uint32_t i = 0; i < colours; ++i) {
        std::copy(stored + 4 * i, stored + 4 * i + 3, table + 4 * i);
        table[4 * i + 3] = flags ? static_cast<uint8_t>(flags[i]) : 0;
    }

    // The stream holds the rows top row first.
    std::vector<uint8_t> topDown(rows);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = dib.row(height - 1 - y);
        std::copy(row, row + stride, topDown.begin() + static_cast<size_t>(y) * stride);
    }
    std::vector<uint8_t> stream =
        LzssEncoder::encode(LzssEncoder::Layout::mcg, topDown.data(), topDown.size());
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}
