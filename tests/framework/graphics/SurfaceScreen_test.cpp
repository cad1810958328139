// Tests of surfaces on a real window: the colours that reach the screen, and drawing while another thread paints.
#include "KtDib.h"
#include "KtWindow.h"
#include "SurfaceTestKit.h"
#include <gtest/gtest.h>
#include <process.h>

using namespace kit;

namespace {
// A visible top-level window that paints nothing itself, so what a surface
// draws stays there to be read back.
class ScreenWindow {
public:
    ScreenWindow(int w, int h)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KtSurfaceScreenTest";
        RegisterClassA(&wc);
        handle = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "surface", WS_POPUP | WS_VISIBLE,
                                 0, 0, w, h, nullptr, nullptr, wc.hInstance, nullptr);
        UpdateWindow(handle);
        pump();
    }
    ~ScreenWindow() { DestroyWindow(handle); }

    void pump()
    {
        MSG msg;
        const DWORD until = GetTickCount() + 200;
        while (GetTickCount() < until) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
    }

    COLORREF pixel(int x, int y)
    {
        HDC dc = GetDC(handle);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(handle, dc);
        return c;
    }

    HWND handle;
};

// Lends the test's window to the surfaces' showInWindow.
struct BorrowedWindow : KtWindow {
    explicit BorrowedWindow(HWND window) : KtWindow(nullptr) { handle = window; }
    ~BorrowedWindow() override { handle = nullptr; }
};

COLORREF asColorRef(const RGBQUAD& c)
{
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}
}

TEST(SurfaceScreen, ShownSurfacesReachTheWindowWithTheirColours)
{
    ASSERT_EQ(32, GetDeviceCaps(GetDC(nullptr), BITSPIXEL)) << "pixel-exact only at depth 24";
    ScreenWindow screen(64, 48);
    BorrowedWindow window(screen.handle);

    KtVSurface s;
    s.create(64, 48);
    std::vector<RGBQUAD> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i * 5), BYTE(i * 3 + 1), BYTE(255 - i), 0};
    s.setColourRange(table.data(), 0, 256);
    paint(s, [](int x, int y) { return BYTE(x * 3 + y * 11); });
    ASSERT_NE(0, s.showInWindow(window));
    GdiFlush();
    for (int y = 0; y < 48; y += 7)
        for (int x = 0; x < 64; x += 9)
            EXPECT_EQ(asColorRef(table[*s.pixelAddress(x, y)]), screen.pixel(x, y)) << x << "," << y;

    KtVSurface24 t;
    t.create(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            setPixel24(t, x, y, uint32_t(x * 4) << 16 | uint32_t(y * 5) << 8 | 0x33);
    ASSERT_NE(0, t.showInWindow(window));
    GdiFlush();
    for (int y = 0; y < 48; y += 5)
        for (int x = 0; x < 64; x += 6)
            EXPECT_EQ(RGB(x * 4, y * 5, 0x33), screen.pixel(x, y)) << x << "," << y;

    DestroyWindow(screen.handle);
    EXPECT_EQ(0, t.showInWindow(window)) << "a dead window is left alone";
}

namespace {
struct Shared {
    KtVSurface picture;
    KtVSurface layer;
    KtVSurface24 frame;
    DWORD until = 0;
    LONG drawn = 0;
};

// The scenario side: pixel routines into the surfaces, and colour changes,
// which lock the surface from this thread too.
unsigned __stdcall drawLoop(void* arg)
{
    Shared& s = *static_cast<Shared*>(arg);
    int n = 0;
    while (GetTickCount() < s.until) {
        s.picture.fill(BYTE(n), nullptr);
        s.picture.transfer(s.layer, n % 7 - 3, n % 5 - 2, 0, 0, 64, 48, -1);
        s.layer.blendKeyed(s.frame, n % 9 - 4, 0, 0, 0, 64, 48, n % 17, 0);
        s.layer.blend(s.frame, 0, n % 3, 0, 0, 64, 48, 8);
        const RGBQUAD c{BYTE(n), BYTE(n * 3), BYTE(n * 7), 0};
        s.layer.setColours(&c, n & 255, 0, 1);
        ++n;
        Sleep(n % 4 == 0 ? 1 : 0);   // paced like the paint loop, see there
    }
    InterlockedExchange(&s.drawn, n);
    return 0;
}
}

TEST(SurfaceScreen, DrawingAndPaintingOnTwoThreadsNeitherCrashesNorDeadlocks)
{
    ScreenWindow screen(64, 48);
    Shared shared;
    shared.picture.create(64, 48);
    shared.layer.create(64, 48);
    shared.frame.create(64, 48);
    shared.until = GetTickCount() + 1500;
    HANDLE drawer = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, drawLoop, &shared, 0, nullptr));
    ASSERT_NE(nullptr, drawer);

    // The window side: lock, blit to the window, unlock, as a paint does, up
    // to a thousand times a second. Under Wine every device context costs X
    // resource ids; unpaced, the two loops spend them faster than Wine's Xlib
    // can reclaim them (it aborts in _XAllocID), which no real game comes near.
    int painted = 0;
    while (WaitForSingleObject(drawer, 1) == WAIT_TIMEOUT && painted < 1000000) {
        HDC windowDc = GetDC(screen.handle);
        KtDC& frame = shared.frame.lock();
        BitBlt(windowDc, 0, 0, 64, 48, frame.handle(), 0, 0, SRCCOPY);
        shared.frame.unlock();
        KtDC target;
        target.attach(windowDc, KtDC::borrowedKind);
        shared.layer.show(target);
        target.release();
        ReleaseDC(screen.handle, windowDc);
        ++painted;
    }
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(drawer, 30000)) << "the drawing thread is stuck";
    CloseHandle(drawer);
    EXPECT_GT(shared.drawn, 0);
    EXPECT_GT(painted, 0);
    EXPECT_EQ(0, shared.frame.lockCount);
    EXPECT_EQ(0, shared.layer.lockCount);
}

namespace {
// The scenario side of a re-creation: waits until the window side holds its
// lock, says it is starting, changes the surface, says it is done.
struct Recreation {
    KtVSurface surface;
    void (*change)(KtVSurface&) = nullptr;
    HANDLE locked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE starting = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Recreation()
    {
        CloseHandle(locked);
        CloseHandle(starting);
        CloseHandle(done);
    }
};

unsigned __stdcall recreate(void* arg)
{
    Recreation& r = *static_cast<Recreation*>(arg);
    if (WaitForSingleObject(r.locked, 10000) != WAIT_OBJECT_0)
        return 1;
    SetEvent(r.starting);
    r.change(r.surface);
    SetEvent(r.done);
    return 0;
}
}

// A paint holds its lock from the first use of the memory context to the
// last: a re-creation or destruction on another thread waits for it, and
// then frees the old section instead of leaking it.
TEST(SurfaceScreen, RecreationOnAnotherThreadWaitsForAPaintInProgress)
{
    struct Case {
        const char* name;
        void (*change)(KtVSurface&);
        int widthAfter;
    };
    static const std::vector<uint8_t> dib = packed8(8, 4, 256, [](int x, int y) { return BYTE(x * y); });
    const Case cases[] = {
        {"create", [](KtVSurface& s) { s.create(32, 16); }, 32},
        {"destroy", [](KtVSurface& s) { s.destroy(); }, 0},
        {"createFromDib", [](KtVSurface& s) {
             KtDib picture;
             picture.setPacked(dib.data(), dib.size());
             s.createFromDib(picture, 0);
         }, 8},
    };
    ScreenWindow screen(64, 48);
    for (const Case& c : cases) {
        Recreation r;
        r.change = c.change;
        r.surface.create(64, 48);
        HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, recreate, &r, 0, nullptr));
        ASSERT_NE(nullptr, thread);

        KtDC& locked = r.surface.lock();
        const HDC memory = locked.handle();
        const HBITMAP section = r.surface.bitmap;
        const KtSurfaceInfo* info = r.surface.info;
        SetEvent(r.locked);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(r.starting, 10000)) << c.name;
        // Time enough for the other thread to finish if nothing held it.
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(r.done, 300)) << c.name << " went ahead under a paint";
        EXPECT_EQ(memory, r.surface.dc.handle()) << c.name;
        EXPECT_EQ(section, GetCurrentObject(memory, OBJ_BITMAP)) << c.name;
        EXPECT_EQ(info, r.surface.info) << c.name;
        HDC windowDc = GetDC(screen.handle);
        EXPECT_TRUE(BitBlt(windowDc, 0, 0, 64, 48, memory, 0, 0, SRCCOPY)) << c.name;
        ReleaseDC(screen.handle, windowDc);
        r.surface.unlock();

        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(r.done, 10000)) << c.name;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000)) << c.name;
        CloseHandle(thread);
        EXPECT_EQ(0, r.surface.lockCount) << c.name;
        EXPECT_EQ(c.widthAfter, r.surface.width()) << c.name;
        EXPECT_EQ(0u, GetObjectType(section)) << c.name << ": the old section was not freed";
    }
}
