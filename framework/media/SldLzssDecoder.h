// SldLzssDecoder: the LZSS bit layout of "SLD" pixel streams.
#pragma once
#include "LzssDecoder.h"

// Copy bytes b0, b1: position b0 + ((b1 & 0xF0) << 4), length (b1 & 0x0F) + 3.
class SldLzssDecoder {
public:
    static LzssDecoder::Copy split(uint8_t b0, uint8_t b1);
    static LzssDecoder::Result decode(const uint8_t* in, size_t inSize, uint8_t* out,
                                      size_t outSize, uint8_t* window);

    SldLzssDecoder() = delete;
};
