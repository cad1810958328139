// KtSldReader: file access of the "SLD" reader around the pure SldDecoder.
#include "KtSldReader.h"
#include "KtFile.h"
#include "KtHeap.h"
#include "SldDecoder.h"
#include <cstddef>
#include <memory>

namespace {

struct HeapBlockFree {
    void operator()(void* block) const { KtHeap::free(block, 0); }
};
using HeapBlock = std::unique_ptr<void, HeapBlockFree>;

}  // namespace

void KtSldReader::checkLayout()
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(SldHeader) == 4 + 16 + 1024, "table pointer, four words, 256 colours");
    static_assert(offsetof(SldHeader, magic) == 4 && offsetof(SldHeader, width) == 8 &&
                      offsetof(SldHeader, height) == 12 && offsetof(SldHeader, reserved) == 16 &&
                      offsetof(SldHeader, colours) == 20,
                  "magic, width, height, the spare word, then the colours");
    static_assert(offsetof(KtSldReader, header) == 12 && offsetof(KtSldReader, window) == 12 + 1044,
                  "base fields, the header holder, then the LZSS window");
    static_assert(sizeof(KtSldReader) == 12 + 1044 + 4096, "nothing after the window");
#pragma GCC diagnostic pop
}

KtSldReader::~KtSldReader() = default;

void KtSldReader::attach(KtFile& target)
{
    KtImageReader::attach(target);
    if (!target.isOpen())
        return;
    header.preset();
    uint8_t fixed[SldHeader::fixedSize];
    header.takeFixed(fixed, readFully(fixed, sizeof fixed));
    uint8_t colours[SldHeader::colourBytes];
    header.takeColours(colours, readFully(colours, sizeof colours));
}

int KtSldReader::formatId()
{
    return 2;
}

bool KtSldReader::isMine()
{
    return file && header.isSld();
}

void* KtSldReader::load()
{
    if (!file || !file->isOpen())
        return nullptr;
    HANDLE handle = file->handle;
    DWORD here = SetFilePointer(handle, 0, nullptr, FILE_CURRENT);
    DWORD end = SetFilePointer(handle, 0, nullptr, FILE_END);
    SetFilePointer(handle, static_cast<LONG>(here), nullptr, FILE_BEGIN);
    if (here == INVALID_SET_FILE_POINTER || end == INVALID_SET_FILE_POINTER)
        return nullptr;
    DWORD rest = end > here ? end - here : 0;
    // A header of no picture of the permitted size, a stream too short for
    // the rows and one too long for any picture are refused without reading.
    if (!header.isSld() || !header.plausible() || rest > maxFileSize ||
        header.pixelBytes() > static_cast<uint64_t>(rest) * LzssDecoder::maxExpansion)
        return nullptr;
    HeapBlock stream(KtHeap::malloc(rest ? rest : 1, KtHeap::throwOnFailure));
    DWORD got = readFully(stream.get(), rest);
    return SldDecoder::decode(header, static_cast<const uint8_t*>(stream.get()), got, window,
                              heapAllocator)
        .release();
}
