// PixelRowsBench: the pixel row loops built for this host, timed against memcpy of the same frame.
#include "PixelRows.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

// Usage: PixelRowsBench [frames per batch]
// Every figure is the fastest of 25 batches, per frame, in milliseconds, and
// a multiple of memcpy of the destination's bytes measured in the same run.
// Built without the platform headers, so the loops are measured without the
// window system's emulation in the way.

namespace {

const int frameW = 640, frameH = 480;
const int keyIndex = 0;

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double timePerFrame(const std::function<void()>& work, int frames)
{
    work();
    double best = 1e30;
    for (int b = 0; b < 25; ++b) {
        const double start = nowMs();
        for (int i = 0; i < frames; ++i)
            work();
        best = std::min(best, (nowMs() - start) / frames);
    }
    return best;
}

// An 8-bit frame (stride = width) of indices 1..255, the key over the left
// third (region) or one pixel in three (scattered), and a random table.
struct Picture {
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(size_t(frameW) * frameH);
    std::vector<std::uint8_t> colours = std::vector<std::uint8_t>(256 * 4);
};

Picture paint(std::mt19937& rng, int layout)
{
    Picture p;
    for (std::uint8_t& c : p.colours)
        c = std::uint8_t(rng());
    for (int y = 0; y < frameH; ++y)
        for (int x = 0; x < frameW; ++x) {
            std::uint8_t v = std::uint8_t(1 + rng() % 255);
            if ((layout == 1 && x < frameW / 3) || (layout == 2 && rng() % 3 == 0))
                v = keyIndex;
            p.pixels[size_t(y) * frameW + x] = v;
        }
    return p;
}

const char* nameOf(PixelLoopKind k)
{
    switch (k) {
    case PixelLoopKind::plain: return "plain";
    case PixelLoopKind::mmx: return "MMX";
    case PixelLoopKind::sse2: return "SSE2";
    default: return "AVX2";
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const size_t bytes = size_t(frameW) * frameH * 4;
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    const double copy = timePerFrame([&] { std::memcpy(b.data(), a.data(), bytes); }, frames);
    std::printf("640 x 480, %d frames a batch, fastest of 25 batches\n", frames);
    std::printf("memcpy true-colour frame %.3f ms\n", copy);

    std::mt19937 rng(1234);
    const Picture opaque = paint(rng, 0), keyed = paint(rng, 1), scattered = paint(rng, 2);
    std::vector<std::uint8_t> frame(bytes, 0x80);
    std::uint8_t* top = frame.data() + size_t(frameH - 1) * frameW * 4;
    const int dstStride = frameW * 4;
    auto srcTop = [](const Picture& p) { return p.pixels.data() + size_t(frameH - 1) * frameW; };

    for (int k = 0; k <= static_cast<int>(PixelLoopKind::avx2); ++k) {
        const PixelLoopKind kind = static_cast<PixelLoopKind>(k);
        const PixelRows& rows = PixelRows::forKind(kind);
        if (rows.kind != kind) {
            std::printf("%-6s not offered by this processor\n", nameOf(kind));
            continue;
        }
        struct Case {
            const char* name;
            const Picture* picture;
            int level;
            bool keyedCall;
        };
        const Case cases[] = {{"blend level 8", &opaque, 8, false},
                              {"blendKeyed level 8", &keyed, 8, true},
                              {"blendKeyed level 16", &keyed, 16, true},
                              {"blendKeyed level 8, scattered key", &scattered, 8, true}};
        for (const Case& c : cases) {
            const std::uint8_t* src = srcTop(*c.picture);
            const void* colours = c.picture->colours.data();
            const double ms = timePerFrame(
                [&] {
                    if (c.keyedCall)
                        rows.mixKeyed(top, dstStride, src, frameW, frameW, frameH, colours,
                                      c.level, keyIndex);
                    else
                        rows.mix(top, dstStride, src, frameW, frameW, frameH, colours, c.level);
                },
                frames);
            std::printf("%-6s %-34s %8.3f ms %7.2f x memcpy\n", nameOf(kind), c.name, ms,
                        ms / copy);
        }
    }
    return 0;
}
