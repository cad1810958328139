// McgHeader: the fixed 64-byte header of an "MCG " file and the checks made before trusting it.
#pragma once
#include <cstddef>
#include <cstdint>

// Layout, little-endian: magic "MCG " at 0, width at 28, height at 32, bits
// per pixel (16-bit) at 36, size of the decoded rows at 40, colour count at
// 44, compression at 52. The three bit-field masks follow at 64 when the
// compression is bit fields, then the colour table (blue, green, red, flag
// byte), then the LZSS stream of the rows, top row first.
class McgHeader {
public:
    static constexpr uint32_t magicValue = 0x2047434D;  // "MCG "
    static constexpr size_t size = 64;

    // Takes the fields from the first 64 bytes. False when fewer bytes are
    // given or the magic differs.
    bool read(const uint8_t* bytes, size_t count);

    // True when the fields describe a picture the readers accept: positive
    // width and height within the limits, a DIB bit count, plain or bit-field
    // compression (bit fields only at 16 or 32 bits), at most 256 colours,
    // and a stated row size no smaller than the rows themselves.
    bool plausible() const;
    // True when a file of fileSize bytes holds the masks and colour table and
    // a stream long enough to fill the rows; checked before allocating, so a
    // short file cannot ask for a block out of proportion to itself.
    bool fits(size_t fileSize) const;

    size_t maskBytes() const;
    size_t colourBytes() const { return 4 * static_cast<size_t>(colourCount); }
    size_t tableOffset() const { return size + maskBytes(); }
    size_t streamOffset() const { return tableOffset() + colourBytes(); }
    // Bytes of the padded rows; 0 for values out of range.
    size_t rowsBytes() const;

    uint32_t magic = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t pixelSize = 0;
    uint32_t colourCount = 0;
    uint32_t compression = 0;
};
