// RleExpander: the RLE8 and RLE4 codes, each checked against the picture before it draws.
#include "RleExpander.h"

namespace {
constexpr uint8_t endOfRow = 0;
constexpr uint8_t endOfPicture = 1;
constexpr uint8_t move = 2;
}

void RleExpander::put(uint8_t* row, uint16_t bitCount, int32_t x, uint8_t value)
{
    if (bitCount == 8) {
        row[x] = value;
        return;
    }
    uint8_t& pair = row[x / 2];
    pair = (x % 2 == 0) ? uint8_t((pair & 0x0F) | (value << 4)) : uint8_t((pair & 0xF0) | (value & 0x0F));
}

bool RleExpander::expand(const uint8_t* stream, size_t size, uint16_t bitCount, int32_t width,
                         int32_t height, uint8_t* rows, size_t stride)
{
    if ((bitCount != 8 && bitCount != 4) || width < 0 || height < 0 || !rows)
        return false;
    const bool nibbles = bitCount == 4;
    // The i-th pixel of a run or literal starting at x, written only when
    // it lies inside the row.
    auto draw = [&](int64_t x, int64_t y, uint8_t value) {
        if (x < width)
            put(rows + size_t(y) * stride, bitCount, int32_t(x), value);
    };
    // x may pass width (pixels there are left out); y reaches height only
    // to end the picture.
    int64_t x = 0, y = 0;
    size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t first = stream[at], second = stream[at + 1];
        at += 2;
        if (first > 0) {                                   // a run
            if (y >= height)
                return false;
            for (int i = 0; i < first; ++i, ++x)
                draw(x, y, nibbles ? uint8_t(i % 2 == 0 ? second >> 4 : second & 0x0F) : second);
        } else if (second == endOfRow) {
            x = 0;
            if (++y > height)
                return false;
        } else if (second == endOfPicture) {
            return true;
        } else if (second == move) {
            if (at + 2 > size)
                return false;
            x += stream[at];
            y += stream[at + 1];
            at += 2;
            if (y > height)
                return false;
        } else {                                           // literal pixels
            const size_t count = second;
            const size_t bytes = nibbles ? (count + 1) / 2 : count;
            if (at + bytes > size || y >= height)
                return false;
            for (size_t i = 0; i < count; ++i, ++x) {
                const uint8_t b = stream[at + (nibbles ? i / 2 : i)];
                draw(x, y, nibbles ? uint8_t(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            // Padded to a 16-bit word; a pad byte missing at the very end is no loss.
            at += bytes + (bytes & 1);
            if (at > size)
                at = size;
        }
    }
    // Ended between codes without the end code: what was drawn stands. A
    // code cut in half is a damaged stream.
    return at == size;
}
