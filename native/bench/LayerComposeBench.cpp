// LayerComposeBench: 24 layers composed in one pass and layer by layer, beside memcpy of the same run.
#include "LayerComposer.h"
#include "PixelRows.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

// Usage: LayerComposeBench [compositions per batch]
// The same stack as LayerBench: 24 full-frame layers of random indices with
// the key over the left third, at level 8; then with layer 12 opaque. Every
// figure is the fastest of 60 batches; the two ways are also compared byte
// for byte, as a check of the benchmark itself.

namespace {

const int frameW = 640, frameH = 480, layerCount = 24, keyIndex = 0;

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double fastest(const std::function<void()>& work, int perBatch)
{
    work();
    double best = 1e30;
    for (int b = 0; b < 60; ++b) {
        const double start = nowMs();
        for (int i = 0; i < perBatch; ++i)
            work();
        best = std::min(best, (nowMs() - start) / perBatch);
    }
    return best;
}

struct Picture {
    std::vector<std::uint8_t> pixels, colours;
};

Picture paintKeyed(std::mt19937& rng)
{
    Picture p{std::vector<std::uint8_t>(size_t(frameW) * frameH), std::vector<std::uint8_t>(1024)};
    for (std::uint8_t& c : p.colours)
        c = std::uint8_t(rng());
    for (int y = 0; y < frameH; ++y)
        for (int x = 0; x < frameW; ++x)
            p.pixels[size_t(y) * frameW + x] =
                x < frameW / 3 ? std::uint8_t(keyIndex) : std::uint8_t(1 + rng() % 255);
    return p;
}

}  // namespace

int main(int argc, char** argv)
{
    const int perBatch = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const size_t bytes = size_t(frameW) * frameH * 4;
    std::vector<std::uint8_t> a(bytes, 1), b(bytes, 2);
    const double copies =
        layerCount * fastest([&] { std::memcpy(b.data(), a.data(), bytes); }, perBatch * 4);

    std::mt19937 rng(4321);
    std::vector<Picture> pictures;
    for (int i = 0; i < layerCount; ++i)
        pictures.push_back(paintKeyed(rng));
    const PixelRows& rows = PixelRows::forKind(PixelRows::bestKind());
    std::vector<ComposeLayer> stack;
    for (const Picture& p : pictures)
        stack.push_back(ComposeLayer{p.pixels.data() + size_t(frameH - 1) * frameW, frameW, frameW,
                                     frameH, p.colours.data(), &rows, 8, keyIndex,
                                     RectEdges{0, 0, frameW, frameH},
                                     RectEdges{0, 0, frameW, frameH}, 0, 0, 0, 0});
    std::vector<std::uint8_t> onePass(bytes, 0x80), inTurn(bytes, 0x80);
    auto top = [](std::vector<std::uint8_t>& f) { return f.data() + size_t(frameH - 1) * frameW * 4; };
    const ComposeFrame frame{top(onePass), frameW * 4, frameW, frameH};
    auto composeOnePass = [&](int y0, int y1) {
        LayerComposer::compose(frame, stack.data(), layerCount, RectEdges{0, y0, frameW, y1});
    };
    auto composeInTurn = [&](int y0, int y1) {
        std::uint8_t* d = top(inTurn) - std::ptrdiff_t(y0) * frameW * 4;
        for (const ComposeLayer& l : stack) {
            const std::uint8_t* src = l.topRow - std::ptrdiff_t(y0) * l.stride;
            if (l.key < 0)
                rows.mix(d, frameW * 4, src, l.stride, frameW, y1 - y0, l.colours, l.level);
            else
                rows.mixKeyed(d, frameW * 4, src, l.stride, frameW, y1 - y0, l.colours, l.level,
                              std::uint8_t(l.key));
        }
    };
    // The whole frame at once, and the sum of the fastest composition of
    // each of its eight strips of 60 rows, which a busy machine interrupts
    // less often.
    auto inStrips = [&](const std::function<void(int, int)>& work) {
        double sum = 0;
        for (int s = 0; s < 8; ++s)
            sum += fastest([&] { work(s * 60, s * 60 + 60); }, perBatch);
        return sum;
    };
    std::printf("24 layers of 640 x 480, %d per batch, fastest of 60 batches, loops of kind %d\n",
                perBatch, int(rows.kind));
    // The least any composition of these layers costs: reading every
    // picture once (7.4 MB, far more than the frame's 1.2 MB that memcpy moves).
    volatile std::uint64_t sink = 0;
    const double reading = fastest([&] {
        std::uint64_t sum = 0;
        for (const Picture& p : pictures) {
            const std::uint64_t* w = reinterpret_cast<const std::uint64_t*>(p.pixels.data());
            for (size_t i = 0; i < p.pixels.size() / 8; ++i)
                sum += w[i];
        }
        sink = sink + sum;
    }, perBatch);
    std::printf("24 x memcpy of the true-colour frame         %8.3f ms\n", copies);
    std::printf("reading the 24 pictures once                 %8.3f ms %6.2f x (24 x memcpy)\n",
                reading, reading / copies);
    for (bool covered : {false, true}) {
        stack[12].level = covered ? 16 : 8;
        stack[12].key = covered ? -1 : keyIndex;
        const double one = fastest([&] { composeOnePass(0, frameH); }, perBatch);
        const double turn = fastest([&] { composeInTurn(0, frameH); }, perBatch);
        const double oneStrips = inStrips(composeOnePass), turnStrips = inStrips(composeInTurn);
        std::printf("%-36s %7.3f ms %6.2f x, in strips %7.3f ms %6.2f x; layer by layer %7.3f ms "
                    "%6.2f x, in strips %7.3f ms %6.2f x\n",
                    covered ? "  the lowest 12 covered, one pass" : "24 keyed level-8, one pass",
                    one, one / copies, oneStrips, oneStrips / copies, turn, turn / copies,
                    turnStrips, turnStrips / copies);
        std::fill(onePass.begin(), onePass.end(), 0x80);
        std::fill(inTurn.begin(), inTurn.end(), 0x80);
        composeOnePass(0, frameH);
        composeInTurn(0, frameH);
        std::printf("  same bytes both ways: %s\n", onePass == inTurn ? "yes" : "NO");
    }
    return 0;
}
