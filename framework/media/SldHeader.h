// SldHeader: the header holder of an "SLD" file: magic, size, a spare word and 256 colours.
#pragma once
#include <cstddef>
#include <cstdint>

// Layout, little-endian: magic "SLD" and a zero byte at 0, width at 4,
// height at 8 (8 bits per pixel), a word not used at 12, 256 colour entries
// (blue, green, red, reserved) at 16, then the LZSS stream of the rows in
// DIB order (bottom row first, rows padded to 4 bytes) from 1040.
//
// The holder is preset before a file is read: a file too short to hold the
// 16 fixed bytes keeps the preset magic and is taken as an empty picture
// with the default colours.
class SldHeader {
public:
    static constexpr uint32_t magicValue = 0x00444C53;  // "SLD\0"
    static constexpr size_t fixedSize = 16;
    static constexpr size_t colourEntries = 256;
    static constexpr size_t colourBytes = 4 * colourEntries;
    static constexpr size_t fileHeaderSize = fixedSize + colourBytes;

    SldHeader();
    virtual ~SldHeader();

    // Magic "SLD", width, height and the spare word 0, and the default
    // colours: a grey ramp with the twenty static colours of the system
    // palette over entries 0 to 9 and 246 to 255.
    void preset();
    // Takes the fixed fields when all 16 bytes are there; fewer leave the
    // holder as it is.
    void takeFixed(const uint8_t* bytes, size_t count);
    // Takes the complete 4-byte entries among count bytes, from entry 0 up.
    void takeColours(const uint8_t* bytes, size_t count);

    bool isSld() const { return magic == magicValue; }
    // True when width and height are within the limits (0 is allowed).
    bool plausible() const;
    // Bytes of the padded 8-bit rows; 0 for values out of range.
    size_t pixelBytes() const;

    uint32_t magic;
    uint32_t width;
    uint32_t height;
    uint32_t reserved;
    uint8_t colours[colourBytes];
};
