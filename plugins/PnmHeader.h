// PnmHeader: the header of a binary PGM ("P5") or PPM ("P6") picture with 8-bit samples.
#pragma once
#include <cstddef>
#include <cstdint>

// "P5" or "P6", then width, height and the largest sample value as decimal
// numbers separated by white space and "#" comments, then one white-space
// byte and the raster: rows top first, one byte a sample.
class PnmHeader {
public:
    static constexpr int32_t maxDimension = 32767;

    // Parses the header at data; false for anything else, for a largest
    // value outside 1 to 255 and for sizes outside 1 to maxDimension.
    bool parse(const uint8_t* data, size_t size);
    // Bytes of raster the header promises.
    size_t rasterBytes() const;

    int channels = 0;       // 1 for grey, 3 for RGB
    int32_t width = 0;
    int32_t height = 0;
    int maxValue = 0;
    size_t rasterOffset = 0;

private:
    bool skipSpace(const uint8_t* data, size_t size, size_t& pos);
    bool readNumber(const uint8_t* data, size_t size, size_t& pos, int32_t& value);
};
