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
    // bytes, cleared here) as the dictionary, one byte at a time. Stops when
    // either end is reached. The plain form of the loop: the formats use
    // decodeDirect, which must give the same bytes and counts.
    static Result decode(Split split, const uint8_t* in, size_t inSize, uint8_t* out,
                         size_t outSize, uint8_t* window);

    // Where the copy length sits in the second byte of a copy item; the
    // other nibble holds the top four bits of the position.
    enum class LengthNibble { high, low };

    // The same result as decode with the matching split, but the output
    // itself serves as the dictionary (the window would only ever hold the
    // last 4096 output bytes), and each item is one block move: a run of
    // literals, a copy whose source ends before it starts, or a copy that
    // repeats its own output. Every item is still checked against both ends.
    // window is left as decode leaves it.
    static Result decodeDirect(LengthNibble layout, const uint8_t* in, size_t inSize,
                               uint8_t* out, size_t outSize, uint8_t* window);

    // The most output one input byte can give: a copy item of 2 bytes and its
    // share of a flag byte give at most 18 bytes, never more than 9 an input byte.
    static constexpr unsigned maxExpansion = 9;

    LzssDecoder() = delete;
};
