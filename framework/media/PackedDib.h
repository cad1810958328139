// PackedDib: one block holding an info header, bit-field masks, colour table and bottom-up pixel rows.
#pragma once
#include <cstddef>
#include <cstdint>

// The form in which the image readers hand over a picture: a 40-byte
// BITMAPINFOHEADER, the three bit-field masks when the compression is
// bit fields, the colour table (4 bytes an entry: blue, green, red, 0) and
// the pixel rows, bottom row first, each padded to whole 32-bit words.
// Everything lives in one block so that a DIB object can adopt it with
// release() and free it through the same allocator later.
//
// Kept free of the platform headers so the readers build and fuzz natively.
class PackedDib {
public:
    // Where the block comes from. allocate must return zero-filled memory or
    // null (it may also throw); release frees what allocate returned.
    struct Allocator {
        void* (*allocate)(size_t size);
        void (*release)(void* block);
    };
    static const Allocator standardAllocator;

    static constexpr size_t infoHeaderSize = 40;
    static constexpr size_t maskBytes = 12;
    static constexpr uint32_t compressionRgb = 0;
    static constexpr uint32_t compressionBitFields = 3;
    static constexpr uint32_t maxColours = 256;
    // Refusing larger pictures keeps a forged header from asking for a huge
    // block; a 32-bit game has no use for anything near these sizes.
    static constexpr int32_t maxDimension = 32767;
    static constexpr size_t maxBlockSize = 256u << 20;

    explicit PackedDib(const Allocator& allocator = standardAllocator);
    ~PackedDib();
    PackedDib(PackedDib&& other) noexcept;
    PackedDib& operator=(PackedDib&& other) noexcept;
    // One block, one owner.
    PackedDib(const PackedDib&) = delete;
    PackedDib& operator=(const PackedDib&) = delete;

    // Row length in bytes of width pixels of bitCount bits, padded to whole
    // 32-bit words; 0 when the width or bit count is out of range.
    static size_t rowBytes(int32_t width, uint16_t bitCount);
    // True for the bit counts a DIB may have: 1, 4, 8, 16, 24, 32.
    static bool validBitCount(uint16_t bitCount);
    // A negative stored height means rows run top to bottom: height becomes
    // positive and topDown is set. False for the one height without a
    // positive twin (INT32_MIN).
    static bool takeRowOrder(int32_t& height, bool& topDown);

    // Frees any held block, then allocates a zero-filled one for the picture
    // and fills its info header (planes 1, colours used = colourCount).
    // False, holding nothing, when a value is out of range or the allocator
    // gives null. Width and height may be 0 (an empty picture).
    bool create(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                uint32_t colourCount);
    void reset();
    // Hands the block to the caller, who frees it with the allocator's release.
    void* release();

    bool empty() const { return block_ == nullptr; }
    uint8_t* data() { return block_; }
    const uint8_t* data() const { return block_; }
    size_t size() const { return size_; }

    int32_t width() const;
    int32_t height() const;
    uint16_t bitCount() const;
    uint32_t compression() const;
    uint32_t colourCount() const;
    size_t stride() const;
    size_t pixelBytes() const;

    uint8_t* masks();
    uint8_t* colourTable();
    const uint8_t* colourTable() const;
    uint8_t* pixels();
    const uint8_t* pixels() const;
    // Row y in storage order: row 0 is the bottom row of the picture.
    uint8_t* row(int32_t y);
    const uint8_t* row(int32_t y) const;

private:
    size_t headerBytes() const;

    Allocator allocator_;
    uint8_t* block_ = nullptr;
    size_t size_ = 0;
};
