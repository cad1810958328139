// PnmPlugin: a Susie import plug-in for binary PGM and PPM pictures (8-bit samples).
#include "PluginModule.h"
#include "PluginTrace.h"
#include "PnmHeader.h"
#include "SusieApi.h"
#include <cstring>
#include <new>

namespace {

// Larger files cannot hold a picture of the permitted size.
constexpr DWORD maxFileSize = 64u << 20;

const char* const infoTexts[] = {
    "00IN",
    "ktpnm: binary PGM/PPM reader",
    "*.pgm;*.ppm;*.pnm",
    "Portable graymap / pixmap (binary)",
};

// The whole image, from a file at an offset or from the caller's memory.
class Source {
public:
    ~Source() { delete[] owned_; }
    Source() = default;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    int open(LPCSTR source, long length, unsigned flags)
    {
        if ((flags & 7) == 1) {
            if (!source || length <= 0)
                return SusieResult::unknownFormat;
            data_ = reinterpret_cast<const uint8_t*>(source);
            size_ = static_cast<size_t>(length);
            return SusieResult::ok;
        }
        return readFile(source, length);
    }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    int readFile(LPCSTR name, long offset)
    {
        HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return SusieResult::readError;
        DWORD fileSize = GetFileSize(file, nullptr);
        int result = SusieResult::ok;
        if (fileSize == INVALID_FILE_SIZE || offset < 0 || static_cast<DWORD>(offset) > fileSize ||
            fileSize - offset > maxFileSize) {
            result = SusieResult::unknownFormat;
        } else {
            size_ = fileSize - offset;
            owned_ = new (std::nothrow) uint8_t[size_ ? size_ : 1];
            DWORD got = 0;
            if (!owned_)
                result = SusieResult::noMemory;
            else if (SetFilePointer(file, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
                     !ReadFile(file, owned_, static_cast<DWORD>(size_), &got, nullptr) || got != size_)
                result = SusieResult::readError;
            data_ = owned_;
        }
        CloseHandle(file);
        return result;
    }

    uint8_t* owned_ = nullptr;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

// A movable, zero-filled local block of size bytes, locked; null on failure.
void* allocateLocked(size_t size, HLOCAL& handle)
{
    handle = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    return handle ? LocalLock(handle) : nullptr;
}

uint8_t scaled(uint8_t sample, int maxValue)
{
    return sample >= maxValue ? 255 : static_cast<uint8_t>(sample * 255 / maxValue);
}

// The header and, for grey pictures, a table of 256 greys.
void writeInfo(BITMAPINFO* info, const PnmHeader& header, size_t stride)
{
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = header.width;
    h.biHeight = header.height;  // positive: rows bottom-up
    h.biPlanes = 1;
    h.biBitCount = header.channels == 1 ? 8 : 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(stride * header.height);
    h.biClrUsed = header.channels == 1 ? 256 : 0;
    for (DWORD i = 0; i < h.biClrUsed; ++i) {
        RGBQUAD& entry = info->bmiColors[i];
        entry.rgbBlue = entry.rgbGreen = entry.rgbRed = static_cast<BYTE>(i);
    }
}

// PNM rows run top first, RGB; DIB rows bottom first, BGR.
void writeRows(uint8_t* bits, const uint8_t* raster, const PnmHeader& header, size_t stride)
{
    size_t rowSamples = static_cast<size_t>(header.width) * header.channels;
    for (int32_t y = 0; y < header.height; ++y) {
        const uint8_t* in = raster + static_cast<size_t>(y) * rowSamples;
        uint8_t* out = bits + static_cast<size_t>(header.height - 1 - y) * stride;
        if (header.channels == 1) {
            for (int32_t x = 0; x < header.width; ++x)
                out[x] = scaled(in[x], header.maxValue);
            continue;
        }
        for (int32_t x = 0; x < header.width; ++x, in += 3, out += 3) {
            out[0] = scaled(in[2], header.maxValue);
            out[1] = scaled(in[1], header.maxValue);
            out[2] = scaled(in[0], header.maxValue);
        }
    }
}

int decode(const Source& source, HLOCAL* infoOut, HLOCAL* bitsOut, SusieProgress progress,
           long data)
{
    PnmHeader header;
    if (!header.parse(source.data(), source.size()))
        return SusieResult::unknownFormat;
    if (source.size() - header.rasterOffset < header.rasterBytes())
        return SusieResult::brokenData;
    if (progress && progress(0, header.height, data) != 0)
        return SusieResult::aborted;
    int bitCount = header.channels == 1 ? 8 : 24;
    size_t stride = (static_cast<size_t>(header.width) * bitCount + 31) / 32 * 4;
    size_t infoSize = sizeof(BITMAPINFOHEADER) + (header.channels == 1 ? 256 * sizeof(RGBQUAD) : 0);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    auto* infoBlock = static_cast<BITMAPINFO*>(allocateLocked(infoSize, info));
    auto* bitsBlock = static_cast<uint8_t*>(allocateLocked(stride * header.height, bits));
    if (!infoBlock || !bitsBlock) {
        if (info)
            LocalFree(info);
        if (bits)
            LocalFree(bits);
        return SusieResult::noMemory;
    }
    writeInfo(infoBlock, header, stride);
    writeRows(bitsBlock, source.data() + header.rasterOffset, header, stride);
    LocalUnlock(info);
    LocalUnlock(bits);
    *infoOut = info;
    *bitsOut = bits;
    // The answer at completion changes nothing: the picture is already made.
    if (progress)
        progress(header.height, header.height, data);
    return SusieResult::ok;
}

}  // namespace

extern "C" {

int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int length)
{
    PluginTrace::note(pluginInstance, "GetPluginInfo");
    bool known = infoNumber >= 0 && infoNumber < static_cast<int>(sizeof infoTexts / sizeof infoTexts[0]);
    return copyPluginInfo(known ? infoTexts[infoNumber] : nullptr, buffer, length);
}

int __stdcall IsSupported(LPCSTR fileName, DWORD_PTR fileHandle)
{
    PluginTrace::note(pluginInstance, "IsSupported");
    uint8_t head[susieHeadSize];
    DWORD got = 0;
    if ((fileHandle >> 16) == 0) {
        HANDLE file = reinterpret_cast<HANDLE>(fileHandle);
        if (!ReadFile(file, head, sizeof head, &got, nullptr))
            return 0;
    } else {
        std::memcpy(head, reinterpret_cast<const void*>(fileHandle), sizeof head);
        got = sizeof head;
    }
    PnmHeader header;
    return header.parse(head, got) ? 1 : 0;
}

int __stdcall GetPictureInfo(LPCSTR source, long length, unsigned flags, SusiePictureInfo* info)
{
    PluginTrace::note(pluginInstance, "GetPictureInfo");
    Source image;
    int result = image.open(source, length, flags);
    if (result != SusieResult::ok)
        return result;
    PnmHeader header;
    if (!info || !header.parse(image.data(), image.size()))
        return SusieResult::unknownFormat;
    std::memset(info, 0, sizeof *info);
    info->width = header.width;
    info->height = header.height;
    info->colourDepth = static_cast<short>(header.channels * 8);
    return SusieResult::ok;
}

int __stdcall GetPicture(LPCSTR source, long length, unsigned flags, HLOCAL* info, HLOCAL* bits,
                         SusieProgress progress, long data)
{
    PluginTrace::note(pluginInstance, "GetPicture");
    if (!info || !bits)
        return SusieResult::unknownFormat;
    Source image;
    int result = image.open(source, length, flags);
    return result == SusieResult::ok ? decode(image, info, bits, progress, data) : result;
}

}  // extern "C"
