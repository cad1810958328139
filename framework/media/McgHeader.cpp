// McgHeader: field extraction and the sanity checks of an "MCG " header.
#include "McgHeader.h"
#include "ByteOrder.h"
#include "LzssDecoder.h"
#include "PackedDib.h"

bool McgHeader::read(const uint8_t* bytes, size_t count)
{
    if (count < size)
        return false;
    magic = ByteOrder::get32(bytes);
    width = static_cast<int32_t>(ByteOrder::get32(bytes + 28));
    height = static_cast<int32_t>(ByteOrder::get32(bytes + 32));
    bitCount = ByteOrder::get16(bytes + 36);
    pixelSize = ByteOrder::get32(bytes + 40);
    colourCount = ByteOrder::get32(bytes + 44);
    compression = ByteOrder::get32(bytes + 52);
    return magic == magicValue;
}

size_t McgHeader::maskBytes() const
{
    return compression == PackedDib::compressionBitFields ? PackedDib::maskBytes : 0;
}

size_t McgHeader::rowsBytes() const
{
    if (height < 0 || height > PackedDib::maxDimension)
        return 0;
    return PackedDib::rowBytes(width, bitCount) * static_cast<size_t>(height);
}

bool McgHeader::plausible() const
{
    if (magic != magicValue || width <= 0 || height <= 0 || width > PackedDib::maxDimension ||
        height > PackedDib::maxDimension || !PackedDib::validBitCount(bitCount))
        return false;
    bool bitFields = compression == PackedDib::compressionBitFields;
    if (compression != PackedDib::compressionRgb && !bitFields)
        return false;
    if (bitFields && bitCount != 16 && bitCount != 32)
        return false;
    if (colourCount > PackedDib::maxColours)
        return false;
    // The rows are flipped in place over their computed length; a stated
    // size below it would put that flip outside the block.
    return pixelSize >= rowsBytes() && rowsBytes() <= PackedDib::maxBlockSize;
}

bool McgHeader::fits(size_t fileSize) const
{
    if (!plausible() || fileSize < streamOffset())
        return false;
    uint64_t stream = fileSize - streamOffset();
    return rowsBytes() <= stream * LzssDecoder::maxExpansion;
}
