// BmpWriter: writes a packed DIB as a Windows BMP file.
#pragma once
#include "PackedDib.h"
#include <vector>

class BmpWriter {
public:
    // The 14-byte file header followed by the packed DIB as it is.
    static std::vector<uint8_t> write(const PackedDib& dib);

    BmpWriter() = delete;
};
