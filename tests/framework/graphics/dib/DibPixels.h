// DibPixels: reads a KtDib's pixels as RGB and compares them with pixels ImageMagick read from a file.
#pragma once
#include "KtDib.h"
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace DibPixels {

// Red, green and blue of pixel (x, y), y from the top, whatever the depth.
// 32-bit pictures are read as blue, green, red, fourth byte (the only masks
// the system's pictures use).
inline uint32_t rgb(const KtDib& dib, int x, int y)
{
    const BITMAPINFOHEADER& h = *dib.header;
    int bits = h.biBitCount;
    size_t stride = ((static_cast<size_t>(h.biWidth) * bits + 31) / 32) * 4;
    const BYTE* row = dib.pixels + static_cast<size_t>(h.biHeight - 1 - y) * stride;
    if (bits <= 8) {
        int perByte = 8 / bits;
        int shift = 8 - bits * (x % perByte + 1);
        int index = (row[x / perByte] >> shift) & ((1 << bits) - 1);
        const RGBQUAD& c = dib.colourTable()[index];
        return (c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue;
    }
    const BYTE* p = row + static_cast<size_t>(x) * (bits / 8);
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

inline std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Empty when every pixel matches the RGB file (top row first); otherwise
// a description of the first difference.
inline std::string compare(const KtDib& dib, const std::string& rgbPath)
{
    std::vector<uint8_t> expected = readFile(rgbPath);
    if (!dib.header || !dib.pixels)
        return "the DIB is empty";
    int w = dib.header->biWidth, h = dib.header->biHeight;
    if (expected.size() != static_cast<size_t>(w) * h * 3)
        return "size differs from " + rgbPath;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* e = &expected[(static_cast<size_t>(y) * w + x) * 3];
            uint32_t want = (e[0] << 16) | (e[1] << 8) | e[2];
            uint32_t got = rgb(dib, x, y);
            if (want != got)
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                       std::to_string(want) + ", got " + std::to_string(got);
        }
    return std::string();
}

}  // namespace DibPixels
