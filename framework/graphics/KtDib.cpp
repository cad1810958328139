// KtDib: building a DIB from packed blocks, BMP files, the image readers, resources and the Open dialog.
#include "KtDib.h"
#include "Diagnostic.h"
#include "DibLayout.h"
#include "KtBitmapFileHeader.h"
#include "KtFile.h"
#include "KtFileDialog.h"
#include "KtHeap.h"
#include "KtImageReader.h"
#include "KtMcgReader.h"
#include "KtMessageBox.h"
#include "KtPathName.h"
#include "KtSldReader.h"
#include "KtString.h"
#include "KtSusiePlugIn.h"
#include "BmpDecoder.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr DWORD rcgMagic = 0x20474352;  // "RCG "
constexpr size_t rcgHeaderSize = 8;

struct HeapBlockFree {
    void operator()(void* block) const { KtHeap::free(block, 0); }
};
using HeapBlock = std::unique_ptr<void, HeapBlockFree>;

DWORD filePosition(KtFile& file)
{
    return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
}

void moveFile(KtFile& file, DWORD position)
{
    SetFilePointer(file.handle, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}

// The box the loader shows for a depth it does not know before it goes on
// as if the picture had 4 bytes a pixel.
void reportUnusualBitCount(int bitCount)
{
    KtString text("colorDepth()がおかしな値を返しました：");
    text.appendInt(bitCount);
    text.append("\n４バイトデータだと仮定して処理を継続します。");
    KtMessageBox::show(nullptr, text.text(), "KtString class", KtMessageBox::notice);
}

}  // namespace

void KtDib::checkLayout()
{
    static_assert(sizeof(KtDib) == 16 + 4 * flagCount, "table pointer, three pointers, the flags");
    static_assert(offsetof(KtDib, header) == 4 && offsetof(KtDib, colours) == 8 &&
                      offsetof(KtDib, pixels) == 12 && offsetof(KtDib, colourFlags) == 16,
                  "header, colours, pixels, then the 256 flags");
    static_assert(sizeof(BITMAPINFOHEADER) == DibLayout::infoHeaderSize, "the stored header");
}

KtDib::KtDib() : header(nullptr), colours(nullptr), pixels(nullptr)
{
    // The ten colours at each end of the table are the system's own.
    for (int i = 0; i < flagCount; ++i)
        colourFlags[i] = (i >= 10 && i <= 245) ? 1 : 0;
}

KtDib::~KtDib()
{
    clear();
}

void KtDib::clear()
{
    KtHeap::free(header, 0);
    KtHeap::free(pixels, 0);
    header = nullptr;
    colours = nullptr;
    pixels = nullptr;
}

BYTE* KtDib::pixelAddress(int x, int y) const
{
    if (!header || !pixels)
        return nullptr;
    int bytes = header->biBitCount / 8;
    // Rows are stored bottom-up, each padded to a whole 32-bit word.
    int stride = (header->biWidth * bytes + 3) & ~3;
    return pixels + static_cast<ptrdiff_t>(header->biHeight - y - 1) * stride + x * bytes;
}

bool KtDib::hasColourTable() const
{
    if (!header)
        return false;
    if (header->biBitCount <= 8)
        return true;
    return header->biSize >= 36 && header->biClrUsed != 0;
}

int KtDib::paletteSize() const
{
    if (!header)
        return 0;
    DWORD used = header->biSize >= 36 ? header->biClrUsed : 0;
    if (used)
        return static_cast<int>(used);
    return header->biBitCount <= 8 ? 1 << header->biBitCount : 0;
}

int KtDib::colourCount() const
{
    if (!header)
        return 0;
    // The three masks of a bit-field picture sit in the table's place.
    int masks = header->biCompression == BI_BITFIELDS ? 3 : 0;
    return paletteSize() + masks;
}

RGBQUAD* KtDib::colourTable() const
{
    if (!hasColourTable())
        return nullptr;
    BYTE* table = reinterpret_cast<BYTE*>(header) + sizeof(BITMAPINFOHEADER);
    if (header->biCompression == BI_BITFIELDS)
        table += 3 * sizeof(DWORD);
    return reinterpret_cast<RGBQUAD*>(table);
}

void KtDib::setPacked(const void* block)
{
    clear();
    if (block)
        setChecked(static_cast<const BYTE*>(block), DibLayout::unknownSize);
}

void KtDib::setPacked(const void* block, size_t size)
{
    clear();
    if (block)
        setChecked(static_cast<const BYTE*>(block), size);
}

void KtDib::setChecked(const BYTE* block, size_t size)
{
    DibLayout layout;
    if (!layout.read(block, size))
        return;
    if (layout.unusualBitCount)
        reportUnusualBitCount(layout.bitCount);

    // Header block: the 40-byte header, the masks, the table in 4-byte entries.
    size_t masks = layout.masksOffset ? 3 * sizeof(DWORD) : 0;
    size_t tableBytes = layout.tableEntries * sizeof(RGBQUAD);
    auto* headerBlock = static_cast<BYTE*>(KtHeap::malloc(
        static_cast<DWORD>(sizeof(BITMAPINFOHEADER) + masks + tableBytes),
        KtHeap::zeroFill | KtHeap::throwOnFailure));
    header = reinterpret_cast<BITMAPINFOHEADER*>(headerBlock);
    if (layout.headerSize == DibLayout::coreHeaderSize) {
        header->biPlanes = 1;
    } else {
        std::memcpy(header, block, sizeof(BITMAPINFOHEADER));
    }
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = layout.width;
    header->biHeight = layout.height;  // rows end up bottom-up whatever the source
    header->biBitCount = layout.bitCount;
    if (masks)
        std::memcpy(headerBlock + sizeof(BITMAPINFOHEADER), block + layout.masksOffset, masks);
    BYTE* table = headerBlock + sizeof(BITMAPINFOHEADER) + masks;
    const BYTE* source = block + layout.tableOffset;
    for (uint32_t i = 0; i < layout.tableEntries; ++i, source += layout.entrySize, table += 4)
        std::memcpy(table, source, layout.entrySize);  // a 3-byte entry keeps reserved 0
    colours = colourTable();

    // Pixel block: what the header states, or the customary size, but never
    // less than the rows nor more than the block can have held.
    // A stated size is the one number here that may be forged.
    uint64_t stated = layout.imageSize ? layout.imageSize : layout.customaryPixelBytes();
    if (layout.imageSize && size != DibLayout::unknownSize)
        stated = std::min<uint64_t>(stated, size - layout.pixelOffset);
    if (stated > PackedDib::maxBlockSize)
        stated = layout.rowsBytes;
    DWORD pixelBytes = static_cast<DWORD>(std::max<uint64_t>(stated, layout.rowsBytes));
    pixels = static_cast<BYTE*>(KtHeap::malloc(pixelBytes, KtHeap::zeroFill));
    if (!pixels) {
        clear();
        throw NotEnoughMemoryException("KtDib - create", "メモリが足りません！");
    }
    // The header states the block it is given, not a size read from outside:
    // whoever copies the pixels by that field stays inside them.
    header->biSizeImage = layout.imageSize ? pixelBytes : 0;
    const BYTE* rows = block + layout.pixelOffset;
    if (!layout.topDown) {
        std::memcpy(pixels, rows, layout.rowsBytes);
        return;
    }
    for (int32_t y = 0; y < layout.height; ++y)
        std::memcpy(pixels + static_cast<size_t>(layout.height - 1 - y) * layout.stride,
                    rows + static_cast<size_t>(y) * layout.stride, layout.stride);
}

void KtDib::adoptReaderBlock(void* block)
{
    HeapBlock owned(block);
    if (!block) {
        clear();
        return;
    }
    // Readers' blocks come from the process heap, which knows their size.
    SIZE_T size = HeapSize(GetProcessHeap(), 0, block);
    if (size == static_cast<SIZE_T>(-1))
        clear();
    else
        setPacked(block, size);
}

void KtDib::load(KtFile& file)
{
    DWORD start = file.isOpen() ? filePosition(file) : 0;
    KtBitmapFileHeader fileHeader;
    fileHeader.read(file);
    clear();
    if (fileHeader.isBitmap()) {
        loadBitmapFile(file);
        return;
    }
    if (!file.isOpen())
        return;
    moveFile(file, start);
    if (loadFromReaders(file, start))
        return;
    moveFile(file, start);
    KtSusiePlugIn plugIns;
    plugIns.load(file, *this);
}

void KtDib::loadBitmapFile(KtFile& file)
{
    // The whole file is read and checked before anything is sized from it:
    // the size and offset fields of a BMP file are not to be trusted.
    DWORD size = GetFileSize(file.handle, nullptr);
    if (size != INVALID_FILE_SIZE && size <= KtImageReader::maxFileSize) {
        HeapBlock contents(KtHeap::malloc(size, KtHeap::zeroFill | KtHeap::throwOnFailure));
        moveFile(file, 0);
        DWORD got = 0;
        while (got < size) {
            DWORD step = file.read(static_cast<BYTE*>(contents.get()) + got, size - got);
            if (step == 0)
                break;
            got += step;
        }
        PackedDib picture =
            BmpDecoder::decode(static_cast<const uint8_t*>(contents.get()), got);
        contents.reset();
        if (!picture.empty())
            setPacked(picture.data(), picture.size());
    }
    std::fill(colourFlags, colourFlags + flagCount, 0u);
}

bool KtDib::loadFromReaders(KtFile& file, DWORD start)
{
    KtMcgReader mcg;
    mcg.attach(file);
    if (mcg.isMine()) {
        mcg.readFlags(colourFlags);
        adoptReaderBlock(mcg.load());
        return true;
    }
    moveFile(file, start);
    KtSldReader sld;
    sld.presetHeader();
    sld.attach(file);
    if (sld.isMine()) {
        adoptReaderBlock(sld.load());
        return true;
    }
    return false;
}

void KtDib::loadFile(const KtString& name)
{
    if (name.length() == 0) {
        KtFileDialog dialog(KtFileDialog::openMode);
        if (dialog.run())
            loadResource(dialog.fileBuffer, nullptr);
        else
            clear();
        return;
    }
    KtFile file;
    file.open(name.text(), OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
    load(file);
    file.close();
}

void KtDib::loadPath(const KtPathName& path)
{
    loadFile(path.string());
}

void KtDib::loadResource(const char* nameOrId, HMODULE module)
{
    if (reinterpret_cast<uintptr_t>(nameOrId) > 0xFFFF) {
        loadFile(KtString(nameOrId));
        return;
    }
    if (!module)
        module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, nameOrId, RT_BITMAP);
    if (found) {
        HGLOBAL loaded = LoadResource(module, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (data) {
            setPacked(data, SizeofResource(module, found));
            return;
        }
    }
    loadRcgResource(nameOrId, module);
}

bool KtDib::loadRcgResource(const char* nameOrId, HMODULE module)
{
    HRSRC found = FindResourceA(module, nameOrId, "RCG");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || size < rcgHeaderSize)
        return false;
    DWORD magic, imageSize;
    std::memcpy(&magic, data, 4);
    std::memcpy(&imageSize, data + 4, 4);
    if (magic != rcgMagic)
        return false;
    // The stated size is believed only as far as the resource reaches.
    if (imageSize > size - rcgHeaderSize) {
        clear();
        return true;
    }
    KtMcgReader reader;
    adoptReaderBlock(reader.decode(data + rcgHeaderSize, imageSize));
    return true;
}
