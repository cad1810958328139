// MixTable: the weighted colour table of one blend level.
#include "MixTable.h"

void MixTable::prepare(const void* table, int weight) {
    colours = table;
    level = weight;
    if (weight <= 0 || weight >= 16)
        return;
    const std::uint8_t* c = static_cast<const std::uint8_t*>(table);
    for (int i = 0; i < 256; ++i)
        for (int b = 0; b < 4; ++b)
            weighted[i][b] = static_cast<std::uint16_t>(c[i * 4 + b] * weight);
}
