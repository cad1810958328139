// SurfaceRecord: what the two surfaces share in reading and writing their stored and BMP forms.
#include "SurfaceRecord.h"
#include "KtClassTag.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtHeap.h"

namespace {
// Frees the record block however the build ends.
struct HeapBlock {
    void* block;
    ~HeapBlock() { KtHeap::free(block, 0); }
};
}

bool SurfaceRecord::isUsable(const KtDib& dib, bool allow8, bool allow24, bool allow32)
{
    const BITMAPINFOHEADER* h = dib.header;
    if (!h || !dib.pixels || h->biWidth < 1 || h->biHeight < 1)
        return false;
    switch (h->biBitCount) {
    case 8:
        return allow8 && h->biCompression == BI_RGB && dib.colourTable();
    case 24:
        return allow24 && h->biCompression == BI_RGB;
    case 32:
        return allow32 && (h->biCompression == BI_RGB || h->biCompression == BI_BITFIELDS);
    default:
        return false;
    }
}

LONGLONG SurfaceRecord::rowBytes(LONG width, int bitCount)
{
    return (LONGLONG(width) * bitCount / 8 + 3) & ~LONGLONG(3);
}

DWORD SurfaceRecord::position(KtFile& file)
{
    return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
}

void SurfaceRecord::seek(KtFile& file, DWORD offset)
{
    SetFilePointer(file.handle, LONG(offset), nullptr, FILE_BEGIN);
}

bool SurfaceRecord::fits(KtFile& file, DWORD data, const BITMAPINFOHEADER& header, int bitCount,
                         DWORD prefixBytes, DWORD& total)
{
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biWidth < 1 || header.biHeight < 1
        || header.biPlanes != 1 || header.biBitCount != bitCount || header.biCompression != BI_RGB)
        return false;
    const DWORD size = GetFileSize(file.handle, nullptr);
    if (size == INVALID_FILE_SIZE || size < data)
        return false;
    // 64-bit: a forged width times height must not wrap into a small number.
    const LONGLONG bytes = rowBytes(header.biWidth, bitCount) * header.biHeight + prefixBytes;
    if (bytes > LONGLONG(size - data))
        return false;
    total = DWORD(bytes);
    return true;
}

bool SurfaceRecord::loadBlock(KtFile& file, DWORD data, DWORD total, int bitCount,
                              const std::function<void()>& clear,
                              const std::function<void(const KtDib&)>& build)
{
    HeapBlock record{KtHeap::malloc(total, KtHeap::throwOnFailure)};
    seek(file, data);
    // The size was checked against the file, but the file may have changed
    // since: only a record read in full is built.
    if (file.read(record.block, total) != total)
        return false;
    // A stored 8-bit surface always holds all 256 colours, whatever count
    // the header claims; the image size is left as stored (the DIB checks
    // its rows against the block, not against that field).
    static_cast<BITMAPINFOHEADER*>(record.block)->biClrUsed = 0;
    KtDib dib;
    dib.setPacked(record.block, total);
    if (!isUsable(dib, bitCount == 8, bitCount == 24, bitCount == 32))
        return false;
    clear();
    build(dib);
    return true;
}

void SurfaceRecord::writeFileHeader(KtFile& file, DWORD headerBytes, DWORD pixelBytes)
{
    static_assert(sizeof(BITMAPFILEHEADER) == 14, "the BMP file header is packed");
    BITMAPFILEHEADER h = {};
    h.bfType = 0x4D42;     // "BM"
    h.bfOffBits = sizeof(BITMAPFILEHEADER) + headerBytes;
    h.bfSize = h.bfOffBits + pixelBytes;
    file.write(&h, sizeof h);
}

void SurfaceRecord::save(KtFile& file, const char* tag, const void* block, DWORD blockBytes,
                         const BYTE* bits, DWORD pixelBytes)
{
    if (!file.isOpen() || !block || !bits)
        return;
    KtClassTag(tag).save(file);
    GdiFlush();
    file.write(block, blockBytes);
    file.write(bits, pixelBytes);
}

void SurfaceRecord::load(KtFile& file, const char* tag, int bitCount, DWORD blockBytes,
                         const std::function<void()>& clear,
                         const std::function<void(const KtDib&)>& build)
{
    if (!file.isOpen())
        return;
    const DWORD start = position(file);
    if (!KtClassTag(tag).matchInFile(file))
        return;
    DWORD total = 0;
    const DWORD data = position(file);
    BITMAPINFOHEADER header;
    if (file.read(&header, sizeof header) != sizeof header
        || !fits(file, data, header, bitCount, blockBytes, total)) {
        seek(file, start);
        return;
    }
    if (!loadBlock(file, data, total, bitCount, clear, build))
        seek(file, start);
}

void SurfaceRecord::writeBmp(KtFile& file, const void* block, DWORD blockBytes, const BYTE* bits,
                             DWORD pixelBytes)
{
    if (!file.isOpen() || !block || !bits)
        return;
    writeFileHeader(file, blockBytes, pixelBytes);
    GdiFlush();
    file.write(block, blockBytes);
    file.write(bits, pixelBytes);
}
