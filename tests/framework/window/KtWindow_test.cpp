// KtWindow: slot positions and defaults, the shared window procedure, routing and lifetime.
#include "KtWindow.h"
#include "ImportedCode.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

static_assert(sizeof(KtWindowHandle) == 20);
static_assert(sizeof(KtWindow) == 56);

// Index in the compiled virtual table of a virtual member function: the
// Itanium ABI stores one plus the byte offset in the pointer-to-member.
template <class F>
int tableIndex(F member)
{
    ptrdiff_t raw;
    std::memcpy(&raw, &member, sizeof raw);
    return static_cast<int>((raw - 1) / sizeof(void*));
}

// Slot n >= 1 is entry n + 1: the destructor takes two entries.
#define EXPECT_SLOT(n, fn) EXPECT_EQ((n) + 1, tableIndex(&KtWindow::fn)) << #fn " is not slot " #n

TEST(KtWindowLayout, EveryNamedOperationSitsInItsSlot)
{
    EXPECT_SLOT(1, windowType); EXPECT_SLOT(2, resize); EXPECT_SLOT(3, redraw);
    EXPECT_SLOT(4, redrawRect); EXPECT_SLOT(5, update); EXPECT_SLOT(6, invalidate);
    EXPECT_SLOT(7, invalidateRect); EXPECT_SLOT(8, createWithClass); EXPECT_SLOT(9, create);
    EXPECT_SLOT(10, setCursor); EXPECT_SLOT(11, loadCursor); EXPECT_SLOT(12, windowProc);
    EXPECT_SLOT(13, classStyle); EXPECT_SLOT(14, classExtraBytes); EXPECT_SLOT(15, windowExtraBytes);
    EXPECT_SLOT(16, classIcon); EXPECT_SLOT(17, classCursor); EXPECT_SLOT(18, classBackground);
    EXPECT_SLOT(19, classMenuName); EXPECT_SLOT(20, className); EXPECT_SLOT(21, exStyle);
    EXPECT_SLOT(22, windowName); EXPECT_SLOT(23, style); EXPECT_SLOT(24, initialX);
    EXPECT_SLOT(25, initialY); EXPECT_SLOT(26, initialWidth); EXPECT_SLOT(27, initialHeight);
    EXPECT_SLOT(28, parentHandle); EXPECT_SLOT(29, menuHandle); EXPECT_SLOT(30, loadMenu);
    EXPECT_SLOT(31, showCommand); EXPECT_SLOT(32, onClose); EXPECT_SLOT(33, onCreated);
    EXPECT_SLOT(34, onMessage); EXPECT_SLOT(35, onPaint); EXPECT_SLOT(36, onUserMessage);
    EXPECT_SLOT(37, onDestroy); EXPECT_SLOT(38, onCreate); EXPECT_SLOT(39, onTimer);
    EXPECT_SLOT(40, onQueryEndSession); EXPECT_SLOT(41, onEndSession); EXPECT_SLOT(42, onCommand);
    EXPECT_SLOT(43, onNotify); EXPECT_SLOT(44, onSysCommand); EXPECT_SLOT(45, onDisplayChange);
    EXPECT_SLOT(46, onLButtonDblClk); EXPECT_SLOT(47, onLButtonDown); EXPECT_SLOT(48, onLButtonUp);
    EXPECT_SLOT(49, onRButtonDblClk); EXPECT_SLOT(50, onRButtonDown); EXPECT_SLOT(51, onRButtonUp);
    EXPECT_SLOT(52, onMButtonDown); EXPECT_SLOT(53, onMButtonUp); EXPECT_SLOT(54, onMouseMove);
    EXPECT_SLOT(55, onDropFiles); EXPECT_SLOT(56, onSetCursor); EXPECT_SLOT(57, onChar);
    EXPECT_SLOT(58, onKeyDown); EXPECT_SLOT(59, onKeyUp); EXPECT_SLOT(60, onSysChar);
    EXPECT_SLOT(61, onSysKeyDown); EXPECT_SLOT(62, onSysKeyUp); EXPECT_SLOT(63, onQueryOpen);
    EXPECT_SLOT(64, onSize); EXPECT_SLOT(65, onGetMinMaxInfo); EXPECT_SLOT(66, onMove);
    EXPECT_SLOT(67, onWindowPosChanged); EXPECT_SLOT(68, onWindowPosChanging);
    EXPECT_SLOT(69, onInitMenuPopup); EXPECT_SLOT(70, onContextMenu); EXPECT_SLOT(71, onActivateApp);
    EXPECT_SLOT(72, onActivate); EXPECT_SLOT(73, onSetFocus); EXPECT_SLOT(74, onKillFocus);
    EXPECT_SLOT(75, onHScroll); EXPECT_SLOT(76, onVScroll); EXPECT_SLOT(77, onPaletteChanged);
    EXPECT_SLOT(78, onQueryNewPalette); EXPECT_SLOT(79, onSysColorChange); EXPECT_SLOT(80, onNcActivate);
    EXPECT_SLOT(81, onImeChar); EXPECT_SLOT(82, onCopyData); EXPECT_SLOT(83, onMciNotify);
    EXPECT_SLOT(84, onEraseBkgnd);
}

// What a scenario module does: call a slot through the raw table.
TEST(KtWindowLayout, ModuleStyleCallsThroughTheTableReachTheOverride)
{
    struct Typed : KtWindow {
        Typed() : KtWindow(nullptr) {}
        int windowType() override { return 77; }
    } typed;
    KtWindow plain(nullptr);
    using TypeFn = int(__thiscall*)(KtWindow*);
    using NameFn = const char*(__thiscall*)(KtWindow*);
    auto table = [](KtWindow* w) { return *reinterpret_cast<void***>(w); };
    EXPECT_EQ(2, reinterpret_cast<TypeFn>(table(&plain)[1 + 1])(&plain));
    EXPECT_EQ(77, reinterpret_cast<TypeFn>(table(&typed)[1 + 1])(&typed));
    EXPECT_STREQ("KtWindow", reinterpret_cast<NameFn>(table(&plain)[20 + 1])(&plain));
}

TEST(KtWindowDefaults, ParametersOfANewObject)
{
    HWND parentWindow = reinterpret_cast<HWND>(0x1234);
    KtWindow w(parentWindow, KtString("named"));
    EXPECT_EQ(nullptr, w.handle);
    EXPECT_STREQ("named", w.name.text());
    EXPECT_EQ(parentWindow, w.parent.handle);
    EXPECT_STREQ("", w.parent.name.text());
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), w.cursor.handle());
    EXPECT_EQ(0, w.runtimeFlag);
    EXPECT_EQ(1, w.parent.windowType());

    EXPECT_EQ(2, w.windowType());
    EXPECT_EQ(3u, w.classStyle());
    EXPECT_EQ(0, w.classExtraBytes());
    EXPECT_EQ(4, w.windowExtraBytes());
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), w.classIcon());
    EXPECT_EQ(nullptr, w.classCursor());
    EXPECT_EQ(reinterpret_cast<HBRUSH>(6), w.classBackground());
    EXPECT_EQ(nullptr, w.classMenuName());
    EXPECT_STREQ("KtWindow", w.className());
    EXPECT_EQ(0u, w.exStyle());
    EXPECT_STREQ("KtWindow", w.windowName());
    EXPECT_EQ(0x00CF0000u, w.style());
    EXPECT_EQ(static_cast<int>(0x80000000), w.initialX());
    EXPECT_EQ(static_cast<int>(0x80000000), w.initialHeight());
    EXPECT_EQ(parentWindow, w.parentHandle());
    EXPECT_EQ(nullptr, w.menuHandle());
    EXPECT_EQ(nullptr, w.loadMenu(""));
    EXPECT_EQ(1, w.showCommand());
    EXPECT_EQ(TRUE, w.onClose());
    EXPECT_EQ(0, w.onMciNotify(1, 2));

    KtWindow unnamed(nullptr);
    EXPECT_STREQ("", unnamed.name.text());
    EXPECT_GE(unnamed.name.capacity(), 1);
}

TEST(KtWindowDefaults, OperationsWithoutAWindowDoNothing)
{
    KtWindow w(nullptr);
    EXPECT_EQ(0, w.resize(100, 100, TRUE));
    w.update();
    w.invalidateRect(nullptr, TRUE);
    w.redraw(0, 0, 10, 10, TRUE);
    EXPECT_EQ(nullptr, w.handle);
}

// Records what reaches the handlers, and can refuse to close.
class Probe : public KtWindow {
public:
    explicit Probe(const char* cls = "KtWindowProbe") : KtWindow(nullptr), cls_(cls) {}
    const char* className() override { return cls_; }
    int initialWidth() override { return 200; }
    int initialHeight() override { return 150; }
    int initialX() override { return 10; }
    int initialY() override { return 10; }

    int createWithClass(const char* c) override { ++withClassCalls; return KtWindow::createWithClass(c); }
    LRESULT onCreate(HWND window, CREATESTRUCTA* cs) override
    {
        createdWindow = window;
        createParam = cs->lpCreateParams;
        handleDuringCreate = handle;
        return 0;
    }
    void onCreated() override { visibleWhenCreated = IsWindowVisible(handle); }
    LRESULT onUserMessage(UINT msg, WPARAM, LPARAM) override { userMessages.push_back(msg); return 7; }
    LRESULT onMessage(UINT msg, WPARAM w, LPARAM l) override
    {
        if (msg == 1023 || msg == 32768)
            otherMessages.push_back(msg);
        return KtWindow::onMessage(msg, w, l);
    }
    void onPaint(PAINTSTRUCT* ps) override { ++paints; lastPaint = ps->rcPaint; }
    BOOL onClose() override { return mayClose; }
    LRESULT onDestroy() override { destroyedWith = handle; return KtWindow::onDestroy(); }

    const char* cls_;
    int withClassCalls = 0;
    HWND createdWindow = nullptr;
    void* createParam = nullptr;
    HWND handleDuringCreate = nullptr;
    BOOL visibleWhenCreated = FALSE;
    std::vector<UINT> userMessages, otherMessages;
    int paints = 0;
    RECT lastPaint{};
    BOOL mayClose = TRUE;
    HWND destroyedWith = nullptr;
};

TEST(KtWindowCreate, WmCreateHandsTheObjectAndTheWindowOver)
{
    Probe w;
    ASSERT_EQ(1, w.create());
    ASSERT_TRUE(IsWindow(w.handle));
    EXPECT_EQ(w.handle, w.createdWindow);
    EXPECT_EQ(&w, w.createParam);
    EXPECT_EQ(w.handle, w.handleDuringCreate);
    EXPECT_EQ(&w, KtWindow::fromHandle(w.handle));
    EXPECT_TRUE(w.visibleWhenCreated);

    HWND first = w.handle;
    EXPECT_EQ(0, w.create()) << "a second create on a live window";
    EXPECT_EQ(0, w.createWithClass("KtWindowProbe"));
    EXPECT_EQ(first, w.handle);
}

TEST(KtWindowCreate, SecondWindowOfAClassUsesTheRegisteredClass)
{
    WNDCLASSA existing;
    ASSERT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "KtWindowTwice", &existing));
    Probe a("KtWindowTwice"), b("KtWindowTwice");
    ASSERT_EQ(1, a.create());
    EXPECT_EQ(0, a.withClassCalls);
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "KtWindowTwice", &existing));
    EXPECT_EQ(importedCode(&KtWindow::staticWindowProc),
              reinterpret_cast<const void*>(existing.lpfnWndProc));
    EXPECT_EQ(4, existing.cbWndExtra);
    ASSERT_EQ(1, b.create());
    EXPECT_EQ(1, b.withClassCalls);
    EXPECT_NE(a.handle, b.handle);
}

TEST(KtWindowCreate, ParametersAreAskedLastArgumentFirst)
{
    struct Order : KtWindow {
        Order() : KtWindow(nullptr) {}
        std::string seen;
        const char* className() override { return "KtWindowOrder"; }
        HMENU menuHandle() override { seen += "29 "; return nullptr; }
        HWND parentHandle() override { seen += "28 "; return nullptr; }
        int initialHeight() override { seen += "27 "; return 50; }
        int initialWidth() override { seen += "26 "; return 50; }
        int initialY() override { seen += "25 "; return 0; }
        int initialX() override { seen += "24 "; return 0; }
        DWORD style() override { seen += "23 "; return WS_POPUP; }
        const char* windowName() override { seen += "22 "; return "order"; }
        DWORD exStyle() override { seen += "21"; return 0; }
    } w;
    ASSERT_EQ(1, w.create());
    EXPECT_EQ("29 28 27 26 25 24 23 22 21", w.seen);
}

class LiveProbe : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, w.create()); }
    Probe w;
};

TEST_F(LiveProbe, UserRangeIsInclusiveAtBothEnds)
{
    EXPECT_EQ(7, SendMessageA(w.handle, 1024, 0, 0));
    EXPECT_EQ(7, SendMessageA(w.handle, 32767, 0, 0));
    SendMessageA(w.handle, 1023, 0, 0);
    SendMessageA(w.handle, 32768, 0, 0);
    EXPECT_EQ((std::vector<UINT>{1024, 32767}), w.userMessages);
    EXPECT_EQ((std::vector<UINT>{1023, 32768}), w.otherMessages);
}

TEST_F(LiveProbe, PaintOnlyWithAnUpdateRegion)
{
    ValidateRect(w.handle, nullptr);
    w.paints = 0;
    EXPECT_EQ(0, SendMessageA(w.handle, WM_PAINT, 0, 0));
    EXPECT_EQ(0, w.paints);

    // Negative sizes give the same area as the corners swapped.
    w.invalidate(50, 40, -30, -20, FALSE);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(w.handle, &pending, FALSE));
    EXPECT_EQ(20, pending.left);
    EXPECT_EQ(20, pending.top);
    EXPECT_EQ(50, pending.right);
    EXPECT_EQ(40, pending.bottom);
    w.update();
    EXPECT_EQ(1, w.paints);
    EXPECT_FALSE(GetUpdateRect(w.handle, nullptr, FALSE)) << "EndPaint was not called";

    w.redraw(5, 5, 10, 10, FALSE);
    EXPECT_EQ(2, w.paints);
    EXPECT_EQ(5, w.lastPaint.left);
}

TEST_F(LiveProbe, RefusedCloseKeepsTheWindow)
{
    w.mayClose = FALSE;
    EXPECT_EQ(0, SendMessageA(w.handle, WM_CLOSE, 0, 0));
    EXPECT_TRUE(IsWindow(w.handle));
    w.mayClose = TRUE;
}

TEST_F(LiveProbe, DestroyClearsTheHandlesAndLaterOperationsDoNothing)
{
    HWND window = w.handle;
    w.parent.handle = GetDesktopWindow();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(window, w.destroyedWith);
    EXPECT_EQ(nullptr, w.handle);
    EXPECT_EQ(nullptr, w.parent.handle);
    EXPECT_EQ(0, w.resize(10, 10, TRUE));
    w.update();
    w.invalidateRect(nullptr, TRUE);
    EXPECT_EQ(1, w.create()) << "the object can make a new window";
}

TEST_F(LiveProbe, ResizeKeepsThePositionOfTopLevelAndChildWindows)
{
    RECT before, after;
    GetWindowRect(w.handle, &before);
    EXPECT_TRUE(w.resize(220, 120, TRUE));
    GetWindowRect(w.handle, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(220, after.right - after.left);
    EXPECT_EQ(120, after.bottom - after.top);

    struct Child : KtWindow {
        explicit Child(HWND p) : KtWindow(p) {}
        const char* className() override { return "KtWindowChild"; }
        DWORD style() override { return WS_CHILD | WS_VISIBLE; }
        int initialX() override { return 10; }
        int initialY() override { return 20; }
        int initialWidth() override { return 30; }
        int initialHeight() override { return 40; }
    } child(w.handle);
    ASSERT_EQ(1, child.create());
    EXPECT_TRUE(child.resize(60, 70, TRUE));
    RECT placed;
    GetWindowRect(child.handle, &placed);
    MapWindowPoints(nullptr, w.handle, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(20, placed.top);
    EXPECT_EQ(60, placed.right - placed.left);
    EXPECT_EQ(70, placed.bottom - placed.top);
}

TEST_F(LiveProbe, ClientCursorIsSetOnlyOverTheClientArea)
{
    KtCursor hand;
    hand.load(32513);
    EXPECT_EQ(&hand, &w.setCursor(hand));
    EXPECT_EQ(hand.handle(), w.cursor.handle());
    EXPECT_FALSE(w.cursor.owned());

    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(0, SendMessageA(w.handle, WM_SETCURSOR, (WPARAM)w.handle, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hand.handle(), GetCursor());
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(w.handle, WM_SETCURSOR, (WPARAM)w.handle, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_NE(hand.handle(), GetCursor());

    w.loadCursor(MAKEINTRESOURCEA(32515));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_CROSS), w.cursor.handle());
}

TEST(KtWindowLifetime, DeletingTheObjectClosesItsWindowEvenIfCloseIsRefused)
{
    auto* w = new Probe;
    ASSERT_EQ(1, w->create());
    HWND window = w->handle;
    w->mayClose = FALSE;
    delete w;
    EXPECT_FALSE(IsWindow(window));
}

TEST(KtWindowLifetime, WindowWithoutAnObjectIsServedByTheDefault)
{
    // Before WM_CREATE the window holds no object; the shared procedure must
    // answer like DefWindowProcA (WM_NCCREATE must succeed or creation fails).
    WNDCLASSA wc{};
    wc.lpfnWndProc = &KtWindow::staticWindowProc;
    wc.cbWndExtra = 4;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KtWindowBare";
    ASSERT_TRUE(RegisterClassA(&wc));
    // No object as creation parameter: the window still comes up.
    HWND bare = CreateWindowExA(0, "KtWindowBare", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(nullptr, KtWindow::fromHandle(bare));
    DestroyWindow(bare);
}

} // namespace
