// winCreate on the real window thread: each kind, names, parents, popup places, destruction and failures.
#include "Diagnostic.h"
#include "ImportPatch.h"
#include "KtAnimatedControl.h"
#include "KtAviView.h"
#include "KtLayerViewport.h"
#include "KtMessage.h"
#include "KtPopupViewport.h"
#include "KtScreenWindow.h"
#include "KtVelka.h"
#include "KtViewport.h"
#include "KtViewport24.h"
#include "KtWindowDescription.h"
#include "KtWindowPlacement.h"
#include "KtWindowMaker.h"
#include "KtWindowRegistry.h"
#include "KtWindowThread.h"
#include "MessageBoxRecorder.h"
#include "MessagePump.h"
#include "PopupArea.h"
#include "WindowPixels.h"
#include <cstdio>
#include <cstring>
#include <vector>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <string>

// --- Allocation failures on demand ------------------------------------------
// winCreate allocates its objects and registry items with the non-throwing
// new; this replacement fails the next such allocation of one size on one
// thread, so every kind's failure can be provoked exactly.
namespace {
std::atomic<size_t> failingSize{0};
std::atomic<DWORD> failingThread{0};
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (size == failingSize && GetCurrentThreadId() == failingThread) {
        failingSize = 0;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

// The popup makes its client viewport inside KtLIB.dll with the throwing
// new, which is pointed at this one for the allocation-failure test.
namespace {
std::atomic<size_t> failingThrowingSize{0};
using ThrowingNew = void* (*)(std::size_t);
ThrowingNew frameworkThrowingNew = nullptr;

void* failingThrowingNew(std::size_t size)
{
    if (size == failingThrowingSize && GetCurrentThreadId() == failingThread) {
        failingThrowingSize = 0;
        throw std::bad_alloc();
    }
    return frameworkThrowingNew(size);
}
}  // namespace

namespace {

// Stands in for the scenario host window: a visible top-level window on the
// test thread, whose key presses are counted.
class HostWindow : public KtWindow {
public:
    HostWindow() : KtWindow(nullptr) {}
    const char* className() override { return "KtWindowMakerTestHost"; }
    DWORD style() override { return WS_POPUP | WS_VISIBLE; }
    int initialX() override { return 100; }
    int initialY() override { return 80; }
    int initialWidth() override { return 640; }
    int initialHeight() override { return 480; }
    int showCommand() override { return SW_SHOWNOACTIVATE; }
    LRESULT onKeyDown(WPARAM wParam, LPARAM) override
    {
        if (wParam == VK_SPACE)
            ++spaces;
        return 0;
    }
    int spaces = 0;
};

KtWindowDescription describe(int kind, const char* name, KtRect rect, const char* parentName = "")
{
    KtWindowDescription record;
    record.kind = kind;
    record.rect = rect;
    record.parentName = KtString(parentName);
    record.name = KtString(name);
    record.showCmd = SW_SHOWNOACTIVATE;
    return record;
}

// The window's rectangle in its parent's client coordinates (screen
// coordinates for a window without a parent).
RECT placeOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    if (parent)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string classOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

KtWindow* const untouched = reinterpret_cast<KtWindow*>(0x5EED);

class WindowMaker : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host_.create());
        velka_.reset(new KtVelka(host_.handle));
    }
    void TearDown() override
    {
        KtWindowMaker::setPause(nullptr);
        failingSize = 0;
        failingThrowingSize = 0;
        velka_.reset();
    }

    // What a module does: reset windowDone, post the request, wait. The
    // test thread serves its own windows meanwhile.
    KtWindow* request(const KtWindowDescription& record)
    {
        KtWindow* slot = untouched;
        velka_->windowDone.unsignal();
        EXPECT_TRUE(KtWindowThread::postWhenReady(velka_->windowThread, KtMessage::createWindow,
                                                  reinterpret_cast<WPARAM>(&slot),
                                                  reinterpret_cast<LPARAM>(&record)));
        EXPECT_TRUE(MessagePump::untilSignalled(velka_->windowDone.handle, 10000));
        return slot;
    }
    void destroy(const char* name)
    {
        velka_->windowDone.unsignal();
        EXPECT_TRUE(KtWindowThread::postWhenReady(velka_->windowThread, KtMessage::destroyWindow,
                                                  reinterpret_cast<WPARAM>(name)));
        EXPECT_TRUE(MessagePump::untilSignalled(velka_->windowDone.handle, 10000));
    }
    KtWindow* registered(const char* name) { return KtWindowRegistry::find(*velka_, name); }
    // Fails the window thread's next allocation of that size, made with the
    // non-throwing or the throwing new.
    void failNextAllocation(size_t size, bool throwing)
    {
        failingThread = velka_->windowThread.threadId;
        (throwing ? failingThrowingSize : failingSize) = size;
    }

    HostWindow host_;
    std::unique_ptr<KtVelka> velka_;
};

// One table for every kind that needs no picture: type, class, parent and place.
TEST_F(WindowMaker, EachKindIsMadeWithItsTypeClassParentAndPlace)
{
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int kind;
        int type;
        const char* className;
        bool child;
        RECT place;
    } cases[] = {
        {KtWindowDescription::viewport, 5, "KtViewport", true, {10, 20, 110, 80}},
        {KtWindowDescription::viewport24, 13, "KtViewport24", true, {10, 20, 110, 80}},
        {KtWindowDescription::layerViewport, 14, "KtViewport24", true, {10, 20, 110, 80}},
        {KtWindowDescription::animatedControl, 7, "SysAnimate32", true, {10, 20, 110, 80}},
        {KtWindowDescription::aviView, 37, "KtAviView", true, {10, 20, 110, 80}},
        {KtWindowDescription::screenWindow, 12, "KtScreenWindow", false, {0, 0, screenW, screenH}},
    };
    int count = 0;
    for (const Case& c : cases) {
        std::string name = "kind" + std::to_string(c.kind);
        SCOPED_TRACE(name);
        KtWindowDescription record = describe(c.kind, name.c_str(), KtRect(10, 20, 110, 80));
        record.param2 = 1;
        KtWindow* window = request(record);
        ASSERT_NE(untouched, window);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(c.type, window->windowType());
        bool viewportKind = c.type == 5 || c.type == 13 || c.type == 14;
        EXPECT_EQ(viewportKind ? 1 : 0, window->runtimeFlag) << "param2 makes viewports movable";
        EXPECT_EQ(c.className, classOf(window->handle));
        EXPECT_EQ(host_.handle, c.child ? GetParent(window->handle) : GetWindow(window->handle, GW_OWNER));
        RECT r = placeOf(window->handle);
        EXPECT_EQ(c.place.left, r.left);
        EXPECT_EQ(c.place.top, r.top);
        EXPECT_EQ(c.place.right, r.right);
        EXPECT_EQ(c.place.bottom, r.bottom);
        EXPECT_EQ(window, registered(name.c_str())) << "registered by name before windowDone";
        EXPECT_EQ(++count, velka_->windows.count);
    }
    EXPECT_FALSE(IsWindowVisible(registered("kind7")->handle)) << "the animation control starts hidden";
}

TEST_F(WindowMaker, AnUnknownKindMakesNothingAndStillAnswers)
{
    for (int kind : {0, 4, 9, 15, 36, 38, -1}) {
        EXPECT_EQ(untouched, request(describe(kind, "nothing", KtRect(0, 0, 50, 50)))) << kind;
        EXPECT_EQ(0, velka_->windows.count) << kind;
    }
}

TEST_F(WindowMaker, ARegisteredNameReturnsTheFirstWindowWhateverTheRest)
{
    KtWindow* first = request(describe(KtWindowDescription::aviView, "same", KtRect(0, 0, 50, 50)));
    KtWindow* second = request(describe(KtWindowDescription::screenWindow, "same", KtRect(5, 5, 9, 9)));
    EXPECT_EQ(first, second);
    EXPECT_EQ(37, second->windowType());
    EXPECT_EQ(1, velka_->windows.count);
}

// A parent is found by name; a name no window has falls back to the host
// window and is reported.
TEST_F(WindowMaker, TheParentIsFoundByNameAndAnUnknownNameFallsBackToTheHost)
{
    MessageBoxRecorder boxes;
    KtWindow* screen = request(describe(KtWindowDescription::screenWindow, "stage", KtRect()));
    KtWindow* child = request(describe(KtWindowDescription::aviView, "inStage", KtRect(1, 2, 30, 40), "stage"));
    EXPECT_EQ(screen->handle, GetParent(child->handle));
    EXPECT_EQ(0u, boxes.count());

    KtWindow* orphan = request(describe(KtWindowDescription::aviView, "orphan", KtRect(1, 2, 30, 40), "nobody"));
    ASSERT_NE(untouched, orphan);
    EXPECT_EQ(host_.handle, GetParent(orphan->handle));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("「nobody」という親ウィンドウは登録されていません", boxes.last().text);
    EXPECT_EQ("KtVelka - winCreate", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);
    EXPECT_EQ(host_.handle, boxes.last().owner);
}

// The movie view takes param1 and param2 as the movie's place, not as the movable flag.
TEST_F(WindowMaker, AMovieViewTakesItsMovieAndPlaceFromTheRecord)
{
    KtWindowDescription record = describe(KtWindowDescription::aviView, "movie", KtRect(10, 10, 200, 150));
    record.imageFile = KtString("movies\\frames8.avi");
    record.param1 = 6;
    record.param2 = 9;
    KtAviView* view = static_cast<KtAviView*>(request(record));
    ASSERT_NE(nullptr, view->player.window);
    EXPECT_EQ(6, view->movieX);
    EXPECT_EQ(9, view->movieY);
    EXPECT_EQ(0, view->runtimeFlag);
    RECT r = placeOf(view->player.window);
    EXPECT_EQ(6, r.left);
    EXPECT_EQ(9, r.top);
}

// Popups: where each code puts them. Kind 8 has no frame, so the window
// rectangle is the client rectangle.
TEST_F(WindowMaker, APopupAtTheMouseCodeOpensAtTheCursorWithTheSizeItCarries)
{
    SetCursorPos(300, 250);
    KtWindowDescription record = describe(KtWindowDescription::popupWithoutCaption, "menu",
                                          KtRect(PopupArea::atMouse, PopupArea::atMouse,
                                                 PopupArea::atMouse + 200, PopupArea::atMouse + 100));
    KtWindow* popup = request(record);
    ASSERT_NE(untouched, popup);
    EXPECT_EQ(6, popup->windowType());
    RECT r = placeOf(popup->handle);
    EXPECT_EQ(300, r.left);
    EXPECT_EQ(250, r.top);
    EXPECT_EQ(200, r.right - r.left);
    EXPECT_EQ(100, r.bottom - r.top);
    EXPECT_EQ(host_.handle, GetWindow(popup->handle, GW_OWNER));
}

TEST_F(WindowMaker, APopupAtTheScreenCodeCoversTheScreen)
{
    KtWindow* popup = request(describe(KtWindowDescription::popupWithoutCaption, "full",
                                       KtRect(PopupArea::coversScreen, PopupArea::coversScreen,
                                              PopupArea::coversScreen, PopupArea::coversScreen)));
    RECT r = placeOf(popup->handle);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
}

// A plain rectangle is in the parent's client coordinates; a captioned popup
// is larger than its client by its frame.
TEST_F(WindowMaker, APopupRectangleIsTakenInTheParentsClientArea)
{
    KtWindowDescription record = describe(KtWindowDescription::popupWithCaption, "dialog", KtRect(20, 30, 220, 130));
    record.param2 = 1;
    KtPopupViewport* popup = static_cast<KtPopupViewport*>(request(record));
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(1, popup->hasCaption);
    EXPECT_EQ(1, popup->runtimeFlag) << "param2 makes it movable";
    EXPECT_EQ(velka_.get(), popup->owner);
    RECT client;
    GetClientRect(popup->handle, &client);
    EXPECT_EQ(200, client.right);
    EXPECT_EQ(100, client.bottom);
    POINT origin = {0, 0};
    ClientToScreen(popup->handle, &origin);
    EXPECT_EQ(100 + 20 + GetSystemMetrics(SM_CXFIXEDFRAME), origin.x);
}

// Pauses of the wait for a parent that lies off screen; the test's pause
// brings the parent back after the given number of pauses. Windows keeps a
// minimised window at (-32000, -32000); Wine without a window manager keeps
// it at the left edge of the screen, so the parent is moved there instead.
struct ParentReturn {
    static int pauses;
    static int returnAfter;
    static HWND parent;
    static void pause()
    {
        if (++pauses == returnAfter)
            SetWindowPos(parent, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};
int ParentReturn::pauses = 0;
int ParentReturn::returnAfter = 0;
HWND ParentReturn::parent = nullptr;

TEST_F(WindowMaker, APopupWaitsForAParentOffScreenAndElseOpensAtTheScreenCorner)
{
    struct Case {
        int returnAfter;   // 0: the parent stays away
        int pauses;
        POINT expected;
    } cases[] = {{2, 2, {100 + 10, 80 + 20}}, {0, 5, {0, 0}}};
    KtWindowMaker::setPause(&ParentReturn::pause);
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.returnAfter);
        ParentReturn::pauses = 0;
        ParentReturn::returnAfter = c.returnAfter;
        ParentReturn::parent = host_.handle;
        SetWindowPos(host_.handle, nullptr, -32000, -32000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        std::string name = "late" + std::to_string(n++);
        KtWindow* popup = request(describe(KtWindowDescription::popupWithoutCaption, name.c_str(), KtRect(10, 20, 60, 50)));
        ASSERT_NE(untouched, popup);
        EXPECT_EQ(c.pauses, ParentReturn::pauses);
        RECT r = placeOf(popup->handle);
        EXPECT_EQ(c.expected.x, r.left);
        EXPECT_EQ(c.expected.y, r.top);
        SetWindowPos(host_.handle, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

TEST_F(WindowMaker, DestroyByNameAndDestroyAll)
{
    KtWindow* a = request(describe(KtWindowDescription::aviView, "a", KtRect(0, 0, 20, 20)));
    KtWindow* b = request(describe(KtWindowDescription::animatedControl, "b", KtRect(0, 0, 20, 20)));
    KtWindow* c = request(describe(KtWindowDescription::screenWindow, "c", KtRect()));
    HWND handles[] = {a->handle, b->handle, c->handle};
    ASSERT_EQ(3, velka_->windows.count);

    destroy("nobody");
    EXPECT_EQ(3, velka_->windows.count) << "an unknown name changes nothing, yet answers";
    destroy("b");
    EXPECT_EQ(2, velka_->windows.count);
    EXPECT_FALSE(IsWindow(handles[1]));
    EXPECT_EQ(nullptr, registered("b"));
    EXPECT_TRUE(IsWindow(handles[0]));

    ASSERT_TRUE(KtWindowThread::postWhenReady(velka_->windowThread, KtMessage::destroyAllWindows));
    EXPECT_TRUE(MessagePump::until([&] { return !IsWindow(handles[0]) && !IsWindow(handles[2]); }));
    EXPECT_EQ(0, velka_->windows.count);
}

// Allocation failures of every kind, of a popup's client viewport and of
// the registry item reach the window thread's diagnostics: a box, the
// module let go, nothing registered.
TEST_F(WindowMaker, AnAllocationFailureIsReportedAsNotEnoughMemory)
{
    MessageBoxRecorder boxes;
    const char* const winCreate = "KtVelka - winCreate";
    struct Case {
        int kind;
        size_t size;
        bool throwing;   // made with the throwing new
        const char* caption;
    } cases[] = {
        {KtWindowDescription::aviView, sizeof(KtAviView), false, winCreate},
        {KtWindowDescription::animatedControl, sizeof(KtAnimatedControl), false, winCreate},
        {KtWindowDescription::popupWithCaption, sizeof(KtPopupViewport), false, winCreate},
        {KtWindowDescription::popupWithoutCaption, sizeof(KtPopupViewport), false, winCreate},
        {KtWindowDescription::popupWithCaption, sizeof(KtViewport), true, winCreate},   // its client
        {KtWindowDescription::popupWithoutCaption, sizeof(KtViewport), true, winCreate},
        {KtWindowDescription::viewport, sizeof(KtViewport), false, winCreate},
        {KtWindowDescription::screenWindow, sizeof(KtScreenWindow), false, winCreate},
        {KtWindowDescription::viewport24, sizeof(KtViewport24), false, winCreate},
        {KtWindowDescription::layerViewport, sizeof(KtLayerViewport), false, "winCreate - layerViewport"},
        {KtWindowDescription::aviView, sizeof(KtObjectNode), false, winCreate},   // the registry item
    };
    // Registry items are made inside KtLIB.dll, whose non-throwing new is
    // its own import: it is pointed at the replacement above for the test.
    using NothrowNew = void* (*)(std::size_t, const std::nothrow_t&) noexcept;
    NothrowNew replacement = &::operator new;
    ImportPatch frameworkNew("libstdc++-6.dll",
                             sizeof(void*) == 8 ? "_ZnwyRKSt9nothrow_t" : "_ZnwjRKSt9nothrow_t",
                             reinterpret_cast<const void*>(replacement));
    ASSERT_TRUE(frameworkNew.active());
    // The window thread may allocate while the entry is swapped: the
    // function it falls back to is known first.
    const char* const throwingNew = sizeof(void*) == 8 ? "_Znwy" : "_Znwj";
    frameworkThrowingNew = reinterpret_cast<ThrowingNew>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("libstdc++-6.dll"), throwingNew)));
    ASSERT_NE(nullptr, frameworkThrowingNew);
    ImportPatch frameworkThrowing("libstdc++-6.dll", throwingNew,
                                  reinterpret_cast<const void*>(&failingThrowingNew));
    ASSERT_TRUE(frameworkThrowing.active());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.throwing ? " client" : ""));
        boxes.clear();
        failNextAllocation(c.size, c.throwing);
        EXPECT_EQ(untouched, request(describe(c.kind, "tight", KtRect(0, 0, 40, 40))));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(c.caption, boxes.last().caption);
        EXPECT_EQ("メモリが足りません！", boxes.last().text);
        EXPECT_EQ(0, velka_->windows.count);
        velka_->quitRequest.unsignal();   // the failure ended the scenario; the next test starts one
    }
    EXPECT_NE(untouched, request(describe(KtWindowDescription::aviView, "roomy", KtRect(0, 0, 40, 40))))
        << "the thread still serves requests";
}

// The end of a movie made through winCreate presses space in its parent;
// a module that waits for input on the window thread gets it as its input.
TEST_F(WindowMaker, TheEndOfAMovieEndsTheModulesInputWait)
{
    KtWindow* stage = request(describe(KtWindowDescription::screenWindow, "stage", KtRect()));
    KtWindowDescription record = describe(KtWindowDescription::aviView, "movie", KtRect(0, 0, 100, 100), "stage");
    record.imageFile = KtString("movies\\frames32.avi");
    KtAviView* view = static_cast<KtAviView*>(request(record));
    ASSERT_EQ(stage->handle, GetParent(view->handle));

    velka_->inputMode = 0;
    velka_->inputDone.unsignal();
    ASSERT_TRUE(KtWindowThread::postWhenReady(velka_->windowThread, KtMessage::startInput));
    view->doneEvent.unsignal();
    PostMessageA(view->handle, KtAviView::playMessage, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, view->doneEvent.wait(10000));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->inputDone.wait(5000));
    EXPECT_EQ(VK_SPACE, velka_->inputCode);
}

}  // namespace

namespace {

// A 3 x 2 picture of six colours, written as an 8-bit BMP at run time.
const BYTE tile[2][3] = {{1, 2, 3}, {4, 5, 6}};   // top row first

RGBQUAD tileColour(int index)
{
    return RGBQUAD{BYTE(40 * index), BYTE(200 - 30 * index), BYTE(index * 37 % 256), 0};
}

std::string writeTile()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "KtWindowMakerTile.bmp";
    const int stride = 4, colours = 256;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {sizeof info, 3, 2, 1, 8, BI_RGB, stride * 2, 0, 0, colours, 0};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info + colours * sizeof(RGBQUAD);
    file.bfSize = file.bfOffBits + stride * 2;
    std::vector<RGBQUAD> table(colours);
    for (int i = 0; i < colours; ++i)
        table[i] = tileColour(i);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(table.data(), sizeof(RGBQUAD), colours, out);
    for (int row = 1; row >= 0; --row) {   // bottom-up
        BYTE line[stride] = {tile[row][0], tile[row][1], tile[row][2], 0};
        std::fwrite(line, 1, stride, out);
    }
    std::fclose(out);
    return path;
}

// The 8-bit surface that holds a window's first picture.
KtVSurface* firstPictureOf(KtWindow* window)
{
    switch (window->windowType()) {
    case 5:
        return &static_cast<KtViewport*>(window)->surface;
    case 6:
        return &static_cast<KtPopupViewport*>(window)->client->surface;
    case 14:
        return &static_cast<KtLayerViewport*>(window)->layers[0].surface;
    default:
        return nullptr;
    }
}

// The window that shows the first picture on the screen.
HWND shownBy(KtWindow* window)
{
    return window->windowType() == 6 ? static_cast<KtPopupViewport*>(window)->client->handle : window->handle;
}

uint32_t rgbOf(RGBQUAD c)
{
    return (uint32_t(c.rgbRed) << 16) | (uint32_t(c.rgbGreen) << 8) | c.rgbBlue;
}

// Tiled from the top-left corner, clipped at the right and bottom: a 7 x 5
// target holds two whole copies and a third cut to one column across, two
// whole copies and a third cut to one row down. Read from the surface and
// from the screen.
TEST_F(WindowMaker, TheFirstPictureIsTiledFromTheTopLeftAndClipped)
{
    std::string picture = writeTile();
    int n = 0;
    for (int kind : {KtWindowDescription::viewport, KtWindowDescription::layerViewport,
                     KtWindowDescription::popupWithoutCaption}) {
        SCOPED_TRACE(kind);
        std::string name = "tiled" + std::to_string(n++);
        KtWindowDescription record = describe(kind, name.c_str(), KtRect(30, 40, 37, 45));
        record.imageFile = KtString(picture.c_str());
        record.fillColor = 9;   // not used when there is a picture
        KtWindow* window = request(record);
        ASSERT_NE(untouched, window);
        KtVSurface* surface = firstPictureOf(window);
        ASSERT_NE(nullptr, surface);
        ASSERT_EQ(7, surface->width());
        ASSERT_EQ(5, surface->height());
        WindowPixels screen(shownBy(window), 7, 5);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                BYTE expected = tile[y % 2][x % 3];
                EXPECT_EQ(expected, *surface->pixelAddress(x, y)) << x << "," << y;
                EXPECT_EQ(rgbOf(tileColour(expected)), screen.at(x, y)) << "on screen " << x << "," << y;
            }
        }
        EXPECT_EQ(rgbOf(tileColour(200)), rgbOf(surface->colours()[200])) << "the picture's colours";
    }
    DeleteFileA(picture.c_str());
}

TEST_F(WindowMaker, WithoutAPictureTheSurfaceIsFilledWithTheColour)
{
    int n = 0;
    for (int kind : {KtWindowDescription::viewport, KtWindowDescription::layerViewport,
                     KtWindowDescription::popupWithCaption}) {
        for (int colour : {0, 77, 255}) {
            SCOPED_TRACE(std::to_string(kind) + " colour " + std::to_string(colour));
            std::string name = "filled" + std::to_string(n++);
            KtWindowDescription record = describe(kind, name.c_str(), KtRect(0, 0, 9, 4));
            record.fillColor = BYTE(colour);
            KtVSurface* surface = firstPictureOf(request(record));
            ASSERT_NE(nullptr, surface);
            int wrong = 0;
            for (int y = 0; y < surface->height(); ++y)
                for (int x = 0; x < surface->width(); ++x)
                    wrong += *surface->pixelAddress(x, y) != colour;
            EXPECT_EQ(0, wrong);
        }
    }
}

// A popup's client viewport is registered after it, not owned; destroying
// the popup by name takes the client's registration with it.
TEST_F(WindowMaker, APopupRegistersItsClientAndTakesItAlongWhenDestroyed)
{
    KtPopupViewport* popup = static_cast<KtPopupViewport*>(
        request(describe(KtWindowDescription::popupWithCaption, "pop", KtRect(0, 0, 120, 90))));
    ASSERT_NE(nullptr, popup->client);
    KtViewport* client = popup->client;
    EXPECT_EQ(client, registered("popClient"));
    EXPECT_EQ(popup->handle, GetParent(client->handle));
    ASSERT_EQ(2, velka_->windows.count);
    EXPECT_EQ(0, velka_->windows.last->owned) << "the popup deletes its client";
    EXPECT_NE(0, velka_->windows.first()->owned);

    HWND windows[] = {popup->handle, client->handle};
    destroy("pop");
    EXPECT_EQ(0, velka_->windows.count);
    EXPECT_FALSE(IsWindow(windows[0]));
    EXPECT_FALSE(IsWindow(windows[1]));
}


// A module's own viewport may carry the name of a popup's client. Destroying
// the popup takes out the client's own item and leaves the module's window
// alone, whichever was made first; made after the popup, the name finds the
// client itself (a registered name returns the registered window).
TEST_F(WindowMaker, DestroyingAPopupLeavesAModuleWindowOfItsClientsName)
{
    struct Case {
        const char* name;
        bool viewportFirst;
        int left;   // items left after destroying the popup
    };
    const Case cases[] = {{"viewport first", true, 1}, {"popup first", false, 0}};
    for (const Case& c : cases) {
        const KtWindowDescription viewportRecord =
            describe(KtWindowDescription::viewport, "AClient", KtRect(0, 0, 30, 20));
        KtWindow* own = c.viewportFirst ? request(viewportRecord) : nullptr;
        auto* popup = static_cast<KtPopupViewport*>(
            request(describe(KtWindowDescription::popupWithCaption, "A", KtRect(0, 0, 120, 90))));
        ASSERT_NE(nullptr, popup->client) << c.name;
        if (!own)
            own = request(viewportRecord);
        EXPECT_EQ(c.viewportFirst, own != popup->client) << c.name;
        const HWND ownWindow = own->handle, popupWindow = popup->handle, clientWindow = popup->client->handle;

        destroy("A");
        EXPECT_FALSE(IsWindow(popupWindow)) << c.name;
        EXPECT_FALSE(IsWindow(clientWindow)) << c.name;
        ASSERT_EQ(c.left, velka_->windows.count) << c.name;
        if (c.viewportFirst) {
            // Compared as pointers before anything reads the item's window.
            ASSERT_EQ(static_cast<KtWindowHandle*>(own), velka_->windows.first()->object) << c.name;
            EXPECT_TRUE(IsWindow(ownWindow)) << c.name;
            EXPECT_EQ(own, registered("AClient")) << c.name;
            destroy("AClient");
        }
        EXPECT_EQ(0, velka_->windows.count) << c.name;
        EXPECT_FALSE(IsWindow(ownWindow)) << c.name;
    }
}

}  // namespace

namespace {

// After the player asked to quit, the module may be unloaded at any moment:
// its record, slot and names are left alone, and every request is answered.
TEST_F(WindowMaker, AfterAQuitRequestTheModulesMemoryIsLeftAlone)
{
    KtWindow* kept = request(describe(KtWindowDescription::aviView, "kept", KtRect(0, 0, 20, 20)));
    velka_->quitRequest.signal();
    EXPECT_EQ(untouched, request(describe(KtWindowDescription::screenWindow, "late", KtRect())));
    destroy("kept");
    EXPECT_EQ(1, velka_->windows.count);
    EXPECT_TRUE(IsWindow(kept->handle));
    velka_->quitRequest.unsignal();
}

}  // namespace

namespace {

// The screen from its top-left corner to (w, h), as 32-bit pixels from the top.
std::vector<uint32_t> screenPixels(int w, int h)
{
    GdiFlush();
    WindowPixels shown(nullptr, w, h);
    std::vector<uint32_t> out(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[size_t(y) * w + x] = shown.at(x, y);
    return out;
}

// Show command 0 creates the window hidden and asks for no repaint: nothing
// of it reaches the screen, and a layer viewport's layer 0 stays off, so its
// surface is not composed. Any other command shows the first picture.
TEST_F(WindowMaker, ShowCommandZeroCreatesHiddenWithoutRepaintAndLayerZeroOff)
{
    ASSERT_EQ(32, GetDeviceCaps(GetDC(nullptr), BITSPIXEL)) << "pixel-exact only at depth 24";
    const POINT hostCorner = {102, 82};   // inside the host, outside every window made here
    int n = 0;
    for (int kind : {KtWindowDescription::viewport, KtWindowDescription::viewport24,
                     KtWindowDescription::layerViewport, KtWindowDescription::popupWithoutCaption,
                     KtWindowDescription::popupWithCaption}) {
        for (int showCmd : {0, SW_SHOWNOACTIVATE}) {
            SCOPED_TRACE(std::to_string(kind) + " shown with " + std::to_string(showCmd));
            std::string name = "hidden" + std::to_string(n++);
            KtWindowDescription record = describe(kind, name.c_str(), KtRect(10, 20, 110, 80));
            record.showCmd = showCmd;
            record.fillColor = 77;
            KtWindow* window = request(record);
            ASSERT_NE(untouched, window);
            ASSERT_NE(nullptr, window);
            EXPECT_EQ(showCmd != 0, IsWindowVisible(shownBy(window)) != FALSE);
            RECT place;
            GetWindowRect(window->handle, &place);
            // Where the window lies the host's own background shows, once
            // the host has repainted what the last case's window covered.
            auto onlyHostShows = [&] {
                UpdateWindow(host_.handle);
                const int screenW = place.right;
                const std::vector<uint32_t> now = screenPixels(place.right, place.bottom);
                const uint32_t ground = now[size_t(hostCorner.y) * screenW + hostCorner.x];
                int other = 0;
                for (int y = place.top; y < place.bottom; ++y)
                    for (int x = place.left; x < place.right; ++x)
                        other += now[size_t(y) * screenW + x] != ground;
                return other == 0;
            };
            if (showCmd == 0) {
                EXPECT_TRUE(MessagePump::until(onlyHostShows, 2000)) << "a hidden window painted on the screen";
            }
            if (kind == KtWindowDescription::layerViewport) {
                auto* layered = static_cast<KtLayerViewport*>(window);
                EXPECT_NE(nullptr, layered->layers[0].owner) << "layer 0 is defined either way";
                EXPECT_EQ(showCmd != 0 ? 1 : 0, layered->layers[0].visible);
                uint32_t corner;
                std::memcpy(&corner, layered->surface.pixelAddress(5, 5), 4);
                const uint32_t fill = rgbOf(layered->layers[0].surface.colours()[77]);
                EXPECT_EQ(showCmd != 0, (corner & 0x00FFFFFFu) == fill) << "composed only when shown";
            }
            if (showCmd != 0) {
                KtVSurface* surface = firstPictureOf(window);
                const uint32_t fill = surface ? rgbOf(surface->colours()[77]) : 0;
                WindowPixels shown(shownBy(window), 8, 8);
                if (surface) {
                    EXPECT_EQ(fill, shown.at(5, 5)) << "the first picture is on the screen";
                }
            }
            destroy(name.c_str());
        }
    }
}

// A popup that would hang over the screen's edge or the taskbar is moved
// back inside what is left of the screen once it has been made.
RECT testBar;
void testTaskbar(bool& autoHides, RECT& bar)
{
    autoHides = false;
    bar = testBar;
}

TEST_F(WindowMaker, APopupIsMovedClearOfTheScreenEdgeAndTheTaskbar)
{
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        const char* what;
        RECT bar;   // empty: the shell's own answer, a bar that hides itself here
        POINT cursor;
        POINT expected;
    };
    const Case cases[] = {
        {"past the bottom right", {0, 0, 0, 0}, {screenW - 60, screenH - 40},
         {screenW - 200, screenH - 100}},
        {"over a bottom bar", {0, screenH - 30, screenW, screenH}, {300, screenH - 120},
         {300, screenH - 30 - 100}},
        {"over a right bar", {screenW - 50, 0, screenW, screenH}, {screenW - 220, 200},
         {screenW - 50 - 200, 200}},
        {"inside: stays", {0, screenH - 30, screenW, screenH}, {300, 250}, {300, 250}},
    };
    KtWindowPlacement::TaskbarQuery shell = KtWindowPlacement::setTaskbarQuery(nullptr);
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testBar = c.bar;
        KtWindowPlacement::setTaskbarQuery(IsRectEmpty(&c.bar) ? shell : &testTaskbar);
        SetCursorPos(c.cursor.x, c.cursor.y);
        std::string name = "edge" + std::to_string(n++);
        KtWindow* popup = request(describe(KtWindowDescription::popupWithoutCaption, name.c_str(),
                                           KtRect(PopupArea::atMouse, PopupArea::atMouse,
                                                  PopupArea::atMouse + 200, PopupArea::atMouse + 100)));
        ASSERT_NE(untouched, popup);
        RECT r = placeOf(popup->handle);
        EXPECT_EQ(c.expected.x, r.left);
        EXPECT_EQ(c.expected.y, r.top);
        EXPECT_EQ(200, r.right - r.left);
        EXPECT_EQ(100, r.bottom - r.top);
        destroy(name.c_str());
    }
    KtWindowPlacement::setTaskbarQuery(shell);
}

}  // namespace
