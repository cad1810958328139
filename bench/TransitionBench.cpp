// TransitionBench: transitions started from a second thread, as a scenario module runs them, beside the window's own thread.
#include "KtLayerViewport.h"
#include "TransitionRunner.h"
#include "TransitionScreen.h"
#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

// Usage: TransitionBench [rounds]   (default 5)
// In a game the scenario thread asks for a transition and the window thread,
// which owns the window, paints every part it reveals: each update is a
// round trip between the two. Every code runs `rounds` times in each of two
// ways, taking turns: from a second thread on a viewport whose window a
// message loop serves (as a module does), and on the window's own thread.
// Figures are medians of the wall times, beside the pauses the transition
// asks for and, for the unpaused ones, as a ratio to the own thread.

namespace {

const int frameW = 640, frameH = 480;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Adds up what a transition asks to pause, without a window.
class PauseCounter : public TransitionScreen {
public:
    void copy(const KtRect&) override { ++updates; }
    void copyLater(const KtRect&) override {}
    void showBatch() override { ++updates; }
    void pause(uint32_t ms) override { total += ms; }
    bool skipRequested() override { return false; }
    uint32_t total = 0;
    int updates = 0;
};

LRESULT CALLBACK stageProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(w, m, wp, lp);
}

void paint(KtPrintArea& layer, std::mt19937& rng)
{
    RGBQUAD table[256];
    for (RGBQUAD& c : table)
        c = RGBQUAD{BYTE(rng()), BYTE(rng()), BYTE(rng()), 0};
    layer.surface.setColourRange(table, 0, 256);
    for (int y = 0; y < frameH; ++y) {
        BYTE* row = layer.surface.pixelAddress(0, y);
        for (int x = 0; x < frameW; ++x)
            row[x] = BYTE(rng());
    }
}

// A stage window with a layer viewport of two full-frame pictures, made on
// the calling thread, which then owns it.
struct Stage {
    explicit Stage(int x)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = stageProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TransitionBenchStage";
        RegisterClassA(&wc);   // the second stage finds it registered
        window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, x, 0,
                                 frameW, frameH, nullptr, nullptr, wc.hInstance, nullptr);
        view = new KtLayerViewport(window, KtString("bench"), 0, 0, frameW, frameH);
        view->create();
        std::mt19937 rng(99);
        for (int i = 0; i < 2; ++i) {
            view->defineLayer(i, 0, 0, 0, 0, frameW, frameH, 0, 0, frameW, frameH, 0, 0, -2, 16,
                              -1, 0);
            view->layers[i].visible = 1;
            paint(view->layers[i], rng);
        }
    }
    ~Stage()
    {
        delete view;
        DestroyWindow(window);
    }
    HWND window;
    KtLayerViewport* view;
};

void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// The window thread of the cross-thread case: makes its stage, says so,
// and serves its window until WM_QUIT.
struct WindowThread {
    Stage* stage = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = nullptr;

    static DWORD WINAPI run(void* p)
    {
        auto* self = static_cast<WindowThread*>(p);
        Stage stage(frameW + 8);
        self->stage = &stage;
        SetEvent(self->ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        return 0;
    }
    bool start()
    {
        thread = CreateThread(nullptr, 0, run, this, 0, &id);
        return thread && WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0;
    }
    void stop()
    {
        PostThreadMessageA(id, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(ready);
    }
};

double timeOnce(KtLayerViewport& view, int code, int round, bool ownThread)
{
    view.layers[1].visible = round % 2;   // alternate the picture shown
    if (ownThread)
        pump();
    const double start = benchNowMs();
    view.runEffect(KtRect(0, 0, frameW, frameH), code);
    const double wall = benchNowMs() - start;
    if (ownThread)
        pump();
    return wall;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    WindowThread other;
    if (!other.start()) {
        std::printf("the window thread did not start\n");
        return 1;
    }
    Stage own(0);
    pump();

    struct Case {
        int code;
        const char* name;
    };
    const Case cases[] = {{11, "wipe from the left (11)"},
                          {20, "box from the centre (20)"},
                          {50, "interlaced rows (50)"},
                          {52, "interlaced columns and rows (52)"},
                          {40, "dissolve, 32-pixel blocks (40)"},
                          {43, "dissolve, 4-pixel blocks (43)"},
                          {39, "progressive dissolve, preview (39)"},
                          {48, "random rows (48)"},
                          {49, "random columns (49)"}};
    std::printf("transitions over 640 x 480, median of %d runs each; "
                "\"second\": asked from a second thread, \"own\": on the window's thread\n",
                rounds);
    std::printf("%-36s %9s %9s %7s %8s %7s\n", "", "second", "own", "pauses", "updates",
                "ratio");
    for (const Case& c : cases) {
        PauseCounter counter;
        TransitionRunner(counter, KtRect(0, 0, frameW, frameH)).run(c.code);
        std::vector<double> second, mine;
        for (int r = 0; r < rounds; ++r) {
            second.push_back(timeOnce(*other.stage->view, c.code, r, false));
            mine.push_back(timeOnce(*own.view, c.code, r, true));
        }
        const double s = median(second), o = median(mine);
        // Wipes and line scans against their pauses, the others (dissolves,
        // random lines) against the own thread.
        const bool paused = c.code < 38 || c.code >= 50;
        const double ratio = paused ? s / counter.total : s / o;
        std::printf("%-36s %6.1f ms %6.1f ms %4u ms %8d %6.2f %s\n", c.name, s, o, counter.total,
                    counter.updates, ratio, paused ? "x pauses" : "x own");
    }
    other.stop();
    return 0;
}
