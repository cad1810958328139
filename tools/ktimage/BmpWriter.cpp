// BmpWriter: prefixes a packed DIB with the BMP file header.
#include "BmpWriter.h"
#include "BmpHeader.h"
#include "ByteOrder.h"

std::vector<uint8_t> BmpWriter::write(const PackedDib& dib)
{
    std::vector<uint8_t> out;
    if (dib.empty())
        return out;
    size_t bitsOffset = BmpHeader::fileHeaderSize + (dib.size() - dib.pixelBytes());
    out.assign(BmpHeader::fileHeaderSize, 0);
    ByteOrder::put16(&out[0], BmpHeader::typeValue);
    ByteOrder::put32(&out[2], static_cast<uint32_t>(BmpHeader::fileHeaderSize + dib.size()));
    ByteOrder::put32(&out[10], static_cast<uint32_t>(bitsOffset));
    out.insert(out.end(), dib.data(), dib.data() + dib.size());
    return out;
}
