// KtImageReader: base class of the readers of the compressed image formats.
#pragma once
#include "PackedDib.h"
#include <windows.h>

class KtFile;

// A reader is attached to an open file and remembers where the file stood;
// operations that look at the header move the file back there afterwards.
// load hands over a packed DIB block from KtHeap, which the caller frees
// with KtHeap::free (or adopts into a DIB object).
class KtImageReader {
public:
    // Blocks from KtHeap, zero-filled, throwing NotEnoughMemoryException.
    static const PackedDib::Allocator heapAllocator;
    // The largest file a reader reads into memory; larger ones cannot hold
    // a picture of the permitted size and are not read at all.
    static constexpr DWORD maxFileSize = PackedDib::maxBlockSize;

    KtImageReader();
    virtual ~KtImageReader();                  // slot 0
    // Remembers an open file and its current position; a closed one is ignored.
    virtual void attach(KtFile& file);         // slot 1
    // 1 for MCG, 2 for SLD.
    virtual int formatId();                    // slot 2
    virtual bool isMine();                     // slot 3
    // A new packed DIB block, or null.
    virtual void* load();                      // slot 4

    KtImageReader(const KtImageReader&) = delete;
    KtImageReader& operator=(const KtImageReader&) = delete;

protected:
    // Moves the attached file back to where it stood when attached.
    void rewind();
    // Reads up to size bytes, as many as the file gives.
    DWORD readFully(void* buffer, DWORD size);

    KtFile* file;
    DWORD start;

private:
    static void checkLayout();
};
