// DibLayout: parsing and bounds checks of packed DIB headers.
#include "DibLayout.h"
#include "ByteOrder.h"
#include "PackedDib.h"
#include <algorithm>
#include <climits>

namespace {
constexpr uint32_t maxInfoHeaderSize = 124;
// From this size on the header holds the three masks itself.
constexpr uint32_t headerWithMasks = 52;
}  // namespace

bool DibLayout::read(const uint8_t* block, size_t size)
{
    *this = DibLayout();
    if (!block || size < 4)
        return false;
    headerSize = ByteOrder::get32(block);
    bool ok = headerSize == coreHeaderSize ? readCoreHeader(block, size)
                                           : readInfoHeader(block, size);
    return ok && placeRows(size);
}

bool DibLayout::readCoreHeader(const uint8_t* block, size_t size)
{
    if (size < coreHeaderSize)
        return false;
    width = ByteOrder::get16(block + 4);
    height = ByteOrder::get16(block + 6);
    bitCount = ByteOrder::get16(block + 10);
    // A core header knows only these depths; 2 to the power of any other
    // would ask for a table of absurd length.
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)
        return false;
    entrySize = 3;
    tableEntries = bitCount <= 8 ? (1u << bitCount) : 0;
    tableOffset = coreHeaderSize;
    return true;
}

bool DibLayout::readInfoHeader(const uint8_t* block, size_t size)
{
    if (headerSize < infoHeaderSize || headerSize > maxInfoHeaderSize || size < headerSize)
        return false;
    width = static_cast<int32_t>(ByteOrder::get32(block + 4));
    height = static_cast<int32_t>(ByteOrder::get32(block + 8));
    bitCount = ByteOrder::get16(block + 14);
    compression = ByteOrder::get32(block + 16);
    imageSize = ByteOrder::get32(block + 20);
    uint32_t used = ByteOrder::get32(block + 32);
    if (used > PackedDib::maxColours)
        return false;
    tableOffset = headerSize;
    if (compression == PackedDib::compressionBitFields) {
        if (bitCount != 16 && bitCount != 32)
            return false;
        masksOffset = infoHeaderSize;
        if (headerSize < headerWithMasks)
            tableOffset += PackedDib::maskBytes;
    } else if (compression != PackedDib::compressionRgb) {
        // Run-length and embedded formats have no rows to address.
        return false;
    }
    unusualBitCount = !PackedDib::validBitCount(bitCount);
    tableEntries = used ? used : (bitCount <= 8 ? (1u << bitCount) : 0);
    return PackedDib::takeRowOrder(height, topDown);
}

bool DibLayout::placeRows(size_t size)
{
    if (width < 0 || width > PackedDib::maxDimension || height > PackedDib::maxDimension)
        return false;
    // Rows of an unusual depth are sized for the larger of its own bits and
    // the 4 bytes a pixel it is taken for.
    uint64_t bits = static_cast<uint64_t>(width) * bitCount;
    if (unusualBitCount)
        bits = std::max<uint64_t>(bits, static_cast<uint64_t>(width) * 32);
    uint64_t rowLength = (bits + 31) / 32 * 4;
    uint64_t rows = rowLength * static_cast<uint64_t>(height);
    if (rows > PackedDib::maxBlockSize)
        return false;
    stride = static_cast<size_t>(rowLength);
    rowsBytes = static_cast<size_t>(rows);
    pixelOffset = tableOffset + tableEntries * entrySize;
    if (size == unknownSize)
        return true;
    return pixelOffset <= size && rowsBytes <= size - pixelOffset;
}

uint64_t DibLayout::customaryPixelBytes() const
{
    uint64_t base = static_cast<uint64_t>((width + 3) & ~3) * static_cast<uint64_t>(height);
    switch (bitCount) {
    case 1:
    case 4:
        return rowsBytes;
    case 8:
    case 16:
    case 24:
    case 32:
        return base * (bitCount / 8);
    default:
        return base * 4;
    }
}
