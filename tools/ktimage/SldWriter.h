// SldWriter: writes an 8-bit packed DIB as an "SLD" file.
#pragma once
#include "PackedDib.h"
#include <vector>

class SldWriter {
public:
    // Empty unless the picture has 8 bits per pixel. Colour entries the
    // picture lacks are written black; entries are copied whole, reserved
    // byte included, as the reader copies them.
    static std::vector<uint8_t> write(const PackedDib& dib);

    SldWriter() = delete;
};
