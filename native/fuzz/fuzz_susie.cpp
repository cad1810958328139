// Fuzz harness for SusiePicture: the two blocks a plug-in hands back, packed into one DIB.
#include "DibLayout.h"
#include "SusiePicture.h"
#include <cstdlib>
#include <vector>

// The first two bytes split the rest into the header block and the pixel
// block, each copied into a block of exactly its size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t rest = size - 2;
    const size_t split = (size_t(data[0]) | size_t(data[1]) << 8) % (rest + 1);
    std::vector<uint8_t> info(data + 2, data + 2 + split);
    std::vector<uint8_t> bits(data + 2 + split, data + size);
    PackedDib picture = SusiePicture::pack(info.data(), info.size(), bits.data(), bits.size());
    if (picture.empty())
        return 0;
    // What comes out is a sound bottom-up DIB block of its own size.
    DibLayout layout;
    if (!layout.read(picture.data(), picture.size()) || layout.topDown ||
        picture.pixelBytes() != picture.stride() * size_t(picture.height()))
        std::abort();
    return 0;
}
