// KtImageReader: attaching a file, rewinding it, and the KtHeap allocator for picture blocks.
#include "KtImageReader.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "KtLayoutCheck.h"
#include <cstddef>

namespace {

void* heapAllocate(size_t size)
{
    return KtHeap::malloc(static_cast<DWORD>(size), KtHeap::zeroFill | KtHeap::throwOnFailure);
}

void heapRelease(void* block)
{
    KtHeap::free(block, 0);
}

}  // namespace

const PackedDib::Allocator KtImageReader::heapAllocator = {heapAllocate, heapRelease};

void KtImageReader::checkLayout()
{
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(KtImageReader) == 12, "table pointer, file, start");
    static_assert(offsetof(KtImageReader, file) == 4 && offsetof(KtImageReader, start) == 8,
                  "the file, then its position when attached");
#pragma GCC diagnostic pop
#else
    static_assert(ktFieldsInOrder({offsetof(KtImageReader, file), offsetof(KtImageReader, start)}),
                  "the file, then its position when attached");
#endif
}

KtImageReader::KtImageReader() : file(nullptr), start(0)
{
}

KtImageReader::~KtImageReader() = default;

void KtImageReader::attach(KtFile& target)
{
    if (!target.isOpen())
        return;
    file = &target;
    start = SetFilePointer(target.handle, 0, nullptr, FILE_CURRENT);
}

int KtImageReader::formatId()
{
    return 0;
}

bool KtImageReader::isMine()
{
    return false;
}

void* KtImageReader::load()
{
    return nullptr;
}

void KtImageReader::rewind()
{
    if (file && file->isOpen())
        SetFilePointer(file->handle, static_cast<LONG>(start), nullptr, FILE_BEGIN);
}

DWORD KtImageReader::readFully(void* buffer, DWORD size)
{
    DWORD total = 0;
    while (total < size) {
        DWORD got = file->read(static_cast<char*>(buffer) + total, size - total);
        if (got == 0)
            break;
        total += got;
    }
    return total;
}
