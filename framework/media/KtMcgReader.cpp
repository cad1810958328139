// KtMcgReader: file access of the "MCG " reader around the pure McgDecoder.
#include "KtMcgReader.h"
#include <algorithm>
#include "ByteOrder.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "McgDecoder.h"
#include "McgHeader.h"
#include <cstring>
#include <memory>

#ifndef _WIN64
static_assert(sizeof(KtMcgReader) == 12, "no fields beyond the base");
#else
static_assert(sizeof(KtMcgReader) == sizeof(KtImageReader), "no fields beyond the base");
#endif

namespace {

constexpr DWORD headBytes = McgHeader::size + 4 * PackedDib::maxColours;

struct HeapBlockFree {
    void operator()(void* block) const { KtHeap::free(block, 0); }
};
using HeapBlock = std::unique_ptr<void, HeapBlockFree>;

}  // namespace

KtMcgReader::~KtMcgReader() = default;

int KtMcgReader::formatId()
{
    return 1;
}

bool KtMcgReader::isMine()
{
    if (!file || !file->isOpen())
        return false;
    uint8_t magic[4] = {};
    DWORD got = readFully(magic, sizeof magic);
    rewind();
    return got == sizeof magic && ByteOrder::get32(magic) == McgHeader::magicValue;
}

void* KtMcgReader::load()
{
    if (!file || !file->isOpen())
        return nullptr;
    DWORD size = GetFileSize(file->handle, nullptr);
    if (size == INVALID_FILE_SIZE || size > maxFileSize)
        return nullptr;
    HeapBlock buffer(KtHeap::malloc(size, KtHeap::zeroFill | KtHeap::throwOnFailure));
    // Read from the attached position: only what is really there is decoded.
    DWORD got = readFully(buffer.get(), size);
    return decode(buffer.get(), got);
}

void* KtMcgReader::decode(const void* data, DWORD size)
{
    return McgDecoder::decode(static_cast<const uint8_t*>(data), size, heapAllocator).release();
}

DWORD KtMcgReader::readHead(uint8_t* buffer, DWORD size)
{
    if (!isMine())
        return 0;
    DWORD got = readFully(buffer, size);
    rewind();
    return got;
}

void KtMcgReader::readFlags(DWORD* flags)
{
    uint8_t head[headBytes];
    DWORD got = readHead(head, headBytes);
    if (got == 0)
        return;
    uint32_t table[PackedDib::maxColours];
    McgDecoder::readFlags(head, got, table);
    std::memcpy(flags, table, sizeof table);
}

int KtMcgReader::colourCount()
{
    uint8_t head[McgHeader::size];
    McgHeader header;
    if (!header.read(head, readHead(head, sizeof head)) ||
        header.colourCount > PackedDib::maxColours)
        return 0;
    return static_cast<int>(header.colourCount);
}

void KtMcgReader::readColourTable(void* table)
{
    int count = colourCount();
    if (count == 0)
        return;
    SetFilePointer(file->handle, static_cast<LONG>(start + McgHeader::size), nullptr, FILE_BEGIN);
    const DWORD wanted = 4 * static_cast<DWORD>(count);
    const DWORD got = readFully(table, wanted);
    // A file cut inside its table: the entries it lacks are black, not
    // whatever the caller's memory held.
    if (got < wanted)
        ZeroMemory(static_cast<BYTE*>(table) + got, wanted - got);
    rewind();
}

void KtMcgReader::writeColourTable(const void* table, int count)
{
    // The stored table holds as many entries as the header states; more
    // would be written over the compressed pixels that follow it.
    const int stored = colourCount();
    if (count <= 0 || stored == 0)
        return;
    count = std::min(count, stored);
    SetFilePointer(file->handle, static_cast<LONG>(start + McgHeader::size), nullptr, FILE_BEGIN);
    file->write(table, 4 * count);
    rewind();
}
