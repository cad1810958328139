// McgLzssDecoder: low nibble of the second byte extends the position, high nibble is the length.
#include "McgLzssDecoder.h"

LzssDecoder::Copy McgLzssDecoder::split(uint8_t b0, uint8_t b1)
{
    return {b0 + ((b1 & 0x0Fu) << 8), (b1 >> 4) + LzssDecoder::minCopy};
}

LzssDecoder::Result McgLzssDecoder::decode(const uint8_t* in, size_t inSize, uint8_t* out,
                                           size_t outSize, uint8_t* window)
{
    return LzssDecoder::decodeDirect(LzssDecoder::LengthNibble::high, in, inSize, out, outSize,
                                     window);
}
