// SldLzssDecoder: high nibble of the second byte extends the position, low nibble is the length.
#include "SldLzssDecoder.h"

LzssDecoder::Copy SldLzssDecoder::split(uint8_t b0, uint8_t b1)
{
    return {b0 + ((b1 & 0xF0u) << 4), (b1 & 0x0Fu) + LzssDecoder::minCopy};
}

LzssDecoder::Result SldLzssDecoder::decode(const uint8_t* in, size_t inSize, uint8_t* out,
                                           size_t outSize, uint8_t* window)
{
    return LzssDecoder::decodeDirect(LzssDecoder::LengthNibble::low, in, inSize, out, outSize,
                                     window);
}
