// BmpHeader: the file and info headers of a Windows BMP file, checked against the file's real size.
#pragma once
#include <cstddef>
#include <cstdint>

// Reads the 14-byte file header ("BM", file size, two reserved words, offset
// of the pixel bits) and the info header that follows it: the 12-byte core
// header with 3-byte colour entries, or a 40- to 124-byte info header with
// 4-byte entries. Uncompressed and bit-field pictures are taken, and
// bottom-up 8-bit RLE8 and 4-bit RLE4 ones, whose rows are a coded stream
// (see RleExpander) that runs to the end of the file.
//
// Nothing read from the file is trusted for a size: the colour count is held
// to 256 and to the bytes before the pixels, and the pixel offset and rows
// must lie within the bytes actually present. The file-size field is not
// used, since writers disagree about it.
class BmpHeader {
public:
    static constexpr uint16_t typeValue = 0x4D42;  // "BM"
    static constexpr size_t fileHeaderSize = 14;
    static constexpr size_t coreHeaderSize = 12;

    // Type, file size and pixel offset; false when fewer than 14 bytes are
    // given or the type is not "BM".
    bool readFileHeader(const uint8_t* bytes, size_t count);
    // The whole header set of a file of size bytes; false when anything
    // is out of range or lies outside the file.
    bool read(const uint8_t* data, size_t size);

    size_t rowBytes() const;
    // Bytes of the plain rows; for run-length pictures, of the expanded rows.
    size_t pixelBytes() const;
    bool runLength() const;
    // The largest picture a run-length stream of streamBytes may decode to.
    size_t runLengthLimit() const;

    uint16_t type = 0;
    uint32_t fileSize = 0;
    uint32_t bitsOffset = 0;

    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;       // always positive; see topDown
    bool topDown = false;     // a negative stored height: rows run top to bottom
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue, for bit fields
    uint32_t colourCount = 0;
    size_t entrySize = 4;           // 3 for the core header
    size_t tableOffset = 0;
    uint32_t imageSize = 0;         // as stated; for run-length pictures a bound of the stream
    size_t streamBytes = 0;         // the coded rows of a run-length picture

private:
    bool readInfoHeader(const uint8_t* data, size_t size);
    bool readCoreHeader(const uint8_t* data, size_t size);
    bool placeTableAndBits(size_t size);
};
