// LzssEncoder: compresses bytes into either LZSS bit layout of the image formats.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Greedy longest-match search over the decoder's 4096-byte window through
// hash chains of three-byte prefixes. The window starts zero-filled, so runs
// of zeros at the start can already refer to it.
class LzssEncoder {
public:
    enum class Layout { mcg, sld };

    static std::vector<uint8_t> encode(Layout layout, const uint8_t* data, size_t size);
    // The two bytes of a copy item: window position 0 to 4095, length 3 to 18.
    static void packCopy(Layout layout, unsigned position, unsigned length, uint8_t* out);

    LzssEncoder() = delete;
};
