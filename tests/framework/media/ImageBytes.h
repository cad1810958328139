// ImageBytes: builds small MCG and SLD files byte by byte for the reader tests.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ImageBytes {

inline void put32(std::vector<uint8_t>& v, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        v[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A stream of literals only: every flag byte 0xFF, so the result does not
// depend on any match search.
inline std::vector<uint8_t> literalStream(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 8 == 0)
            out.push_back(0xFF);
        out.push_back(bytes[i]);
    }
    return out;
}

struct Mcg {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 8;
    uint32_t compression = 0;
    std::vector<uint32_t> masks;    // 3 when compression is 3
    std::vector<uint32_t> colours;  // 0xFFRRGGBB-style words: blue low, flag high
    std::vector<uint8_t> rows;      // top row first, padded
    int64_t statedSize = -1;        // -1: the size of rows
    int64_t statedColours = -1;     // -1: colours.size()

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> v(64, 0);
        put32(v, 0, 0x2047434D);
        put32(v, 28, static_cast<uint32_t>(width));
        put32(v, 32, static_cast<uint32_t>(height));
        v[36] = static_cast<uint8_t>(bits);
        v[37] = static_cast<uint8_t>(bits >> 8);
        put32(v, 40, static_cast<uint32_t>(statedSize < 0 ? rows.size() : statedSize));
        put32(v, 44, static_cast<uint32_t>(statedColours < 0 ? colours.size() : statedColours));
        put32(v, 52, compression);
        for (uint32_t word : masks) {
            v.resize(v.size() + 4);
            put32(v, v.size() - 4, word);
        }
        for (uint32_t word : colours) {
            v.resize(v.size() + 4);
            put32(v, v.size() - 4, word);
        }
        std::vector<uint8_t> stream = literalStream(rows);
        v.insert(v.end(), stream.begin(), stream.end());
        return v;
    }
};

// An SLD file: 16 fixed bytes, 256 colours, then the stream.
inline std::vector<uint8_t> sld(uint32_t width, uint32_t height, const std::vector<uint8_t>& rows,
                                const std::vector<uint32_t>& colours = {})
{
    std::vector<uint8_t> v(1040, 0);
    put32(v, 0, 0x00444C53);
    put32(v, 4, width);
    put32(v, 8, height);
    for (size_t i = 0; i < colours.size() && i < 256; ++i)
        put32(v, 16 + 4 * i, colours[i]);
    std::vector<uint8_t> stream = literalStream(rows);
    v.insert(v.end(), stream.begin(), stream.end());
    return v;
}

inline std::vector<uint8_t> readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace ImageBytes
