// BmpHeader: parsing and bounds checks of BMP file and info headers.
#include "BmpHeader.h"
#include "ByteOrder.h"
#include "PackedDib.h"
#include "RleExpander.h"
#include <cstdint>

namespace {
constexpr size_t minInfoSize = 40;
constexpr size_t maxInfoSize = 124;
}

bool BmpHeader::readFileHeader(const uint8_t* bytes, size_t count)
{
    if (!bytes || count < fileHeaderSize)
        return false;
    type = ByteOrder::get16(bytes);
    fileSize = ByteOrder::get32(bytes + 2);
    bitsOffset = ByteOrder::get32(bytes + 10);
    return type == typeValue;
}

bool BmpHeader::read(const uint8_t* data, size_t size)
{
    if (!readFileHeader(data, size) || size < fileHeaderSize + 4)
        return false;
    infoSize = ByteOrder::get32(data + fileHeaderSize);
    bool ok = infoSize == coreHeaderSize ? readCoreHeader(data, size) : readInfoHeader(data, size);
    return ok && placeTableAndBits(size);
}

bool BmpHeader::readCoreHeader(const uint8_t* data, size_t size)
{
    if (size < fileHeaderSize + coreHeaderSize)
        return false;
    const uint8_t* info = data + fileHeaderSize;
    width = ByteOrder::get16(info + 4);
    height = ByteOrder::get16(info + 6);
    bitCount = ByteOrder::get16(info + 10);
    compression = PackedDib::compressionRgb;
    entrySize = 3;
    tableOffset = fileHeaderSize + coreHeaderSize;
    // The core header has no count: a palettized picture has the full table,
    // as far as the bytes before the pixels hold it.
    colourCount = bitCount <= 8 ? (1u << bitCount) : 0;
    if (bitsOffset >= tableOffset && colourCount > (bitsOffset - tableOffset) / entrySize)
        colourCount = static_cast<uint32_t>((bitsOffset - tableOffset) / entrySize);
    return PackedDib::validBitCount(bitCount);
}

bool BmpHeader::readInfoHeader(const uint8_t* data, size_t size)
{
    if (infoSize < minInfoSize || infoSize > maxInfoSize || size < fileHeaderSize + infoSize)
        return false;
    const uint8_t* info = data + fileHeaderSize;
    width = static_cast<int32_t>(ByteOrder::get32(info + 4));
    height = static_cast<int32_t>(ByteOrder::get32(info + 8));
    bitCount = ByteOrder::get16(info + 14);
    compression = ByteOrder::get32(info + 16);
    imageSize = ByteOrder::get32(info + 20);
    uint32_t used = ByteOrder::get32(info + 32);
    entrySize = 4;
    tableOffset = fileHeaderSize + infoSize;
    if (!PackedDib::validBitCount(bitCount) || used > PackedDib::maxColours)
        return false;
    if (compression == PackedDib::compressionBitFields) {
        if (bitCount != 16 && bitCount != 32)
            return false;
        // A 40-byte header is followed by the masks; longer ones hold them.
        const uint8_t* masksAt = info + minInfoSize;
        if (infoSize < minInfoSize + PackedDib::maskBytes) {
            if (size < tableOffset + PackedDib::maskBytes)
                return false;
            tableOffset += PackedDib::maskBytes;
        }
        for (int i = 0; i < 3; ++i)
            masks[i] = ByteOrder::get32(masksAt + 4 * i);
    } else if (runLength()) {
        if (bitCount != (compression == RleExpander::compressionRle8 ? 8 : 4))
            return false;
    } else if (compression != PackedDib::compressionRgb) {
        return false;
    }
    colourCount = used ? used : (bitCount <= 8 ? (1u << bitCount) : 0);
    // Coded rows always run from the bottom up.
    return PackedDib::takeRowOrder(height, topDown) && !(topDown && runLength());
}

bool BmpHeader::placeTableAndBits(size_t size)
{
    if (width <= 0 || height <= 0 || width > PackedDib::maxDimension ||
        height > PackedDib::maxDimension)
        return false;
    uint64_t tableEnd = tableOffset + static_cast<uint64_t>(colourCount) * entrySize;
    if (tableEnd > size || bitsOffset < tableEnd || bitsOffset > size)
        return false;
    if (runLength()) {
        // The stream ends with the file, or earlier where the header says.
        streamBytes = size - bitsOffset;
        if (imageSize != 0 && imageSize < streamBytes)
            streamBytes = imageSize;
        return pixelBytes() <= runLengthLimit();
    }
    return pixelBytes() <= size - bitsOffset && pixelBytes() <= PackedDib::maxBlockSize;
}

size_t BmpHeader::runLengthLimit() const
{
    // A run codes at most 255 pixels in two bytes, so a stream that really
    // paints its picture is no smaller than about 1/128 of the pixels. An
    // end-of-picture mark lets a few bytes claim any size; beyond a generous
    // floor such a file would only make us allocate memory it never fills.
    constexpr size_t floorBytes = 16u << 20;
    constexpr size_t bytesPerStreamByte = 128;
    uint64_t painted = static_cast<uint64_t>(streamBytes) * bytesPerStreamByte;
    uint64_t limit = painted > floorBytes ? painted : floorBytes;
    return limit < PackedDib::maxBlockSize ? static_cast<size_t>(limit) : PackedDib::maxBlockSize;
}

size_t BmpHeader::rowBytes() const
{
    return PackedDib::rowBytes(width, bitCount);
}

bool BmpHeader::runLength() const
{
    return compression == RleExpander::compressionRle8 || compression == RleExpander::compressionRle4;
}

size_t BmpHeader::pixelBytes() const
{
    return rowBytes() * static_cast<size_t>(height);
}
