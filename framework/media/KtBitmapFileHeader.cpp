// KtBitmapFileHeader: making, reading and freeing the BMP file header block.
#include "KtBitmapFileHeader.h"
#include "BmpHeader.h"
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtHeap.h"
#include <cstddef>

static_assert(sizeof(BITMAPFILEHEADER) == BmpHeader::fileHeaderSize,
              "the block is the file's first 14 bytes");
static_assert(offsetof(BITMAPFILEHEADER, bfSize) == 2 && offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "type, file size, two reserved words, offset of the bits");
#ifndef _WIN64
static_assert(sizeof(KtBitmapFileHeader) == 8, "table pointer and the block pointer");
#else
static_assert(sizeof(KtBitmapFileHeader) == 2 * sizeof(void*), "table pointer and the block pointer");
#endif

KtBitmapFileHeader::KtBitmapFileHeader() : header(nullptr)
{
}

KtBitmapFileHeader::~KtBitmapFileHeader()
{
    free();
}

void KtBitmapFileHeader::free()
{
    KtHeap::free(header, 0);
    header = nullptr;
}

void KtBitmapFileHeader::create(DWORD fileSize, DWORD bitsOffset)
{
    free();
    header = static_cast<BITMAPFILEHEADER*>(KtHeap::malloc(sizeof(BITMAPFILEHEADER), KtHeap::zeroFill));
    if (!header)
        throw NotEnoughMemoryException("KtBitmapFileHeader - create", "メモリが足りません！");
    header->bfType = BmpHeader::typeValue;
    header->bfSize = fileSize;
    header->bfReserved1 = 0;
    header->bfReserved2 = 0;
    header->bfOffBits = bitsOffset;
}

void KtBitmapFileHeader::read(KtFile& file)
{
    if (!file.isOpen())
        return;
    create(0, 0);
    SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN);
    DWORD got = file.read(header, sizeof(BITMAPFILEHEADER));
    // The block starts out as "BM": a file too short to hold a type of its
    // own must not pass for a bitmap on the strength of that preset.
    if (got < sizeof(header->bfType) || header->bfType != BmpHeader::typeValue)
        free();
}
