// McgLzssDecoder: the LZSS bit layout of "MCG " pixel streams.
#pragma once
#include "LzssDecoder.h"

// Copy bytes b0, b1: position b0 + ((b1 & 0x0F) << 8), length (b1 >> 4) + 3.
class McgLzssDecoder {
public:
    static LzssDecoder::Copy split(uint8_t b0, uint8_t b1);
    static LzssDecoder::Result decode(const uint8_t* in, size_t inSize, uint8_t* out,
                                      size_t outSize, uint8_t* window);

    McgLzssDecoder() = delete;
};
