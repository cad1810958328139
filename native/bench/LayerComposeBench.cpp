// LayerComposeBench: 24 layers composed in one pass and layer by layer, beside memcpy of the same run.
#include "LayerComposer.h"
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
    const int perBatch = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
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
    auto composeOnePass = [&] {
        LayerComposer::compose(frame, stack.data(), layerCount, RectEdges{0, 0, frameW, frameH});
    };
    auto composeInTurn = [&] {
        for (const ComposeLayer& l : stack) {
            if (l.key < 0)
                rows.mix(top(inTurn), frameW * 4, l.topRow, l.stride, frameW, frameH, l.colours,
                         l.level);
            else
                rows.mixKeyed(top(inTurn), frameW * 4, l.topRow, l.stride, frameW, frameH,
                              l.colours, l.level, std::uint8_t(l.key));
        }
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
        const double one = fastest(composeOnePass, perBatch);
        const double turn = fastest(composeInTurn, perBatch);
        std::printf("%-44s %8.3f ms %6.2f x (24 x memcpy); layer by layer %8.3f ms %6.2f x\n",
                    covered ? "  the lowest 12 covered, one pass" : "compose 24 keyed level-8, one pass",
                    one, one / copies, turn, turn / copies);
        std::fill(onePass.begin(), onePass.end(), 0x80);
        std::fill(inTurn.begin(), inTurn.end(), 0x80);
        composeOnePass();
        composeInTurn();
        std::printf("  same bytes both ways: %s\n", onePass == inTurn ? "yes" : "NO");
    }
    return 0;
}
