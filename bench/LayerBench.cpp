// LayerBench: composing 24 layers into the true-colour surface, and the wall time of transitions.
#include "KtLayerViewport.h"
#include "PixelRows.h"
#include "TransitionRunner.h"
#include "TransitionScreen.h"
#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

// Usage: LayerBench [compositions per batch] [loop kind: 0 plain, 1 MMX, 2 SSE2, 3 AVX2]
// A kind given runs every blend with it (capped at what the processor has),
// so that one build shows the figures of the narrower loops too.
// Composition figures are the fastest of 45 batches, per composition, in
// milliseconds, beside 24 × memcpy of the 640 × 480 true-colour frame measured
// in the same run. Transition figures are the wall time of one run each on a
// window on the screen, beside the pauses the transition asks for.

namespace {

const int frameW = 640, frameH = 480;
const int layerCount = KtLayerViewport::layerCount;
const int keyIndex = 0;

double fastest(const std::function<void()>& work, int perBatch, int batches = 3)
{
    work();
    double best = 1e30;
    for (int b = 0; b < batches; ++b) {
        const double start = benchNowMs();
        for (int i = 0; i < perBatch; ++i)
            work();
        best = std::min(best, (benchNowMs() - start) / perBatch);
    }
    return best;
}

// Random colours, random indices 1..255 with the key index over the left third.
void paintKeyed(KtPrintArea& layer, std::mt19937& rng)
{
    RGBQUAD table[256];
    for (RGBQUAD& c : table)
        c = RGBQUAD{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
    layer.surface.setColourRange(table, 0, 256);
    for (int y = 0; y < frameH; ++y) {
        BYTE* row = layer.surface.pixelAddress(0, y);
        for (int x = 0; x < frameW; ++x)
            row[x] = x < frameW / 3 ? BYTE(keyIndex) : BYTE(1 + rng() % 255);
    }
}

void defineFull(KtLayerViewport& view, int index, int key, int level)
{
    view.defineLayer(index, 0, 0, 0, 0, frameW, frameH, 0, 0, frameW, frameH, 0, 0, key, level,
                     -1, 0);
    view.layers[index].visible = 1;
}

void benchCompose(int perBatch)
{
    const size_t bytes = size_t(frameW) * frameH * 4;
    std::vector<BYTE> a(bytes, 1), b(bytes, 2);
    const double copy = fastest([&] { std::memcpy(b.data(), a.data(), bytes); }, perBatch * 4, 15);
    const double copies = copy * layerCount;

    KtLayerViewport view(nullptr, KtString("bench"), 0, 0, frameW, frameH);
    if (!view.surface.hasPixels()) {
        std::printf("no DIB section for the surface\n");
        std::exit(1);
    }
    std::mt19937 rng(4321);
    for (int i = 0; i < layerCount; ++i) {
        defineFull(view, i, keyIndex, 8);
        paintKeyed(view.layers[i], rng);
    }
    const KtRect whole(0, 0, frameW, frameH);
    // The two cases take turns batch by batch, so that other work on the
    // machine weighs on both alike. Covered: layer 12 is opaque, and the
    // twelve layers below it cannot show.
    auto cover = [&](bool on) {
        view.layers[12].key = on ? -2 : keyIndex;
        view.layers[12].level = on ? 16 : 8;
    };
    // Layer by layer, as composing went before it was done in one pass: each
    // layer blended over the area in turn, the layers wholly inside an
    // opaque one above left out.
    KtVSurface24 frame;
    frame.create(frameW, frameH);
    auto compose = [&](const KtRect& r, int) { view.recompose(r, FALSE); };
    auto inTurn = [&](const KtRect& r, int lowest) {
        KtRect changed;
        for (int i = lowest; i < layerCount; ++i)
            view.layers[i].drawInto(frame, r, changed);
    };
    // Each figure twice: the whole frame at once, and the sum of the fastest
    // composition of each of its eight strips of 60 rows, which a machine
    // busy with other work interrupts less often.
    struct Figure {
        double whole = 1e30, strips[8] = {1e30, 1e30, 1e30, 1e30, 1e30, 1e30, 1e30, 1e30};
        double stripSum() const
        {
            double sum = 0;
            for (double t : strips)
                sum += t;
            return sum;
        }
    };
    auto measure = [&](Figure& f, const std::function<void(const KtRect&, int)>& work, int lowest) {
        f.whole = std::min(f.whole, fastest([&] { work(whole, lowest); }, perBatch));
        for (int s = 0; s < 8; ++s) {
            const KtRect strip(0, s * 60, frameW, s * 60 + 60);
            f.strips[s] = std::min(f.strips[s], fastest([&] { work(strip, lowest); }, perBatch));
        }
    };
    Figure keyed, covered, keyedInTurn, coveredInTurn;
    for (int round = 0; round < 15; ++round) {
        cover(false);
        measure(keyed, compose, 0);
        measure(keyedInTurn, inTurn, 0);
        cover(true);
        measure(covered, compose, 0);
        measure(coveredInTurn, inTurn, 12);
    }

    std::printf("memcpy of one 640 x 480 true-colour frame     %8.3f ms (24 x: %.3f ms)\n", copy,
                copies);
    auto show = [&](const char* name, const Figure& f, const Figure* uncovered) {
        std::printf("%-44s %8.3f ms %6.2f x (24 x memcpy); in strips %8.3f ms %6.2f x", name,
                    f.whole, f.whole / copies, f.stripSum(), f.stripSum() / copies);
        if (uncovered)
            std::printf(", %.2f / %.2f of uncovered", f.whole / uncovered->whole,
                        f.stripSum() / uncovered->stripSum());
        std::printf("\n");
    };
    show("compose 24 keyed level-8 layers", keyed, nullptr);
    show("  the lowest 12 covered by an opaque layer", covered, &keyed);
    show("layer by layer, 24 keyed level-8 layers", keyedInTurn, nullptr);
    show("  the lowest 12 covered (left out)", coveredInTurn, &keyedInTurn);
}

// Adds up what a transition asks to pause, and its copies and screen
// updates (a direct copy is one update, a batch of blocks another), without a window.
class PauseCounter : public TransitionScreen {
public:
    void copy(const KtRect&) override { ++direct; }
    void copyLater(const KtRect&) override { ++batched; }
    void showBatch() override { ++batches; }
    void pause(uint32_t ms) override { total += ms; }
    bool skipRequested() override { return false; }
    uint32_t total = 0;
    int direct = 0, batched = 0, batches = 0;
};

LRESULT CALLBACK stageProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(w, m, wp, lp);
}

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void benchTransitions()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = stageProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LayerBenchStage";
    RegisterClassA(&wc);
    HWND stage = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                 frameW, frameH, nullptr, nullptr, wc.hInstance, nullptr);
    KtLayerViewport view(stage, KtString("bench"), 0, 0, frameW, frameH);
    view.create();
    pump();
    std::mt19937 rng(99);
    defineFull(view, 0, -2, 16);
    paintKeyed(view.layers[0], rng);
    defineFull(view, 1, -2, 16);
    paintKeyed(view.layers[1], rng);

    struct Case {
        int code;
        const char* name;
    };
    const Case cases[] = {{11, "wipe from the left (11)"},   {20, "box from the centre (20)"},
                          {50, "interlaced rows (50)"},      {52, "interlaced columns and rows (52)"},
                          {40, "dissolve, 32-pixel blocks (40)"},
                          {43, "dissolve, 4-pixel blocks (43)"},
                          {39, "progressive dissolve, preview (39)"},
                          {48, "random rows (48)"}};
    const KtRect whole(0, 0, frameW, frameH);
    for (const Case& c : cases) {
        PauseCounter counter;
        TransitionRunner(counter, whole).run(c.code);
        view.layers[1].visible = c.code % 2;   // alternate the picture shown
        pump();
        const double start = benchNowMs();
        view.runEffect(whole, c.code);
        const double wall = benchNowMs() - start;
        std::printf("%-36s %8.1f ms wall, %4u ms of pauses, %6d copies in %5d updates\n", c.name,
                    wall, counter.total, counter.direct + counter.batched,
                    counter.direct + counter.batches);
    }
    DestroyWindow(stage);
}

}  // namespace

int main(int argc, char** argv)
{
    const int perBatch = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
    if (argc > 2)
        PixelRows::forceKind(static_cast<PixelLoopKind>(std::clamp(std::atoi(argv[2]), 0, 3)));
    std::printf("layer composition, 640 x 480, %d per batch, fastest of 45 batches, loops of kind %d\n",
                perBatch, int(PixelRows::forKind(PixelRows::bestKind()).kind));
    benchCompose(perBatch);
    std::printf("transitions over 640 x 480 on a window\n");
    benchTransitions();
    return 0;
}
