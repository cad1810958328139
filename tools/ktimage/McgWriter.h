// McgWriter: writes a packed DIB as an "MCG " file.
#pragma once
#include "PackedDib.h"
#include <vector>

class McgWriter {
public:
    // flags: null, or 256 flag bytes stored as the fourth byte of each
    // colour entry. Empty for an empty picture.
    static std::vector<uint8_t> write(const PackedDib& dib, const uint32_t* flags = nullptr);

    McgWriter() = delete;
};
