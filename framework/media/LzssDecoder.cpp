// LzssDecoder: the group, literal and copy loop over a 4096-byte window.
#include "LzssDecoder.h"
#include <cstring>

LzssDecoder::Result LzssDecoder::decode(Split split, const uint8_t* in, size_t inSize,
                                        uint8_t* out, size_t outSize, uint8_t* window)
{
    std::memset(window, 0, windowSize);
    size_t write = startPosition;
    size_t inPos = 0;
    size_t outPos = 0;
    auto put = [&](uint8_t byte) {
        out[outPos++] = byte;
        window[write] = byte;
        write = (write + 1) & (windowSize - 1);
    };
    while (inPos < inSize && outPos < outSize) {
        unsigned flags = in[inPos++];
        for (int bit = 0; bit < 8 && outPos < outSize; ++bit, flags >>= 1) {
            if (flags & 1) {
                if (inPos >= inSize)
                    return {inPos, outPos};
                put(in[inPos++]);
                continue;
            }
            if (inSize - inPos < 2)
                return {inPos, outPos};
            Copy copy = split(in[inPos], in[inPos + 1]);
            inPos += 2;
            for (unsigned i = 0; i < copy.length && outPos < outSize; ++i)
                put(window[(copy.position + i) & (windowSize - 1)]);
        }
    }
    return {inPos, outPos};
}
