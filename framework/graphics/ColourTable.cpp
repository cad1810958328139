// ColourTable: the arithmetic of a palettized surface's 256 colours: the starting table, range limits and fades.
#include "ColourTable.h"
#include <algorithm>
#include <cmath>

namespace {
// Red, green, blue of the reserved colours, low ten then high ten.
const uint8_t fixedRgb[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};
}

ColourQuad ColourTable::fixedColour(int index)
{
    int row;
    if (index >= 0 && index < lowFixedCount)
        row = index;
    else if (index >= highFixedFirst && index < size)
        row = lowFixedCount + index - highFixedFirst;
    else
        return ColourQuad{0, 0, 0, 0};
    return ColourQuad{fixedRgb[row][2], fixedRgb[row][1], fixedRgb[row][0], 0};
}

void ColourTable::initialTable(ColourQuad* table)
{
    for (int i = 0; i < size; ++i) {
        const uint8_t grey = uint8_t(i);
        table[i] = isFixed(i) ? fixedColour(i) : ColourQuad{grey, grey, grey, 0};
    }
}

int ColourTable::setColoursCount(int first, int srcFirst, int count)
{
    if (first < 0 || first >= size || srcFirst < 0 || srcFirst >= size)
        return 0;
    const int room = size - std::max(first, srcFirst);
    return std::min(std::max(count, 1), room);
}

int ColourTable::rangeFirst(int first)
{
    return std::clamp(first, 0, size - 1);
}

int ColourTable::rangeCount(int first, int count)
{
    return std::clamp(count, 0, size - rangeFirst(first));
}

double ColourTable::fadeFactor(int step, int steps)
{
    // The square root of a perfect square is exact, so step = steps gives 1.
    return std::sqrt(double(2 * steps - step) * step) / steps;
}

uint8_t ColourTable::fadeChannel(uint8_t from, uint8_t to, double factor)
{
    // Never negative, so the conversion truncates toward zero as intended.
    return uint8_t((double(to) - from) * factor + from);
}

bool ColourTable::fade(const ColourQuad* stored, const ColourQuad* target, int step, int steps,
                       ColourQuad* out)
{
    if (steps <= 0 || step < 0 || step > steps)
        return false;
    const double f = fadeFactor(step, steps);
    for (int i = 0; i < size; ++i) {
        const ColourQuad& c = stored[i];
        const ColourQuad& t = target[i];
        out[i] = ColourQuad{fadeChannel(c.blue, t.blue, f), fadeChannel(c.green, t.green, f),
                            fadeChannel(c.red, t.red, f), c.reserved};
    }
    return true;
}
