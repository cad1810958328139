// PackedDib: sizes, creation and field access of the one-block picture.
#include "PackedDib.h"
#include "ByteOrder.h"
#include <cstdlib>
#include <utility>

namespace {

void* allocateZeroed(size_t size)
{
    return std::calloc(size ? size : 1, 1);
}

void releaseStandard(void* block)
{
    std::free(block);
}

// Offsets inside the BITMAPINFOHEADER.
constexpr size_t offWidth = 4;
constexpr size_t offHeight = 8;
constexpr size_t offPlanes = 12;
constexpr size_t offBitCount = 14;
constexpr size_t offCompression = 16;
constexpr size_t offColoursUsed = 32;

}  // namespace

const PackedDib::Allocator PackedDib::standardAllocator = {allocateZeroed, releaseStandard};

PackedDib::PackedDib(const Allocator& allocator) : allocator_(allocator)
{
}

PackedDib::~PackedDib()
{
    reset();
}

PackedDib::PackedDib(PackedDib&& other) noexcept
    : allocator_(other.allocator_), block_(other.block_), size_(other.size_)
{
    other.block_ = nullptr;
    other.size_ = 0;
}

PackedDib& PackedDib::operator=(PackedDib&& other) noexcept
{
    if (this != &other) {
        reset();
        allocator_ = other.allocator_;
        block_ = std::exchange(other.block_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

bool PackedDib::validBitCount(uint16_t bitCount)
{
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        return true;
    default:
        return false;
    }
}

size_t PackedDib::rowBytes(int32_t width, uint16_t bitCount)
{
    if (width < 0 || width > maxDimension || !validBitCount(bitCount))
        return 0;
    // Rows are padded to whole 32-bit words.
    uint64_t bits = static_cast<uint64_t>(width) * bitCount;
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

bool PackedDib::create(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                       uint32_t colourCount)
{
    reset();
    if (width < 0 || height < 0 || width > maxDimension || height > maxDimension ||
        !validBitCount(bitCount) || colourCount > maxColours)
        return false;
    if (compression != compressionRgb &&
        !(compression == compressionBitFields && (bitCount == 16 || bitCount == 32)))
        return false;
    uint64_t pixels = static_cast<uint64_t>(rowBytes(width, bitCount)) * height;
    uint64_t total = infoHeaderSize + (compression == compressionBitFields ? maskBytes : 0) +
                     4ull * colourCount + pixels;
    if (total > maxBlockSize)
        return false;
    block_ = static_cast<uint8_t*>(allocator_.allocate(static_cast<size_t>(total)));
    if (!block_)
        return false;
    size_ = static_cast<size_t>(total);
    ByteOrder::put32(block_, infoHeaderSize);
    ByteOrder::put32(block_ + offWidth, static_cast<uint32_t>(width));
    ByteOrder::put32(block_ + offHeight, static_cast<uint32_t>(height));
    ByteOrder::put16(block_ + offPlanes, 1);
    ByteOrder::put16(block_ + offBitCount, bitCount);
    ByteOrder::put32(block_ + offCompression, compression);
    ByteOrder::put32(block_ + offColoursUsed, colourCount);
    return true;
}

void PackedDib::reset()
{
    if (block_)
        allocator_.release(block_);
    block_ = nullptr;
    size_ = 0;
}

void* PackedDib::release()
{
    size_ = 0;
    return std::exchange(block_, nullptr);
}

int32_t PackedDib::width() const
{
    return block_ ? static_cast<int32_t>(ByteOrder::get32(block_ + offWidth)) : 0;
}

int32_t PackedDib::height() const
{
    return block_ ? static_cast<int32_t>(ByteOrder::get32(block_ + offHeight)) : 0;
}

uint16_t PackedDib::bitCount() const
{
    return block_ ? ByteOrder::get16(block_ + offBitCount) : 0;
}

uint32_t PackedDib::compression() const
{
    return block_ ? ByteOrder::get32(block_ + offCompression) : 0;
}

uint32_t PackedDib::colourCount() const
{
    return block_ ? ByteOrder::get32(block_ + offColoursUsed) : 0;
}

size_t PackedDib::stride() const
{
    return rowBytes(width(), bitCount());
}

size_t PackedDib::pixelBytes() const
{
    return block_ ? size_ - headerBytes() : 0;
}

size_t PackedDib::headerBytes() const
{
    return infoHeaderSize + (compression() == compressionBitFields ? maskBytes : 0) +
           4 * static_cast<size_t>(colourCount());
}

uint8_t* PackedDib::masks()
{
    return block_ ? block_ + infoHeaderSize : nullptr;
}

uint8_t* PackedDib::colourTable()
{
    return block_ ? block_ + headerBytes() - 4 * static_cast<size_t>(colourCount()) : nullptr;
}

const uint8_t* PackedDib::colourTable() const
{
    return const_cast<PackedDib*>(this)->colourTable();
}

uint8_t* PackedDib::pixels()
{
    return block_ ? block_ + headerBytes() : nullptr;
}

const uint8_t* PackedDib::pixels() const
{
    return block_ ? block_ + headerBytes() : nullptr;
}

uint8_t* PackedDib::row(int32_t y)
{
    return pixels() + static_cast<size_t>(y) * stride();
}

const uint8_t* PackedDib::row(int32_t y) const
{
    return pixels() + static_cast<size_t>(y) * stride();
}

bool PackedDib::takeRowOrder(int32_t& height, bool& topDown)
{
    if (height >= 0)
        return true;
    if (height == INT32_MIN)
        return false;
    height = -height;
    topDown = true;
    return true;
}
