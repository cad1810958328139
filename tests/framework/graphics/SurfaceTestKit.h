// SurfaceTestKit: small helpers shared by the surface tests: patterned pictures, packed DIBs, files.
#pragma once
#include "KtFile.h"
#include "KtVSurface.h"
#include "KtVSurface24.h"
#include "PixelLoopKinds.h"
#include "PixelRows.h"
#include <windows.h>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kit {

// Index at (x, y) of the test pattern: distinct for every position of a 30 × 30 tile.
inline BYTE pattern(int x, int y)
{
    return BYTE((x * 7 + y * 31) % 251 + 1);
}

inline void paint(KtVSurface& s, BYTE (*value)(int, int))
{
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            *s.pixelAddress(x, y) = value(x, y);
}

inline uint32_t pixel24(const KtVSurface24& s, int x, int y)
{
    uint32_t v;
    std::memcpy(&v, s.pixelAddress(x, y), 4);
    return v;
}

inline void setPixel24(KtVSurface24& s, int x, int y, uint32_t v)
{
    std::memcpy(s.pixelAddress(x, y), &v, 4);
}

inline void fill24(KtVSurface24& s, uint32_t v)
{
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            setPixel24(s, x, y, v);
}

// A packed 8-bit DIB block: header, colours entries, rows bottom-up padded to 4.
inline std::vector<uint8_t> packed8(int w, int h, int colours, BYTE (*value)(int, int))
{
    const int stride = (w + 3) & ~3;
    std::vector<uint8_t> block(40 + colours * 4 + stride * h, 0);
    BITMAPINFOHEADER hdr = {};
    hdr.biSize = 40;
    hdr.biWidth = w;
    hdr.biHeight = h;
    hdr.biPlanes = 1;
    hdr.biBitCount = 8;
    hdr.biClrUsed = colours == 256 ? 0 : colours;
    std::memcpy(block.data(), &hdr, 40);
    for (int i = 0; i < colours; ++i) {
        const RGBQUAD c{BYTE(i * 3), BYTE(255 - i), BYTE(i), 0x5A};
        std::memcpy(&block[40 + i * 4], &c, 4);
    }
    uint8_t* rows = block.data() + 40 + colours * 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[(h - 1 - y) * stride + x] = value(x, y);
    return block;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// A file in the temporary folder, deleted when the test ends.
class TempFile {
public:
    explicit TempFile(const char* name)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + name;
        DeleteFileA(path_.c_str());
    }
    ~TempFile() { DeleteFileA(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

    std::vector<uint8_t> bytes() const
    {
        std::ifstream in(path_, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::vector<uint8_t>& data) const { writeFile(path_, data); }

private:
    std::string path_;
};

inline void openForWriting(KtFile& file, const char* path)
{
    file.open(path, CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
}

inline void openForReading(KtFile& file, const char* path)
{
    file.open(path, OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
}

inline DWORD position(KtFile& file)
{
    return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
}

template <class T>
void append(std::vector<uint8_t>& out, const T& value)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
}

inline void appendBytes(std::vector<uint8_t>& out, const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}

// The record of a class tag: count of length + 1, the name, its NUL.
inline std::vector<uint8_t> tagRecord(const char* name)
{
    std::vector<uint8_t> out;
    append(out, uint32_t(std::strlen(name) + 1));
    appendBytes(out, name, std::strlen(name) + 1);
    return out;
}

}  // namespace kit
