// ColourTable: the arithmetic of a palettized surface's 256 colours: the starting table, range limits and fades.
#pragma once
#include <cstdint>

// One colour-table entry in the byte order of the platform's RGBQUAD, so a
// surface's table can be handed to these routines as it is.
struct ColourQuad {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};
static_assert(sizeof(ColourQuad) == 4, "a colour entry is four bytes");

class ColourTable {
public:
    static constexpr int size = 256;
    // Entries 0..9 and 246..255 are the colours every palette-based display
    // reserves for itself; a new surface keeps them so its pictures look the
    // same whatever the display does with the rest.
    static constexpr int lowFixedCount = 10;
    static constexpr int highFixedFirst = 246;

    static bool isFixed(int index) { return index < lowFixedCount || index >= highFixedFirst; }
    // The reserved colour at a fixed index; black for any other index.
    static ColourQuad fixedColour(int index);
    // A new surface's table on a true-colour display: entry i is the grey
    // (i, i, i), with the twenty fixed colours written over their places.
    static void initialTable(ColourQuad* table);

    // How many entries setColours copies: 0 when first or srcFirst lies
    // outside 0..255; otherwise count raised to at least 1 and cut so that
    // neither range runs past entry 255.
    static int setColoursCount(int first, int srcFirst, int count);
    // setColourRange's first entry, clamped to 0..255, and how many entries
    // it copies from there (0 for a count of 0 or less).
    static int rangeFirst(int first);
    static int rangeCount(int first, int count);

    // True when step lies in 0..steps with steps > 0: then out receives the
    // colours the quarter-circle curve gives at that step, from stored
    // (step 0) to target (step = steps), each reserved byte from stored.
    // False otherwise; out is then untouched.
    static bool fade(const ColourQuad* stored, const ColourQuad* target, int step, int steps,
                     ColourQuad* out);
    // The weight of the target at step; 0 at step 0 and exactly 1 at steps.
    static double fadeFactor(int step, int steps);

    ColourTable() = delete;

private:
    static uint8_t fadeChannel(uint8_t from, uint8_t to, double factor);
};
