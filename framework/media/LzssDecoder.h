// LzssDecoder: the LZSS loop shared by both compressed image formats (4096-byte window).
#pragma once
#include <cstddef>
#include <cstdint>

// A stream is a series of groups: a flag byte, then eight items, one per flag
// bit from the lowest up. A set bit is a literal byte; a clear bit is a copy
// of two bytes naming a window position and a length. The formats differ
// only in how those two bytes split, which the caller supplies.
//
// The loop checks for the end of the input before every byte it reads and
// for the end of the output before every byte it writes, so a cut or forged
// stream never reads or writes outside its blocks.
class LzssDecoder {
public:
    static constexpr size_t windowSize = 4096;
    // The window starts zero-filled with the write position here.
    static constexpr size_t startPosition = 0xFEE;
    static constexpr unsigned minCopy = 3;

    struct Copy {
        unsigned position;  // 0 to 4095
        unsigned length;    // 3 to 18
    };
    using Split = Copy (*)(uint8_t b0, uint8_t b1);

    struct Result {
        size_t consumed;  // input bytes read
        size_t produced;  // output bytes written
    };

    // Decodes in[0, inSize) into out[0, outSize), using window (windowSize
    // bytes, cleared here) as the dictionary. Stops when either end is reached.
    static Result decode(Split split, const uint8_t* in, size_t inSize, uint8_t* out,
                         size_t outSize, uint8_t* window);

    // The most output one input byte can give: a copy item of 2 bytes and its
    // share of a flag byte give at most 18 bytes, never more than 9 an input byte.
    static constexpr unsigned maxExpansion = 9;

    LzssDecoder() = delete;
};
