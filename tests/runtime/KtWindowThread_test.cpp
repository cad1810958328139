// The window thread: input collection in both modes, moves of movable windows, popup menus, requests and failures.
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtPopupMenuRequest.h"
#include "KtVelka.h"
#include "KtWindowDescription.h"
#include "KtWindow.h"
#include "KtWindowRequests.h"
#include "KtWindowThread.h"
#include "MessageBoxRecorder.h"
#include "resource.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Bounded poll for a state another thread changes.
bool waitUntil(const std::function<bool()>& done, DWORD milliseconds = 5000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= milliseconds)
            return false;
        Sleep(5);
    }
    return true;
}

struct Seen {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A real window on the window thread that logs the input it is given.
class ProbeWindow : public KtWindow {
public:
    ProbeWindow(HWND parentWindow, const RECT& area, int type, bool child)
        : KtWindow(parentWindow), area_(area), type_(type), child_(child)
    {
    }
    int windowType() override { return type_; }
    const char* className() override { return "KtWindowThreadProbe"; }
    DWORD style() override { return (child_ ? WS_CHILD : WS_POPUP) | WS_VISIBLE; }
    int initialX() override { return area_.left; }
    int initialY() override { return area_.top; }
    int initialWidth() override { return area_.right - area_.left; }
    int initialHeight() override { return area_.bottom - area_.top; }
    int showCommand() override { return SW_SHOWNOACTIVATE; }
    // A handler that fails the way a scenario's drawing might.
    static constexpr UINT failMessage = WM_USER + 77;

    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == failMessage)
            throw CannotReadException("cannot read", "paint.dat");
        if (msg == WM_MOUSEMOVE)
            lastMove_ = lParam;
        if (msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_RBUTTONDOWN) {
            std::lock_guard<std::mutex> guard(mutex_);
            seen_.push_back({msg, wParam, lParam});
        }
        return KtWindow::windowProc(msg, wParam, lParam);
    }
    LPARAM lastMove() const { return lastMove_; }
    std::vector<Seen> seen()
    {
        std::lock_guard<std::mutex> guard(mutex_);
        return seen_;
    }
    size_t count(UINT msg)
    {
        size_t n = 0;
        for (const Seen& s : seen())
            n += s.msg == msg;
        return n;
    }

private:
    RECT area_;
    int type_;
    bool child_;
    std::mutex mutex_;
    std::vector<Seen> seen_;
    volatile LPARAM lastMove_ = -1;
};

// What the test asks the window thread to make (through the creation seam).
struct ProbeRecord {
    RECT area;
    int movable;
    int type;
    HWND parent;   // null: a top-level popup
};

void makeProbe(KtVelka& velka, void* resultSlot, const void* record)
{
    const ProbeRecord& r = *static_cast<const ProbeRecord*>(record);
    ProbeWindow* window = new ProbeWindow(r.parent, r.area, r.type, r.parent != nullptr);
    window->create();
    window->runtimeFlag = r.movable;
    KtCriticalSection::Hold hold(velka.lock);
    velka.windows.insertLast(window, 1);
    *static_cast<ProbeWindow**>(resultSlot) = window;
}

void failToMake(KtVelka&, void*, const void*)
{
    throw NotEnoughMemoryException("KtVelka - winCreate", "メモリが足りません！");
}

// Stands in for the scenario host window: counts end-of-scenario messages.
class HostProbe : public KtWindow {
public:
    HostProbe() : KtWindow(nullptr) {}
    const char* className() override { return "KtWindowThreadTestHost"; }
    DWORD style() override { return WS_POPUP; }
    int showCommand() override { return SW_HIDE; }
    LRESULT onUserMessage(UINT msg, WPARAM, LPARAM) override
    {
        if (msg == KtMessage::scenarioEnded)
            ++endMessages;
        return 0;
    }
    int endMessages = 0;
};

void sendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

class WindowThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        KtWindowRequests::install(&makeProbe, nullptr);
        ASSERT_TRUE(host_.create());
        velka_.reset(new KtVelka(host_.handle));
    }
    void TearDown() override
    {
        velka_.reset();
        host_.onClose();
        KtWindowRequests::install(nullptr, nullptr);
    }

    bool post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return KtWindowThread::postWhenReady(velka_->windowThread, message, wParam, lParam);
    }

    ProbeWindow* makeWindow(RECT area, int movable, int type = 2, HWND parent = nullptr)
    {
        ProbeWindow* window = nullptr;
        ProbeRecord record{area, movable, type, parent};
        velka_->windowDone.unsignal();
        EXPECT_TRUE(post(KtMessage::createWindow, reinterpret_cast<WPARAM>(&window),
                         reinterpret_cast<LPARAM>(&record)));
        EXPECT_EQ(WAIT_OBJECT_0, velka_->windowDone.wait(5000));
        return window;
    }

    // What the module does to wait for one input.
    void startWait(int mode)
    {
        velka_->inputMode = mode;
        velka_->inputCode = -1;
        velka_->inputPosition = -1;
        velka_->inputDone.unsignal();
        ASSERT_TRUE(post(KtMessage::startInput));
        ASSERT_TRUE(waitUntil([&] { return velka_->waitingForInput == 1; }));
    }
    bool inputArrives(DWORD milliseconds = 5000)
    {
        return velka_->inputDone.wait(milliseconds) == WAIT_OBJECT_0;
    }
    // Posts a key and waits until the window has been given it.
    void pressKey(ProbeWindow* window, WPARAM key, LPARAM lParam)
    {
        size_t before = window->count(WM_KEYDOWN);
        PostMessageA(window->handle, WM_KEYDOWN, key, lParam);
        ASSERT_TRUE(waitUntil([&] { return window->count(WM_KEYDOWN) > before; }));
    }
    // Puts the mouse on a client position of window and waits until the
    // window has seen it there, so no late movement follows a press.
    void pointAt(ProbeWindow* window, int x, int y)
    {
        POINT at{x, y};
        ClientToScreen(window->handle, &at);
        SetCursorPos(at.x, at.y);
        sendMouse(MOUSEEVENTF_MOVE);
        ASSERT_TRUE(waitUntil([&] { return window->lastMove() == MAKELPARAM(x, y); }));
    }
    // A real click at a client position of window.
    void click(ProbeWindow* window, int x, int y, DWORD down, DWORD up)
    {
        pointAt(window, x, y);
        sendMouse(down);
        sendMouse(up);
    }

    HostProbe host_;
    std::unique_ptr<KtVelka> velka_;
};

constexpr LPARAM keyA = 0x001E0001;
constexpr LPARAM keySpace = 0x00390001;
constexpr LPARAM keyEscape = 0x00010001;
constexpr LPARAM keyReturn = 0x001C0001;

TEST_F(WindowThread, AnyKeyOrButtonEndsAWaitOutsideConfirmationMode)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 0);
    ASSERT_NE(nullptr, window);

    startWait(0);
    pressKey(window, 'A', keyA);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ('A', velka_->inputCode);
    EXPECT_EQ(keyA, velka_->inputPosition);
    EXPECT_EQ(0, velka_->waitingForInput);

    startWait(0);
    click(window, 30, 20, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(1, velka_->inputCode);
    EXPECT_EQ(MAKELPARAM(30, 20), velka_->inputPosition);

    startWait(5);
    click(window, 40, 25, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(2, velka_->inputCode);
    EXPECT_EQ(MAKELPARAM(40, 25), velka_->inputPosition);
    EXPECT_EQ(1u, window->count(WM_RBUTTONDOWN)) << "the click still reaches the window";
}

TEST_F(WindowThread, ConfirmationModeWaitsForConfirmOrCancelButKeepsOtherKeys)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 0);
    ASSERT_NE(nullptr, window);

    startWait(1);
    pressKey(window, 'A', keyA);
    ASSERT_FALSE(inputArrives(200)) << "A does not end a confirmation wait";
    EXPECT_EQ('A', velka_->inputCode);
    EXPECT_EQ(keyA, velka_->inputPosition);
    EXPECT_EQ(1, velka_->waitingForInput);
    pressKey(window, VK_SPACE, keySpace);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(0x0D, velka_->inputCode) << "space confirms";
    EXPECT_EQ(keySpace, velka_->inputPosition);

    struct Case {
        WPARAM key;
        LPARAM lParam;
        int code;
    };
    for (Case c : {Case{VK_RETURN, keyReturn, 0x0D}, Case{VK_ESCAPE, keyEscape, 0x1B}}) {
        startWait(1);
        pressKey(window, c.key, c.lParam);
        ASSERT_TRUE(inputArrives()) << c.key;
        EXPECT_EQ(c.code, velka_->inputCode) << c.key;
        EXPECT_EQ(c.lParam, velka_->inputPosition) << c.key;
    }

    startWait(1);
    click(window, 30, 20, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(0x0D, velka_->inputCode);
    EXPECT_EQ(0, velka_->inputPosition) << "a button carries no position in confirmation mode";

    startWait(1);
    click(window, 30, 20, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(0x1B, velka_->inputCode);
    EXPECT_EQ(0, velka_->inputPosition);
}

// The top-level window forwards its left clicks as 0x46F with the button's
// wParam (MK_LBUTTON, 1), which confirmation mode does not take.
TEST_F(WindowThread, ForwardedInputFollowsTheSameTable)
{
    startWait(1);
    ASSERT_TRUE(post(KtMessage::inputEvent, MK_LBUTTON, MAKELPARAM(5, 6)));
    ASSERT_FALSE(inputArrives(200));
    EXPECT_EQ(1, velka_->inputCode);
    ASSERT_TRUE(post(KtMessage::inputEvent, VK_RETURN, keyReturn));
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(0x0D, velka_->inputCode);

    startWait(0);
    ASSERT_TRUE(post(KtMessage::inputEvent, MK_LBUTTON, MAKELPARAM(5, 6)));
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(1, velka_->inputCode);
    EXPECT_EQ(MAKELPARAM(5, 6), velka_->inputPosition);
}

TEST_F(WindowThread, NothingIsCollectedWithoutAWaitAndInputIsDroppedWhileUnloading)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 0);
    ASSERT_NE(nullptr, window);
    velka_->inputCode = -1;
    velka_->inputDone.unsignal();
    pressKey(window, 'A', keyA);
    ASSERT_TRUE(post(KtMessage::inputEvent, 'B', keyA));
    EXPECT_FALSE(inputArrives(200));
    EXPECT_EQ(-1, velka_->inputCode) << "no wait: the key is only dispatched";

    startWait(0);
    // The pointer is put in place first: once unloading, the window sees no
    // movement either, and the test must not rely on where earlier tests
    // left the mouse.
    pointAt(window, 30, 20);
    velka_->unloading = 1;
    PostMessageA(window->handle, WM_KEYDOWN, 'C', keyA);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(inputArrives(300));
    EXPECT_EQ(1u, window->count(WM_KEYDOWN)) << "only the key from before";
    EXPECT_EQ(0u, window->count(WM_LBUTTONDOWN));
    velka_->unloading = 0;
    pressKey(window, 'D', keyA);
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ('D', velka_->inputCode);
}

// A click on a movable window is held back until the release: the window
// gets the press right before the release.
TEST_F(WindowThread, AQuickClickOnAMovableWindowIsDeliveredWhole)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 1);
    ASSERT_NE(nullptr, window);
    RECT before;
    GetWindowRect(window->handle, &before);

    startWait(0);
    PostMessageA(window->handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    PostMessageA(window->handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(52, 38));   // 2 pixels: still a click
    Sleep(100);   // well inside the hold time
    EXPECT_EQ(0u, window->count(WM_LBUTTONDOWN)) << "the press is held back";
    PostMessageA(window->handle, WM_LBUTTONUP, 0, MAKELPARAM(52, 38));
    ASSERT_TRUE(inputArrives());
    EXPECT_EQ(1, velka_->inputCode);
    EXPECT_EQ(MAKELPARAM(52, 38), velka_->inputPosition) << "the release's position";

    ASSERT_TRUE(waitUntil([&] { return window->count(WM_LBUTTONUP) == 1; }));
    std::vector<Seen> seen = window->seen();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), seen[0].msg);
    EXPECT_EQ(static_cast<WPARAM>(MK_LBUTTON), seen[0].wParam);
    EXPECT_EQ(MAKELPARAM(52, 38), seen[0].lParam);
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONUP), seen[1].msg);
    Sleep(500);   // past the hold time: the stopped timer must not start a move
    EXPECT_EQ(0, velka_->dragging);
    RECT after;
    GetWindowRect(window->handle, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
}

TEST_F(WindowThread, ThreePixelsOfMovementStartTheMoveAtOnce)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 1);
    ASSERT_NE(nullptr, window);
    PostMessageA(window->handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    DWORD pressed = GetTickCount();
    PostMessageA(window->handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 43));
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 1; }));
    EXPECT_LT(GetTickCount() - pressed, 350u) << "started by the movement, not the hold timer";
    // The system's move loop ends with the release.
    PostMessageA(window->handle, WM_LBUTTONUP, 0, MAKELPARAM(50, 43));
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 0; }));
    EXPECT_EQ(0u, window->count(WM_LBUTTONDOWN)) << "a move is no click";
}

// Real input: press and hold without moving, then drag the window along.
TEST_F(WindowThread, HoldingThePressStartsTheMoveAndTheWindowFollowsTheMouse)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 1);
    ASSERT_NE(nullptr, window);
    pointAt(window, 50, 40);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    DWORD pressed = GetTickCount();
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 1; }));
    EXPECT_GE(GetTickCount() - pressed, 350u) << "the hold time is 400 ms";
    SetCursorPos(190, 170);
    sendMouse(MOUSEEVENTF_MOVE);
    sendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 0; }));
    RECT after;
    GetWindowRect(window->handle, &after);
    EXPECT_EQ(140, after.left);
    EXPECT_EQ(130, after.top);
}

// A registered child without the flag is moved with its movable parent; a
// popup viewport that is not movable stops the search.
TEST_F(WindowThread, TheMovableWindowIsFoundThroughRegisteredParents)
{
    ProbeWindow* movable = makeWindow({100, 100, 300, 250}, 1);
    ASSERT_NE(nullptr, movable);
    ProbeWindow* child = makeWindow({10, 10, 60, 60}, 0, 2, movable->handle);
    ProbeWindow* popup = makeWindow({400, 100, 600, 250}, 0, 6);
    ASSERT_NE(nullptr, popup);
    ProbeWindow* inPopup = makeWindow({10, 10, 60, 60}, 0, 2, popup->handle);
    ASSERT_NE(nullptr, child);
    ASSERT_NE(nullptr, inPopup);

    PostMessageA(inPopup->handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(waitUntil([&] { return inPopup->count(WM_LBUTTONDOWN) == 1; }))
        << "not held back inside an unmovable popup viewport";

    PostMessageA(child->handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 1; }))
        << "held on the child, the movable parent moves";
    EXPECT_EQ(0u, child->count(WM_LBUTTONDOWN));
    PostMessageA(movable->handle, WM_LBUTTONUP, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return velka_->dragging == 0; }));
}

// A modal loop on the window thread takes the module's requests off the
// queue; they must be served once it returns. One case per loop the thread
// runs: the window move and a popup menu.
TEST_F(WindowThread, RequestsPostedDuringAModalLoopAreServedAfterIt)
{
    struct Loop {
        const char* name;
        std::function<bool()> enter;   // true once the loop runs
        std::function<void()> leave;
    };
    ProbeWindow* window = nullptr;
    int chosen = -1;
    KtPopupMenuRequest menuRequest{0, &chosen, IDR_GAME_MENU, host_.handle, 200, 200};
    auto menuShown = [] {
        HWND menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    };
    const Loop loops[] = {
        {"window move",
         [&] {
             PostMessageA(window->handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
             PostMessageA(window->handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 44));
             return waitUntil([&] { return velka_->dragging == 1; });
         },
         [&] {
             PostMessageA(window->handle, WM_LBUTTONUP, 0, MAKELPARAM(50, 44));
             EXPECT_TRUE(waitUntil([&] { return velka_->dragging == 0; }));
         }},
        {"popup menu",
         [&] {
             velka_->menuDone.unsignal();
             return post(KtMessage::popupMenu, reinterpret_cast<WPARAM>(&menuRequest))
                    && waitUntil(menuShown);
         },
         [&] {
             PostMessageA(FindWindowA("#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
             EXPECT_EQ(WAIT_OBJECT_0, velka_->menuDone.wait(5000));
         }},
    };
    for (const Loop& loop : loops) {
        SCOPED_TRACE(loop.name);
        window = makeWindow({100, 100, 300, 250}, 1);
        ASSERT_NE(nullptr, window);
        ASSERT_TRUE(loop.enter());

        // What a module does meanwhile: start a wait, ask for a window.
        velka_->inputMode = 0;
        velka_->inputDone.unsignal();
        ASSERT_TRUE(post(KtMessage::startInput));
        ProbeWindow* made = nullptr;
        ProbeRecord record{{400, 100, 500, 200}, 0, 2, nullptr};
        velka_->windowDone.unsignal();
        ASSERT_TRUE(post(KtMessage::createWindow, reinterpret_cast<WPARAM>(&made),
                         reinterpret_cast<LPARAM>(&record)));
        Sleep(100);
        loop.leave();

        EXPECT_EQ(WAIT_OBJECT_0, velka_->windowDone.wait(5000)) << "the window request is answered";
        EXPECT_NE(nullptr, made);
        ASSERT_TRUE(waitUntil([&] { return velka_->waitingForInput == 1; }))
            << "the wait was started";
        pressKey(window, 'K', keyA);
        ASSERT_TRUE(inputArrives()) << "and is answered";
        EXPECT_EQ('K', velka_->inputCode);
    }
}

class PopupMenu : public WindowThread {
protected:
    // Posts the request the way a module does and answers the menu with keys.
    int choose(int x, int y, std::initializer_list<WPARAM> keys, RECT* shownAt = nullptr, int id = IDR_GAME_MENU)
    {
        int result = -1;
        KtPopupMenuRequest request{0, &result, id, host_.handle, x, y};
        velka_->menuDone.unsignal();
        EXPECT_TRUE(post(KtMessage::popupMenu, reinterpret_cast<WPARAM>(&request)));
        HWND menu = nullptr;
        if (keys.size() > 0) {
            EXPECT_TRUE(waitUntil([&] {
                menu = FindWindowA("#32768", nullptr);
                return menu && IsWindowVisible(menu);
            }));
            if (shownAt && menu)
                GetWindowRect(menu, shownAt);
            for (WPARAM key : keys) {
                PostMessageA(menu, WM_KEYDOWN, key, 0);
                PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
            }
        }
        EXPECT_EQ(WAIT_OBJECT_0, velka_->menuDone.wait(5000));
        return result;
    }
};

TEST_F(PopupMenu, TheChosenCommandComesBackThroughMenuDone)
{
    EXPECT_EQ(IDM_GAME_CONTINUE, choose(200, 200, {VK_DOWN, VK_RETURN}));
    EXPECT_EQ(IDM_GAME_END, choose(200, 200, {VK_DOWN, VK_DOWN, VK_RETURN})) << "the separator is skipped";
    EXPECT_EQ(0, choose(200, 200, {VK_ESCAPE})) << "dismissed";
    EXPECT_EQ(0, choose(200, 200, {}, nullptr, 999)) << "no such menu";
}

TEST_F(PopupMenu, MinusOneForBothOpensAtTheCursorOtherwiseTheValuesAreTaken)
{
    SetCursorPos(300, 220);
    RECT shown{};
    EXPECT_EQ(0, choose(-1, -1, {VK_ESCAPE}, &shown));
    EXPECT_EQ(300, shown.left);
    EXPECT_EQ(220, shown.top);

    EXPECT_EQ(0, choose(-1, 150, {VK_ESCAPE}, &shown));
    EXPECT_EQ(150, shown.top) << "y taken literally";
    EXPECT_NE(300, shown.left) << "x taken literally, not the cursor";
}

TEST_F(WindowThread, WindowRequestsAreAnsweredAndTheRegistryIsEmptiedOnRequest)
{
    KtWindowRequests::install(nullptr, nullptr);
    KtWindowDescription record;
    record.kind = 0;   // no such kind: nothing is made, the answer still comes
    void* slot = nullptr;
    velka_->windowDone.unsignal();
    ASSERT_TRUE(post(KtMessage::createWindow, reinterpret_cast<WPARAM>(&slot), reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->windowDone.wait(5000));
    velka_->windowDone.unsignal();
    ASSERT_TRUE(post(KtMessage::destroyWindow, reinterpret_cast<WPARAM>("none")));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->windowDone.wait(5000));

    KtWindowRequests::install(&makeProbe, nullptr);
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 0);
    ASSERT_NE(nullptr, window);
    HWND handle = window->handle;
    ASSERT_TRUE(post(KtMessage::destroyAllWindows));
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(handle); }));
    EXPECT_EQ(0, velka_->windows.count);
}

TEST_F(WindowThread, RestoreFocusGivesTheFocusBackToTheFocusWindow)
{
    ProbeWindow* first = makeWindow({100, 100, 300, 250}, 0);
    ProbeWindow* second = makeWindow({400, 100, 600, 250}, 0);
    ASSERT_NE(nullptr, second);
    auto focused = [&] {
        GUITHREADINFO info = {sizeof info};
        GetGUIThreadInfo(velka_->windowThread.threadId, &info);
        return info.hwndFocus;
    };
    velka_->focusWindow = first;
    PostMessageA(second->handle, WM_USER, 0, 0);   // nothing: the thread is merely busy
    ASSERT_TRUE(post(KtMessage::restoreFocus));
    EXPECT_TRUE(waitUntil([&] { return focused() == first->handle; }));
    velka_->focusWindow = nullptr;
}

// Nothing catches a diagnostic on the window thread: it is shown, the
// module's wait is released and its chain ends after the current step, and
// the thread stays alive to serve the shutdown.
TEST_F(WindowThread, ADiagnosticOnTheWindowThreadIsShownAndEndsTheScenario)
{
    MessageBoxRecorder boxes;
    KtWindowRequests::install(&failToMake, nullptr);
    ASSERT_NE(0, velka_->load("window_request.dll"));
    ASSERT_NE(0, velka_->start("hege"));
    DWORD until = GetTickCount() + 10000;
    while (host_.endMessages == 0 && static_cast<int>(until - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    ASSERT_EQ(1, host_.endMessages);
    ASSERT_EQ(WAIT_OBJECT_0, velka_->scenarioThread.wait(5000));
    EXPECT_EQ(1, velka_->inputCode) << "the wait ended, the next step was not run";
    EXPECT_EQ(WAIT_OBJECT_0, velka_->quitRequest.wait(0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(host_.handle, boxes.last().owner);
    EXPECT_EQ("メモリが足りません！", boxes.last().text);
    EXPECT_EQ("KtVelka - winCreate", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);

    EXPECT_TRUE(velka_->windowThread.isRunning());
    KtWindowRequests::install(&makeProbe, nullptr);
    EXPECT_NE(nullptr, makeWindow({100, 100, 300, 250}, 0)) << "the thread still serves requests";
}

// A diagnostic let out by the window procedure of a scenario window cannot
// unwind through the system's frames: it is caught there, shown, and the
// scenario ends as after any diagnostic on this thread.
TEST_F(WindowThread, ADiagnosticInAScenarioWindowProcedureEndsTheScenarioInOrder)
{
    ProbeWindow* window = makeWindow({100, 100, 300, 250}, 0);
    ASSERT_NE(nullptr, window);
    MessageBoxRecorder boxes;
    ASSERT_NE(0, velka_->load("chain_three.dll"));
    ASSERT_NE(0, velka_->start("waitForQuit"));
    EXPECT_EQ(0, SendMessageA(window->handle, ProbeWindow::failMessage, 0, 0));
    ASSERT_EQ(WAIT_OBJECT_0, velka_->quitRequest.wait(5000));
    ASSERT_EQ(WAIT_OBJECT_0, velka_->scenarioThread.wait(5000));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(host_.handle, boxes.last().owner);
    EXPECT_EQ("paint.dat", boxes.last().text);
    EXPECT_EQ("cannot read", boxes.last().caption);
    // The chain's end takes the scenario's windows with it before the module
    // is freed; the window thread itself lives on.
    EXPECT_FALSE(IsWindow(window->handle)) << "a scenario window outlived the module";
    EXPECT_TRUE(velka_->windowThread.isRunning());
}

// Closing the game while its menu is open: the menu's loop drops the stop
// message, so stopping the thread must end the menu first.
TEST_F(PopupMenu, StoppingTheThreadEndsAnOpenMenu)
{
    int result = -1;
    KtPopupMenuRequest request{0, &result, IDR_GAME_MENU, host_.handle, 200, 200};
    velka_->menuDone.unsignal();
    ASSERT_TRUE(post(KtMessage::popupMenu, reinterpret_cast<WPARAM>(&request)));
    ASSERT_TRUE(waitUntil([&] {
        HWND menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }));
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), velka_->windowThread.handle, GetCurrentProcess(), &thread,
                    SYNCHRONIZE, FALSE, 0);
    DWORD started = GetTickCount();
    velka_.reset();
    EXPECT_LT(GetTickCount() - started, 5000u);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    EXPECT_EQ(0, result) << "the cancelled menu chose nothing";
    CloseHandle(thread);
}

// After a quit request the module may have left its wait, or been unloaded:
// the menu's answer is not written into its memory any more.
TEST_F(PopupMenu, AnAnswerAfterAQuitRequestIsNotWritten)
{
    int result = -1;
    KtPopupMenuRequest request{0, &result, IDR_GAME_MENU, host_.handle, 200, 200};
    velka_->menuDone.unsignal();
    ASSERT_TRUE(post(KtMessage::popupMenu, reinterpret_cast<WPARAM>(&request)));
    HWND menu = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }));
    velka_->quitRequest.signal();
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(WAIT_OBJECT_0, velka_->menuDone.wait(5000)) << "the wait is still answered";
    EXPECT_EQ(-1, result);
}

// The module asks for a menu with a record in its own static memory and
// ends its chain when the player quits, without waiting for the answer. The
// module is really freed while the menu is still open; the answer that comes
// afterwards must not touch its memory.
TEST_F(PopupMenu, AMenuAnsweredAfterTheModuleIsFreedLeavesItsMemoryAlone)
{
    ASSERT_NE(0, velka_->load("module_memory.dll"));
    ASSERT_NE(0, velka_->start("menuUntilQuit"));
    ASSERT_TRUE(waitUntil([&] {
        HWND menu = FindWindowA("#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }));
    velka_->quitRequest.signal();
    ASSERT_EQ(WAIT_OBJECT_0, velka_->scenarioThread.wait(5000))
        << "an open menu does not keep the module";
    ASSERT_EQ(nullptr, GetModuleHandleA("module_memory.dll"));

    PostMessageA(FindWindowA("#32768", nullptr), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(FindWindowA("#32768", nullptr), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(WAIT_OBJECT_0, velka_->menuDone.wait(5000));
    EXPECT_TRUE(velka_->windowThread.isRunning());
    EXPECT_NE(nullptr, makeWindow({100, 100, 300, 250}, 0))
        << "requests made after the module has gone are served again";
}

}  // namespace
