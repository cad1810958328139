// PixelBench: times the surface transfers and blends for each pixel loop kind against memcpy.
#include "KtVSurface.h"
#include "KtVSurface24.h"
#include "PixelRows.h"
#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

// Usage: PixelBench [frames per batch]
// Every figure is the fastest of 25 batches, per frame, in milliseconds, and
// as a multiple of memcpy of the destination's bytes measured in the same run.
// The fastest batch is the one least disturbed by other work on the machine.

namespace {

const int frameWidth = 640, frameHeight = 480;
const int layerCount = 24;
const int keyIndex = 0;  // the transparent index of the keyed pictures

// Milliseconds per call: the fastest of 25 batches of `frames` calls.
double timePerFrame(const std::function<void()>& work, int frames) {
    work();  // warm caches and pages
    double best = 1e30;
    for (int b = 0; b < 25; ++b) {
        const double start = benchNowMs();
        for (int i = 0; i < frames; ++i)
            work();
        best = std::min(best, (benchNowMs() - start) / frames);
    }
    return best;
}

enum class KeyLayout { none, region, scattered };

// Random indices 1..255; the key index fills the left third (region), or one
// pixel in three at random (scattered), the worst case for the wide loops.
void paint(KtVSurface& s, std::mt19937& rng, KeyLayout layout) {
    for (int y = 0; y < frameHeight; ++y) {
        BYTE* row = s.pixelAddress(0, y);
        for (int x = 0; x < frameWidth; ++x) {
            BYTE v = BYTE(1 + rng() % 255);
            if ((layout == KeyLayout::region && x < frameWidth / 3) ||
                (layout == KeyLayout::scattered && rng() % 3 == 0))
                v = keyIndex;
            row[x] = v;
        }
    }
}

void randomColours(KtVSurface& s, std::mt19937& rng) {
    RGBQUAD table[256];
    for (RGBQUAD& c : table)
        c = RGBQUAD{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
    s.setColourRange(table, 0, 256);
}

const char* nameOf(PixelLoopKind k) {
    static const char* const names[] = {"plain", "MMX", "SSE2", "AVX2"};
    return names[static_cast<int>(k)];
}

struct Baseline {
    double trueColour;  // memcpy of a 640 × 480 true-colour frame
    double palettized;  // memcpy of a 640 × 480 8-bit frame
};

Baseline measureMemcpy(int frames) {
    const size_t big = size_t(frameWidth) * frameHeight * 4, small = big / 4;
    std::vector<BYTE> a(big, 1), b(big, 2);
    Baseline base;
    base.trueColour = timePerFrame([&] { std::memcpy(b.data(), a.data(), big); }, frames);
    base.palettized = timePerFrame([&] { std::memcpy(b.data(), a.data(), small); }, frames);
    return base;
}

void report(const char* kind, const char* what, double ms, double memcpyMs) {
    std::printf("%-6s %-34s %8.3f ms %7.2f x memcpy\n", kind, what, ms, ms / memcpyMs);
}

void benchKind(PixelLoopKind kind, const Baseline& base, int frames) {
    // Every surface uses the forced kind until it is unforced.
    PixelRows::forceKind(kind);
    std::mt19937 rng(1234);
    KtVSurface opaque, keyed, scattered, target8;
    KtVSurface24 target;
    for (KtVSurface* s : {&opaque, &keyed, &scattered, &target8}) {
        s->create(frameWidth, frameHeight);
        randomColours(*s, rng);
    }
    target.create(frameWidth, frameHeight);
    if (!opaque.hasPixels() || !target.hasPixels()) {
        std::printf("%s: no DIB sections\n", nameOf(kind));
        std::exit(1);
    }
    paint(opaque, rng, KeyLayout::none);
    paint(keyed, rng, KeyLayout::region);
    paint(scattered, rng, KeyLayout::scattered);
    std::memset(target.bits, 0x80, size_t(target.stride()) * frameHeight);

    const char* k = nameOf(kind);
    const double t = base.trueColour, p = base.palettized;
    const int W = frameWidth, H = frameHeight;
    report(k, "blend level 8", timePerFrame([&] { opaque.blend(target, 0, 0, 0, 0, W, H, 8); }, frames), t);
    report(k, "blend level 16", timePerFrame([&] { opaque.blend(target, 0, 0, 0, 0, W, H, 16); }, frames), t);
    report(k, "blendKeyed level 8", timePerFrame([&] { keyed.blendKeyed(target, 0, 0, 0, 0, W, H, 8, keyIndex); }, frames), t);
    report(k, "blendKeyed level 16", timePerFrame([&] { keyed.blendKeyed(target, 0, 0, 0, 0, W, H, 16, keyIndex); }, frames), t);
    report(k, "blendKeyed level 8, scattered key", timePerFrame([&] { scattered.blendKeyed(target, 0, 0, 0, 0, W, H, 8, keyIndex); }, frames), t);
    report(k, "transfer opaque", timePerFrame([&] { opaque.transfer(target8, 0, 0, 0, 0, W, H, -2); }, frames), p);
    report(k, "transfer keyed", timePerFrame([&] { keyed.transfer(target8, 0, 0, 0, 0, W, H, keyIndex); }, frames), p);
    report(k, "transfer keyed, scattered key", timePerFrame([&] { scattered.transfer(target8, 0, 0, 0, 0, W, H, keyIndex); }, frames), p);

    // A layer viewport's full recomposition: every layer blended in turn, each
    // with its own picture, key and level.
    std::vector<std::unique_ptr<KtVSurface>> layers;
    for (int i = 0; i < layerCount; ++i) {
        layers.emplace_back(new KtVSurface);
        layers.back()->create(W, H);
        randomColours(*layers.back(), rng);
        paint(*layers.back(), rng, KeyLayout::region);
    }
    const double compose = timePerFrame([&] {
        for (int i = 0; i < layerCount; ++i)
            layers[i]->blendKeyed(target, 0, 0, 0, 0, W, H, i % 2 ? 8 : 16, keyIndex);
    }, std::max(1, frames / 8));
    std::printf("%-6s %d keyed layers composed          %8.3f ms\n", k, layerCount, compose);
    PixelRows::unforceKind();
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const Baseline base = measureMemcpy(frames);
    std::printf("640 x 480, %d frames a batch, fastest of 25 batches\n", frames);
    std::printf("memcpy true-colour frame %.3f ms, 8-bit frame %.3f ms\n", base.trueColour,
                base.palettized);
    for (PixelLoopKind kind : {PixelLoopKind::plain, PixelLoopKind::mmx, PixelLoopKind::sse2,
                               PixelLoopKind::avx2}) {
        if (PixelRows::forKind(kind).kind != kind) {
            std::printf("%-6s not offered by this processor\n", nameOf(kind));
            continue;
        }
        benchKind(kind, base, frames);
    }
    return 0;
}
