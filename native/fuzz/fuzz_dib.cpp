// Fuzz harness for DibLayout: every region it places must lie inside the block.
#include "DibLayout.h"
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so that a read past it is caught.
    std::vector<uint8_t> block(data, data + size);
    DibLayout layout;
    if (!layout.read(block.data(), block.size()))
        return 0;
    if (layout.height < 0 || layout.width < 0 || layout.tableEntries > 256)
        std::abort();
    const size_t tableEnd = layout.tableOffset + layout.tableEntries * layout.entrySize;
    if (tableEnd > layout.pixelOffset || layout.pixelOffset > size ||
        layout.rowsBytes > size - layout.pixelOffset ||
        layout.rowsBytes != layout.stride * size_t(layout.height))
        std::abort();
    if (layout.masksOffset && layout.masksOffset + 12 > size)
        std::abort();
    // Touch what a DIB object copies: the table and the rows.
    std::vector<uint8_t> copy(tableEnd - layout.tableOffset + layout.rowsBytes + 1);
    std::memcpy(copy.data(), block.data() + layout.tableOffset, tableEnd - layout.tableOffset);
    std::memcpy(copy.data() + (tableEnd - layout.tableOffset), block.data() + layout.pixelOffset,
                layout.rowsBytes);
    return 0;
}
