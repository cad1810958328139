// SurfaceRecord: what the two surfaces share in reading and writing their stored and BMP forms.
#pragma once
#include <windows.h>
#include <functional>

class KtDib;
class KtFile;

// A stored surface is a class tag, a 40-byte header, for 8-bit surfaces the
// 256 colours, then the pixel rows bottom-up. Reading one back trusts
// nothing in it: the header must describe a picture that the rest of the
// file can hold before any memory is allocated for it.
class SurfaceRecord {
public:
    // True for a DIB a surface can be built from: a header and pixels, a
    // positive size (bottom-up rows), no compression (bit fields allowed for
    // 32 bits), one of the given bit counts, and a colour table at 8 bits.
    static bool isUsable(const KtDib& dib, bool allow8, bool allow24, bool allow32);
    static bool isUsable8(const KtDib& dib) { return isUsable(dib, true, false, false); }

    // Checks a stored header read at offset data: size 40, positive width
    // and height, one plane, bitCount, no compression, and the header with
    // its table (prefixBytes) and the rows fitting in what is left of the
    // file. On success total is the record's byte count from data.
    static bool fits(KtFile& file, DWORD data, const BITMAPINFOHEADER& header, int bitCount,
                     DWORD prefixBytes, DWORD& total);
    // Reads total bytes from data into a block, makes the header state exactly
    // what follows it and builds a temporary DIB over it, which it hands to
    // clear and build when the file gave every byte and the DIB is one a
    // surface of bitCount takes. False, with nothing cleared, otherwise.
    static bool loadBlock(KtFile& file, DWORD data, DWORD total, int bitCount,
                          const std::function<void()>& clear,
                          const std::function<void(const KtDib&)>& build);

    // Writes the class tag, the header block (blockBytes: header and colours)
    // and the pixels; nothing unless the file is open and both are there.
    static void save(KtFile& file, const char* tag, const void* block, DWORD blockBytes,
                     const BYTE* bits, DWORD pixelBytes);
    // Reads back what save wrote under tag. The header is checked before
    // anything is allocated, and the whole record before anything is
    // destroyed: a record that is not a sound picture of bitCount, or that
    // the file cannot give in full, leaves the surface and the file position
    // as they were. Otherwise clear empties the surface and build makes it anew.
    static void load(KtFile& file, const char* tag, int bitCount, DWORD blockBytes,
                     const std::function<void()>& clear,
                     const std::function<void(const KtDib&)>& build);
    // The BMP form: file header, header block and pixels, under the same
    // condition as save.
    static void writeBmp(KtFile& file, const void* block, DWORD blockBytes, const BYTE* bits,
                         DWORD pixelBytes);

    // The 14-byte BMP file header for a picture of headerBytes (header and
    // colours) and pixelBytes.
    static void writeFileHeader(KtFile& file, DWORD headerBytes, DWORD pixelBytes);

    static DWORD position(KtFile& file);
    static void seek(KtFile& file, DWORD offset);
    // Bytes per row of a bottom-up DIB row of that width and bit count.
    static LONGLONG rowBytes(LONG width, int bitCount);

    SurfaceRecord() = delete;
};
