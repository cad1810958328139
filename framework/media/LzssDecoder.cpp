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

namespace {

constexpr size_t windowMask = LzssDecoder::windowSize - 1;
constexpr unsigned maxCopy = 15 + LzssDecoder::minCopy;
// Room past the output position that lets an item move whole 8- and
// 16-byte blocks without checking each byte: the bytes written past the
// item's end are overwritten by the items after it.
constexpr size_t blockRoom = 32;

template <LzssDecoder::LengthNibble layout>
inline LzssDecoder::Copy splitItem(unsigned b0, unsigned b1)
{
    if (layout == LzssDecoder::LengthNibble::high)
        return {b0 | ((b1 & 0x0Fu) << 8), (b1 >> 4) + LzssDecoder::minCopy};
    return {b0 | ((b1 & 0xF0u) << 4), (b1 & 0x0Fu) + LzssDecoder::minCopy};
}

// A window position seen from output position outPos: the byte there was
// written `distance` bytes earlier (1 to 4096), or is one of the window's
// starting zeros when that lies before the first output byte.
inline size_t distanceTo(size_t outPos, unsigned position)
{
    size_t distance = (outPos + LzssDecoder::startPosition - position) & windowMask;
    return distance == 0 ? LzssDecoder::windowSize : distance;
}

// Copies with the room for whole blocks and a source wholly in the output.
inline void copyBlock(uint8_t* dst, size_t distance, unsigned length)
{
    const uint8_t* src = dst - distance;
    if (distance >= maxCopy) {
        // The source ends before the copy starts.
        std::memcpy(dst, src, 16);
        std::memcpy(dst + 16, src + 16, 2);
    } else if (distance == 1) {
        std::memset(dst, *src, maxCopy);
    } else if (distance >= 8) {
        // Each 8-byte step reads only bytes that earlier steps wrote.
        for (unsigned i = 0; i < length; i += 8)
            std::memcpy(dst + i, src + i, 8);
    } else {
        for (unsigned i = 0; i < length; ++i)
            dst[i] = src[i];
    }
}

// The careful form near either end of the output or the window's start.
inline size_t copyBytes(uint8_t* out, size_t outPos, size_t outSize, size_t distance,
                        unsigned length)
{
    for (unsigned i = 0; i < length && outPos < outSize; ++i, ++outPos)
        out[outPos] = outPos >= distance ? out[outPos - distance] : 0;
    return outPos;
}

// The set bits of flags from the lowest up, before the first clear one.
inline unsigned literalRun(unsigned flags)
{
    unsigned run = 0;
    while (flags & 1) {
        ++run;
        flags >>= 1;
    }
    return run;
}

// A run of literals; false when the input ends inside it.
inline bool literals(unsigned run, const uint8_t* in, size_t inSize, size_t& inPos, uint8_t* out,
                     size_t outSize, size_t& outPos)
{
    const size_t inLeft = inSize - inPos, outLeft = outSize - outPos;
    if (inLeft >= 8 && outLeft >= 8) {
        std::memcpy(out + outPos, in + inPos, 8);
        inPos += run;
        outPos += run;
        return true;
    }
    size_t n = run < inLeft ? run : inLeft;
    n = n < outLeft ? n : outLeft;
    std::memcpy(out + outPos, in + inPos, n);
    inPos += n;
    outPos += n;
    return n == run || n == outLeft;
}

// One copy item; false when the input ends inside it.
template <LzssDecoder::LengthNibble layout>
inline bool copyItem(const uint8_t* in, size_t inSize, size_t& inPos, uint8_t* out,
                     size_t outSize, size_t& outPos)
{
    if (inSize - inPos < 2)
        return false;
    const LzssDecoder::Copy copy = splitItem<layout>(in[inPos], in[inPos + 1]);
    inPos += 2;
    const size_t distance = distanceTo(outPos, copy.position);
    if (outSize - outPos >= blockRoom && outPos >= distance) {
        copyBlock(out + outPos, distance, copy.length);
        outPos += copy.length;
    } else {
        outPos = copyBytes(out, outPos, outSize, distance, copy.length);
    }
    return true;
}

// A whole group with room at both ends: a flag byte and at most 16 item
// bytes to read, 8 x 18 bytes to write, 16 more on each side for whole
// block moves, and every distance inside the output.
constexpr size_t groupInRoom = 1 + 16 + 16;
constexpr size_t groupOutRoom = 8 * maxCopy + blockRoom;

// One item without bounds checks, the literal and the copy taking the same
// path so that the mix of the two costs no mispredicted branches: each
// moves 18 bytes from its source and steps by its own length. Only a copy
// that overlaps its own output takes a branch, rarely taken.
template <LzssDecoder::LengthNibble layout>
inline void groupItem(unsigned literal, const uint8_t*& in, uint8_t*& out, size_t outPos)
{
    const LzssDecoder::Copy copy = splitItem<layout>(in[0], in[1]);
    const size_t distance =
        ((outPos + LzssDecoder::startPosition - copy.position - 1) & windowMask) + 1;
    // Masks rather than conditions: compilers turn a condition on the
    // flag bit into a branch, and the flag bits follow no pattern.
    const uintptr_t pick = 0 - static_cast<uintptr_t>(literal);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(
        (reinterpret_cast<uintptr_t>(in) & pick) |
        (reinterpret_cast<uintptr_t>(out - distance) & ~pick));
    const unsigned length = (copy.length & ~static_cast<unsigned>(pick)) | (literal & 1u);
    const unsigned overlaps = (literal ^ 1u) & static_cast<unsigned>(distance < maxCopy);
    if (overlaps) {
        copyBlock(out, distance, length);
    } else {
        uint8_t block[maxCopy];
        std::memcpy(block, src, maxCopy);
        std::memcpy(out, block, maxCopy);
    }
    in += 2 - literal;
    out += length;
}

template <LzssDecoder::LengthNibble layout>
inline void decodeGroup(const uint8_t* in, size_t& inPos, uint8_t* out, size_t& outPos)
{
    const uint8_t* inAt = in + inPos;
    uint8_t* outAt = out + outPos;
    const unsigned flags = *inAt++;
#pragma GCC unroll 8
    for (unsigned bit = 0; bit < 8; ++bit)
        groupItem<layout>((flags >> bit) & 1, inAt, outAt, static_cast<size_t>(outAt - out));
    inPos = static_cast<size_t>(inAt - in);
    outPos = static_cast<size_t>(outAt - out);
}

template <LzssDecoder::LengthNibble layout>
LzssDecoder::Result decodeItems(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize)
{
    size_t inPos = 0;
    size_t outPos = 0;
    while (inPos < inSize && outPos < outSize) {
        if (outPos >= LzssDecoder::windowSize && inSize - inPos >= groupInRoom &&
            outSize - outPos >= groupOutRoom) {
            decodeGroup<layout>(in, inPos, out, outPos);
            continue;
        }
        unsigned flags = in[inPos++];
        unsigned items = 8;
        while (items > 0 && outPos < outSize) {
            if (flags & 1) {
                // At most the items left: the flags above them are 0.
                const unsigned run = literalRun(flags);
                if (!literals(run, in, inSize, inPos, out, outSize, outPos))
                    return {inPos, outPos};
                flags >>= run;
                items -= run;
                continue;
            }
            if (!copyItem<layout>(in, inSize, inPos, out, outSize, outPos))
                return {inPos, outPos};
            flags >>= 1;
            --items;
        }
    }
    return {inPos, outPos};
}

// The window as the byte loop leaves it: the last output bytes at the
// positions they were written to, zeros where nothing was written.
void fillWindow(const uint8_t* out, size_t produced, uint8_t* window)
{
    std::memset(window, 0, LzssDecoder::windowSize);
    const size_t kept = produced < LzssDecoder::windowSize ? produced : LzssDecoder::windowSize;
    for (size_t j = produced - kept; j < produced; ++j)
        window[(LzssDecoder::startPosition + j) & windowMask] = out[j];
}

}  // namespace

LzssDecoder::Result LzssDecoder::decodeDirect(LengthNibble layout, const uint8_t* in,
                                              size_t inSize, uint8_t* out, size_t outSize,
                                              uint8_t* window)
{
    const Result result = layout == LengthNibble::high
                              ? decodeItems<LengthNibble::high>(in, inSize, out, outSize)
                              : decodeItems<LengthNibble::low>(in, inSize, out, outSize);
    fillWindow(out, result.produced, window);
    return result;
}
