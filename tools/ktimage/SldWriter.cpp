// SldWriter: header, 256 colours and the LZSS stream of the rows in DIB order.
#include "SldWriter.h"
#include "ByteOrder.h"
#include "LzssEncoder.h"
#include "SldHeader.h"
#include <algorithm>

std::vector<uint8_t> SldWriter::write(const PackedDib& dib)
{
    std::vector<uint8_t> out;
    if (dib.empty() || dib.bitCount() != 8 || dib.compression() != PackedDib::compressionRgb)
        return out;
    out.assign(SldHeader::fileHeaderSize, 0);
    ByteOrder::put32(&out[0], SldHeader::magicValue);
    ByteOrder::put32(&out[4], static_cast<uint32_t>(dib.width()));
    ByteOrder::put32(&out[8], static_cast<uint32_t>(dib.height()));
    uint32_t colours = std::min<uint32_t>(dib.colourCount(), SldHeader::colourEntries);
    const uint8_t* table = dib.colourTable();
    for (uint32_t i = 0; i < colours; ++i)
        std::copy(table + 4 * i, table + 4 * i + 4, &out[SldHeader::fixedSize + 4 * i]);
    std::vector<uint8_t> stream =
        LzssEncoder::encode(LzssEncoder::Layout::sld, dib.pixels(), dib.pixelBytes());
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}
