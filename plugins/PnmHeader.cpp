// PnmHeader: tokens, comments and range checks of the PGM and PPM headers.
#include "PnmHeader.h"

namespace {

bool isSpace(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

bool PnmHeader::skipSpace(const uint8_t* data, size_t size, size_t& pos)
{
    while (pos < size) {
        if (data[pos] == '#') {
            while (pos < size && data[pos] != '\n' && data[pos] != '\r')
                ++pos;
        } else if (isSpace(data[pos])) {
            ++pos;
        } else {
            return true;
        }
    }
    return false;
}

bool PnmHeader::readNumber(const uint8_t* data, size_t size, size_t& pos, int32_t& value)
{
    if (!skipSpace(data, size, pos) || data[pos] < '0' || data[pos] > '9')
        return false;
    value = 0;
    while (pos < size && data[pos] >= '0' && data[pos] <= '9') {
        value = value * 10 + (data[pos++] - '0');
        // Every accepted number is far below this; stopping here keeps the
        // sum from overflowing on a long run of digits.
        if (value > maxDimension)
            return false;
    }
    return true;
}

bool PnmHeader::parse(const uint8_t* data, size_t size)
{
    if (!data || size < 2 || data[0] != 'P' || (data[1] != '5' && data[1] != '6'))
        return false;
    channels = data[1] == '5' ? 1 : 3;
    size_t pos = 2;
    int32_t maximum = 0;
    if (!readNumber(data, size, pos, width) || !readNumber(data, size, pos, height) ||
        !readNumber(data, size, pos, maximum))
        return false;
    // Exactly one white-space byte ends the header; the raster may begin
    // with any byte, even one that looks like white space.
    if (pos >= size || !isSpace(data[pos]))
        return false;
    rasterOffset = pos + 1;
    maxValue = maximum;
    return width >= 1 && height >= 1 && maxValue >= 1 && maxValue <= 255;
}

size_t PnmHeader::rasterBytes() const
{
    return static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
}
