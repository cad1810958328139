// MixTable: a colour table weighted by a blend level, prepared once for the wide mix loops.
#pragma once
#include <cstdint>

// A mix gives each destination byte (D × (16 − level) + P × level) / 16. The
// P × level half depends only on the colour index, so a caller blending the
// same table at the same level many times prepares it once here; a loop then
// does one multiply, one add and one shift per byte, and the result is the
// same floor of the same sum, byte for byte.
struct MixTable {
    // Entry i: blue, green, red and the fourth byte of colour i, each × level
    // (at most 255 × 15, so 16 bits hold it and the sum with D × (16 − level)).
    // Filled only for levels 1 .. 15; outside that range no loop reads it.
    alignas(16) std::uint16_t weighted[256][4];
    const void* colours;  // the table prepared from (256 × blue, green, red, reserved)
    int level;            // as given, not clamped

    void prepare(const void* colours, int level);
};
