// SldHeader: presetting, filling and checking the "SLD" header holder.
#include "SldHeader.h"
#include "ByteOrder.h"
#include "PackedDib.h"
#include <cstring>

namespace {

struct StaticColour {
    uint8_t entry, red, green, blue;
};

// The twenty colours the system palette reserves, so that a picture with no
// colours of its own still shows the desktop's colours at both ends.
constexpr StaticColour staticColours[] = {
    {0, 0, 0, 0},         {1, 128, 0, 0},       {2, 0, 128, 0},       {3, 128, 128, 0},
    {4, 0, 0, 128},       {5, 128, 0, 128},     {6, 0, 128, 128},     {7, 192, 192, 192},
    {8, 192, 220, 192},   {9, 166, 202, 240},   {246, 255, 251, 240}, {247, 160, 160, 164},
    {248, 128, 128, 128}, {249, 255, 0, 0},     {250, 0, 255, 0},     {251, 255, 255, 0},
    {252, 0, 0, 255},     {253, 255, 0, 255},   {254, 0, 255, 255},   {255, 255, 255, 255},
};

}  // namespace

SldHeader::SldHeader()
{
    preset();
}

SldHeader::~SldHeader() = default;

void SldHeader::preset()
{
    magic = magicValue;
    width = 0;
    height = 0;
    reserved = 0;
    for (size_t i = 0; i < colourEntries; ++i) {
        uint8_t* entry = colours + 4 * i;
        entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(i);
        entry[3] = 0;
    }
    for (const StaticColour& c : staticColours) {
        uint8_t* entry = colours + 4 * c.entry;
        entry[0] = c.blue;
        entry[1] = c.green;
        entry[2] = c.red;
    }
}

void SldHeader::takeFixed(const uint8_t* bytes, size_t count)
{
    if (count < fixedSize)
        return;
    magic = ByteOrder::get32(bytes);
    width = ByteOrder::get32(bytes + 4);
    height = ByteOrder::get32(bytes + 8);
    reserved = ByteOrder::get32(bytes + 12);
}

void SldHeader::takeColours(const uint8_t* bytes, size_t count)
{
    if (count > colourBytes)
        count = colourBytes;
    count &= ~size_t{3};
    if (count)
        std::memcpy(colours, bytes, count);
}

bool SldHeader::plausible() const
{
    return width <= static_cast<uint32_t>(PackedDib::maxDimension) &&
           height <= static_cast<uint32_t>(PackedDib::maxDimension);
}

size_t SldHeader::pixelBytes() const
{
    if (!plausible())
        return 0;
    return PackedDib::rowBytes(static_cast<int32_t>(width), 8) * height;
}
