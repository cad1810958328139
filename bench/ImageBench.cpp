// ImageBench: times decoding of a 640x480 8-bit picture from "MCG " and "SLD" against memcpy and zlib's inflate.
#include "BmpDecoder.h"
#include "McgDecoder.h"
#include "McgWriter.h"
#include "SldDecoder.h"
#include "SldWriter.h"

#include <zlib.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <functional>
#include <iterator>
#include <vector>

// Usage: ImageBench [picture.bmp]   (default: bench/plasma.bmp beside the program)
// The same source also builds natively (native/, with zlib) for figures
// without Wine in between. Time is the thread's processor time, not the
// wall clock: on a machine shared with other work the wall clock measures
// the others as much as the decoder.
// Every figure is output megabytes (2^20 bytes of pixels) per second, the
// best of seven batches of about 0.2 s of processor time each, all measured in the same run.

namespace {

double seconds()
{
#ifdef _WIN32
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return ticks(kernel) + ticks(user);
#else
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
#endif
}

// Best rate over seven batches; each batch repeats run until 0.2 s pass.
double megabytesPerSecond(size_t outputBytes, const std::function<void()>& run)
{
    run();  // warm caches and the allocator
    double best = 0;
    for (int batch = 0; batch < 7; ++batch) {
        int count = 0;
        double start = seconds(), elapsed = 0;
        do {
            run();
            ++count;
            elapsed = seconds() - start;
        } while (elapsed < 0.2);
        best = std::max(best, outputBytes * static_cast<double>(count) / elapsed / (1 << 20));
    }
    return best;
}

std::vector<uint8_t> readFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> deflateBest(const uint8_t* data, size_t size)
{
    uLongf length = compressBound(size);
    std::vector<uint8_t> out(length);
    if (compress2(out.data(), &length, data, size, 9) != Z_OK)
        return {};
    out.resize(length);
    return out;
}

// The picture beside the program, found from the program's own name.
std::string defaultPicture(const char* program)
{
    std::string text(program ? program : "");
    const size_t slash = text.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : text.substr(0, slash + 1);
    return folder + "bench/plasma.bmp";
}

}  // namespace

int main(int argc, char** argv)
{
    std::string name = argc > 1 ? argv[1] : defaultPicture(argv[0]);
    std::vector<uint8_t> bmp = readFile(name.c_str());
    PackedDib picture = BmpDecoder::decode(bmp.data(), bmp.size());
    if (picture.empty() || picture.bitCount() != 8) {
        std::fprintf(stderr, "%s: not an 8-bit BMP picture\n", name.c_str());
        return 1;
    }
    const uint8_t* pixels = picture.pixels();
    const size_t pixelBytes = picture.pixelBytes();
    std::vector<uint8_t> mcg = McgWriter::write(picture);
    std::vector<uint8_t> sld = SldWriter::write(picture);
    std::vector<uint8_t> packed = deflateBest(pixels, pixelBytes);
    if (mcg.empty() || sld.empty() || packed.empty()) {
        std::fprintf(stderr, "could not encode the picture\n");
        return 1;
    }
    // Every decoder must give back the same pixels before it is timed.
    std::vector<uint8_t> out(pixelBytes);
    uLongf outLength = pixelBytes;
    bool same = uncompress(out.data(), &outLength, packed.data(), packed.size()) == Z_OK &&
                outLength == pixelBytes && std::memcmp(out.data(), pixels, pixelBytes) == 0;
    PackedDib fromMcg = McgDecoder::decode(mcg.data(), mcg.size());
    PackedDib fromSld = SldDecoder::decodeFile(sld.data(), sld.size());
    same = same && fromMcg.pixelBytes() == pixelBytes && fromSld.pixelBytes() == pixelBytes &&
           std::memcmp(fromMcg.pixels(), pixels, pixelBytes) == 0 &&
           std::memcmp(fromSld.pixels(), pixels, pixelBytes) == 0;
    if (!same) {
        std::fprintf(stderr, "a decoder gave different pixels\n");
        return 1;
    }

    std::printf("%s: %dx%d, 8 bits, %u pixel bytes\n", name.c_str(), picture.width(),
                picture.height(), static_cast<unsigned>(pixelBytes));
    std::printf("sizes: MCG %u, SLD %u, zlib level 9 %u bytes\n", static_cast<unsigned>(mcg.size()),
                static_cast<unsigned>(sld.size()), static_cast<unsigned>(packed.size()));
    double copy = megabytesPerSecond(pixelBytes, [&] { std::memcpy(out.data(), pixels, pixelBytes); });
    double inflate = megabytesPerSecond(pixelBytes, [&] {
        uLongf length = pixelBytes;
        uncompress(out.data(), &length, packed.data(), packed.size());
    });
    double mcgRate = megabytesPerSecond(pixelBytes, [&] { McgDecoder::decode(mcg.data(), mcg.size()); });
    double sldRate = megabytesPerSecond(pixelBytes, [&] { SldDecoder::decodeFile(sld.data(), sld.size()); });
    std::printf("%-10s %9.1f MB/s\n", "memcpy", copy);
    std::printf("%-10s %9.1f MB/s\n", "inflate", inflate);
    std::printf("%-10s %9.1f MB/s  (%.2f x inflate)\n", "MCG", mcgRate, mcgRate / inflate);
    std::printf("%-10s %9.1f MB/s  (%.2f x inflate)\n", "SLD", sldRate, sldRate / inflate);
    return 0;
}
