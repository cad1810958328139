// SusiePicture: validation of a plug-in's header, colour table and rows, and the copy into one block.
#include "SusiePicture.h"
#include "ByteOrder.h"
#include <cstring>

namespace {

// Offsets inside the BITMAPINFOHEADER.
constexpr size_t offWidth = 4;
constexpr size_t offHeight = 8;
constexpr size_t offBitCount = 14;
constexpr size_t offCompression = 16;
constexpr size_t offImageSize = 20;
constexpr size_t offColoursUsed = 32;

struct Layout {
    int32_t width;
    int32_t height;        // always positive here
    bool topDown;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t colourCount;
    size_t tableOffset;    // in the info block
};

bool readLayout(const uint8_t* info, size_t infoSize, Layout& layout)
{
    if (!info || infoSize < PackedDib::infoHeaderSize)
        return false;
    uint32_t headerSize = ByteOrder::get32(info);
    if (headerSize < PackedDib::infoHeaderSize || headerSize > infoSize)
        return false;
    layout.width = static_cast<int32_t>(ByteOrder::get32(info + offWidth));
    int32_t height = static_cast<int32_t>(ByteOrder::get32(info + offHeight));
    layout.topDown = height < 0;
    // INT32_MIN has no positive counterpart; it is out of range anyway.
    if (height == INT32_MIN || layout.width <= 0 || layout.width > PackedDib::maxDimension)
        return false;
    layout.height = layout.topDown ? -height : height;
    if (layout.height == 0 || layout.height > PackedDib::maxDimension)
        return false;
    layout.bitCount = ByteOrder::get16(info + offBitCount);
    layout.compression = ByteOrder::get32(info + offCompression);
    uint32_t used = ByteOrder::get32(info + offColoursUsed);
    if (!PackedDib::validBitCount(layout.bitCount))
        return false;
    if (used == 0 && layout.bitCount <= 8)
        used = 1u << layout.bitCount;
    if (used > PackedDib::maxColours)
        return false;
    layout.colourCount = used;
    // The masks sit right after the 40-byte part: behind a plain header,
    // inside the longer versions. Either way the table starts after both.
    layout.tableOffset = headerSize;
    size_t masksEnd = SusiePicture::maskOffset + PackedDib::maskBytes;
    if (layout.compression == PackedDib::compressionBitFields && layout.tableOffset < masksEnd)
        layout.tableOffset = masksEnd;
    uint64_t infoNeeded = layout.tableOffset + 4ull * layout.colourCount;
    return infoNeeded <= infoSize;
}

}  // namespace

PackedDib SusiePicture::pack(const uint8_t* info, size_t infoSize, const uint8_t* bits,
                             size_t bitsSize, const PackedDib::Allocator& allocator)
{
    PackedDib picture(allocator);
    Layout layout;
    if (!readLayout(info, infoSize, layout) || !bits)
        return picture;
    size_t stride = PackedDib::rowBytes(layout.width, layout.bitCount);
    uint64_t pixelBytes = static_cast<uint64_t>(stride) * layout.height;
    if (pixelBytes > bitsSize)
        return picture;
    // create refuses compressions other than plain and 16/32-bit bit fields.
    if (!picture.create(layout.width, layout.height, layout.bitCount, layout.compression,
                        layout.colourCount))
        return picture;
    // A stated image size lets the DIB copy exactly the rows and no more.
    ByteOrder::put32(picture.data() + offImageSize, static_cast<uint32_t>(pixelBytes));
    if (layout.compression == PackedDib::compressionBitFields)
        std::memcpy(picture.masks(), info + maskOffset, PackedDib::maskBytes);
    std::memcpy(picture.colourTable(), info + layout.tableOffset, 4 * layout.colourCount);
    for (int32_t y = 0; y < layout.height; ++y) {
        int32_t source = layout.topDown ? layout.height - 1 - y : y;
        std::memcpy(picture.row(y), bits + static_cast<size_t>(source) * stride, stride);
    }
    return picture;
}
