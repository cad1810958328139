// KtBitmapFileHeader: recognises and holds the 14-byte file header of a BMP file.
#pragma once
#include <windows.h>

class KtFile;

// Holds a BITMAPFILEHEADER block, or null when no valid header is held.
// The DIB loader reads one first: when it holds "BM" the file is a BMP.
class KtBitmapFileHeader {
public:
    KtBitmapFileHeader();
    virtual ~KtBitmapFileHeader();
    // One block, one owner.
    KtBitmapFileHeader(const KtBitmapFileHeader&) = delete;
    KtBitmapFileHeader& operator=(const KtBitmapFileHeader&) = delete;

    // Replaces any held block with a new one: type "BM", the two sizes,
    // reserved words 0. Throws NotEnoughMemoryException when out of memory.
    void create(DWORD fileSize, DWORD bitsOffset);
    // From the beginning of an open file; keeps the block only when the file
    // starts with "BM". A closed file leaves the object unchanged.
    void read(KtFile& file);
    void free();

    bool isBitmap() const { return header != nullptr; }

    BITMAPFILEHEADER* header;
};
