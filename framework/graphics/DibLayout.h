// DibLayout: where the header, masks, colour table and rows of a packed DIB block lie, checked against its size.
#pragma once
#include <cstddef>
#include <cstdint>

// A packed DIB block is an info header (the 12-byte core header or a 40- to
// 124-byte info header), the three bit-field masks when a 40-byte header has
// bit-field compression (longer headers hold them inside), the colour table
// (3-byte entries after a core header, 4-byte ones otherwise) and the pixel
// rows. Nothing in the header is trusted for a size: the colour count is held
// to 256, the picture to PackedDib's limits, and when the block's size is
// known the table and every row must lie inside it.
//
// Kept free of the platform headers so that it builds and fuzzes natively.
class DibLayout {
public:
    // The block's size when the caller cannot tell it (a block made by the
    // program itself): only the header's own values are checked then.
    static constexpr size_t unknownSize = static_cast<size_t>(-1);
    static constexpr uint32_t coreHeaderSize = 12;
    static constexpr uint32_t infoHeaderSize = 40;

    // False when the header is malformed, compressed (other than bit fields),
    // too large, or does not fit in size bytes.
    bool read(const uint8_t* block, size_t size);

    // Bytes a stored 8-, 16-, 24- or 32-bit picture is given when its header
    // states no image size: the width rounded up to 4 pixels, times the
    // height and the bytes per pixel. Other bit counts take 4 bytes a pixel
    // (see unusualBitCount); 1 and 4 bits take their real rows.
    uint64_t customaryPixelBytes() const;

    uint32_t headerSize = 0;   // as stored: 12 or 40 to 124
    int32_t width = 0;
    int32_t height = 0;        // always positive; see topDown
    bool topDown = false;      // a negative stored height: rows run top to bottom
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;    // as stated; never trusted for a copy
    uint32_t tableEntries = 0; // colour entries stored in the block
    size_t entrySize = 4;      // 3 after a core header
    size_t masksOffset = 0;    // 0 without bit fields
    size_t tableOffset = 0;
    size_t pixelOffset = 0;
    size_t stride = 0;         // one row, padded to whole 32-bit words
    size_t rowsBytes = 0;      // stride times height
    // A bit count other than 1, 4, 8, 16, 24 and 32; the picture is still
    // taken, its rows sized at no less than 4 bytes a pixel.
    bool unusualBitCount = false;

private:
    bool readCoreHeader(const uint8_t* block, size_t size);
    bool readInfoHeader(const uint8_t* block, size_t size);
    bool placeRows(size_t size);
};
