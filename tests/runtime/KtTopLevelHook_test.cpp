// The hook of the top-level window: force-quit confirmation, input forwarding, activation, focus and monitor requests.
#include "AddressSpaceFiller.h"
#include "KtMessage.h"
#include "KtRegisterMonitor.h"
#include "KtRegisterStore.h"
#include "KtTopLevelHook.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include "MessageBoxRecorder.h"
#include "ProcessRunner.h"
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <process.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the application window's own procedure received.
std::vector<Seen> topSeen;

LRESULT CALLBACK topProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    topSeen.push_back({message, wParam, lParam});
    if (message == WM_SYSCOMMAND && wParam != SC_CLOSE && (wParam & 0xFFF0) == SC_CLOSE)
        return 0;   // a close that got past the hook must not close the window here
    if (message == WM_APP)
        return 1234;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool topSaw(UINT message, WPARAM wParam)
{
    for (const Seen& seen : topSeen)
        if (seen.message == message && seen.wParam == wParam)
            return true;
    return false;
}

// Stands in for the window thread: records the thread messages posted to it.
class ThreadProbe {
public:
    ThreadProbe()
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        arrived_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        unsigned id = 0;
        handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &main, this, 0, &id));
        threadId_ = id;
        WaitForSingleObject(ready_, 5000);
    }
    ~ThreadProbe()
    {
        stop();
        CloseHandle(handle_);
        CloseHandle(ready_);
        CloseHandle(arrived_);
    }
    void stop()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(handle_, 5000);
    }
    HANDLE handle() const { return handle_; }
    DWORD threadId() const { return threadId_; }

    // Everything the hook posted before this call. A marker posted from
    // this thread arrives after whatever this thread posted earlier.
    std::vector<Seen> drain()
    {
        const UINT marker = WM_APP + 77;
        PostThreadMessageA(threadId_, marker, 0, 0);
        for (;;) {
            {
                std::lock_guard<std::mutex> hold(mutex_);
                if (!seen_.empty() && seen_.back().message == marker) {
                    std::vector<Seen> got(seen_.begin(), seen_.end() - 1);
                    seen_.clear();
                    return got;
                }
            }
            if (WaitForSingleObject(arrived_, 5000) != WAIT_OBJECT_0)
                return {{0xFFFFFFFF, 0, 0}};   // the marker never came
        }
    }

private:
    static unsigned __stdcall main(void* self)
    {
        auto* probe = static_cast<ThreadProbe*>(self);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        SetEvent(probe->ready_);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            // The end of a chain waits for the window thread to release
            // the scenario's windows; the probe has none.
            if (message.message == KtMessage::releaseWindows)
                SetEvent(reinterpret_cast<HANDLE>(message.wParam));
            std::lock_guard<std::mutex> hold(probe->mutex_);
            probe->seen_.push_back({message.message, message.wParam, message.lParam});
            SetEvent(probe->arrived_);
        }
        return 0;
    }

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_;
    HANDLE arrived_;
    std::mutex mutex_;
    std::vector<Seen> seen_;
};

void pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

class Hook : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA description{};
        description.lpfnWndProc = &topProcedure;
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "HookTestTop";
        RegisterClassA(&description);
        top_ = CreateWindowExA(0, "HookTestTop", "hook test", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                               200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        host_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        original_ = GetWindowLongPtrA(top_, GWLP_WNDPROC);
        velka_.reset(new KtVelka(host_));
        // The hook talks to the window thread only through its thread id:
        // a probe takes the window thread's place for the test.
        std::swap(velka_->windowThread.handle, realThread_);
        std::swap(velka_->windowThread.threadId, realThreadId_);
        velka_->windowThread.handle = probe_.handle();
        velka_->windowThread.threadId = probe_.threadId();
        pump();
        topSeen.clear();
    }
    void TearDown() override
    {
        // The activation flag is process-wide: leave it as a new process has it.
        SendMessageA(top_, WM_ACTIVATEAPP, 1, 0x4321);
        velka_->windowThread.handle = realThread_;
        velka_->windowThread.threadId = realThreadId_;
        velka_->focusWindow = nullptr;
        velka_->registers = nullptr;
        velka_.reset();
        EXPECT_EQ(original_, GetWindowLongPtrA(top_, GWLP_WNDPROC)) << "the hook is removed";
        DestroyWindow(top_);
    }

    HWND top_ = nullptr;
    HWND host_ = nullptr;
    LONG_PTR original_ = 0;
    ThreadProbe probe_;
    std::unique_ptr<KtVelka> velka_;
    HANDLE realThread_ = nullptr;
    DWORD realThreadId_ = 0;
};

TEST_F(Hook, ItReplacesTheTopLevelProcedureAndPassesOtherMessagesOn)
{
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&KtTopLevelHook::procedure), GetWindowLongPtrA(top_, GWLP_WNDPROC));
    EXPECT_EQ(1234, SendMessageA(top_, WM_APP, 5, 6));
    ASSERT_EQ(1u, topSeen.size());
    EXPECT_EQ(5u, topSeen[0].wParam);
    EXPECT_EQ(6, topSeen[0].lParam);
    SendMessageA(top_, KtMessage::monitorReserved, 7, 8);
    EXPECT_TRUE(topSaw(KtMessage::monitorReserved, 7)) << "0x74C goes on";
}

TEST_F(Hook, TheCloseCommandAsksAndYesOnlySignalsTheQuitRequest)
{
    MessageBoxRecorder boxes;
    boxes.answer(IDNO);
    EXPECT_EQ(0, SendMessageA(top_, WM_SYSCOMMAND, SC_CLOSE, 0));
    ASSERT_EQ(1u, boxes.count());
    MessageBoxRecorder::Box box = boxes.last();
    EXPECT_EQ(host_, box.owner);
    EXPECT_EQ("ゲームを強制終了します。よろしいですか？", box.text);
    EXPECT_EQ("scenario manager", box.caption);
    EXPECT_EQ(0x12004u, box.style);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), velka_->quitRequest.wait(0)) << "No changes nothing";
    EXPECT_FALSE(topSaw(WM_SYSCOMMAND, SC_CLOSE)) << "the command is consumed";
    EXPECT_TRUE(probe_.drain().empty());

    ShowWindow(top_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(top_));
    boxes.answer(IDYES);
    EXPECT_EQ(0, SendMessageA(top_, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(2u, boxes.count());
    EXPECT_EQ(WAIT_OBJECT_0, velka_->quitRequest.wait(0));
    EXPECT_FALSE(IsIconic(top_)) << "a minimised window is restored";
    EXPECT_TRUE(IsWindow(top_)) << "the window stays until the scenario ends";
    EXPECT_FALSE(topSaw(WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_FALSE(topSaw(WM_CLOSE, 0));
    // Minimising and restoring may move the activation; nothing else is posted.
    for (const Seen& posted : probe_.drain())
        EXPECT_EQ(KtMessage::showPopupsActive, posted.message) << std::hex << posted.message;
}

TEST_F(Hook, AltF4ReachesTheConfirmationAndACloseWithExtraBitsPassesOn)
{
    MessageBoxRecorder boxes;
    boxes.answerAlways(IDNO);
    // The default procedure turns Alt+F4 into the close command.
    PostMessageA(top_, WM_SYSKEYDOWN, VK_F4, 0x203E0001);
    pump();
    EXPECT_EQ(1u, boxes.count());

    for (WPARAM command : {WPARAM(SC_CLOSE | 1), WPARAM(SC_CLOSE | 2), WPARAM(SC_CLOSE | 0xF)}) {
        topSeen.clear();
        SendMessageA(top_, WM_SYSCOMMAND, command, 0x00100020);
        EXPECT_TRUE(topSaw(WM_SYSCOMMAND, command)) << std::hex << command;
    }
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), velka_->quitRequest.wait(0));
}

// Starts a Linux program from inside Wine (the display is the test's Xvfb).
bool startUnix(const std::string& commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line(commandLine);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

TEST_F(Hook, AClickOnTheCloseBoxGivesTheConfirmation)
{
    if (GetFileAttributesA("Z:\\usr\\bin\\xdotool") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "xdotool is needed for real input";
    ShowWindow(top_, SW_SHOWNORMAL);
    SetForegroundWindow(top_);
    pump();
    RECT frame;
    GetWindowRect(top_, &frame);
    POINT closeBox{-1, -1};
    for (int x = frame.right - 1; x > frame.left && closeBox.x < 0; --x)
        for (int y = frame.top; y < frame.top + 40 && closeBox.x < 0; ++y)
            if (SendMessageA(top_, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                closeBox = {x - 4, y + 4};
    ASSERT_GE(closeBox.x, 0) << "no close box found";
    MessageBoxRecorder boxes;
    boxes.answer(IDNO);
    std::string command = "/usr/bin/xdotool mousemove " + std::to_string(closeBox.x) + " "
                          + std::to_string(closeBox.y) + " click 1";
    ASSERT_TRUE(startUnix(command));
    for (int i = 0; i < 250 && boxes.count() == 0; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pump();
    }
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("scenario manager", boxes.last().caption);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), velka_->quitRequest.wait(0));
    EXPECT_TRUE(IsWindow(top_));
}

TEST_F(Hook, InputIsForwardedOnlyDuringAWaitAndWhileTheWindowThreadRuns)
{
    SendMessageA(top_, WM_KEYDOWN, 'A', 0x1E0001);
    EXPECT_TRUE(probe_.drain().empty()) << "no wait, nothing forwarded";

    velka_->waitingForInput = 1;
    SendMessageA(top_, WM_KEYDOWN, VK_RETURN, 0x1C0001);
    PostMessageA(top_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    pump();
    std::vector<Seen> posted = probe_.drain();
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(KtMessage::inputEvent, posted[0].message);
    EXPECT_EQ(static_cast<WPARAM>(VK_RETURN), posted[0].wParam);
    EXPECT_EQ(0x1C0001, posted[0].lParam);
    EXPECT_EQ(KtMessage::inputEvent, posted[1].message);
    EXPECT_EQ(1u, posted[1].wParam) << "a click goes as code 1, which confirmation mode refuses";
    EXPECT_EQ(MAKELPARAM(30, 40), posted[1].lParam);
    EXPECT_TRUE(topSaw(WM_KEYDOWN, VK_RETURN)) << "input is passed on as well";
    EXPECT_TRUE(topSaw(WM_LBUTTONDOWN, MK_LBUTTON));

    SendMessageA(top_, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageA(top_, WM_CHAR, 'a', 0);
    EXPECT_TRUE(probe_.drain().empty()) << "only key presses and left clicks";

    probe_.stop();
    SendMessageA(top_, WM_KEYDOWN, 'B', 0);
    EXPECT_TRUE(topSaw(WM_KEYDOWN, 'B'));
    velka_->waitingForInput = 0;
}

TEST_F(Hook, ActivationFollowsOtherApplicationsOnly)
{
    const LPARAM otherApplication = 0x4321;
    SendMessageA(top_, WM_ACTIVATEAPP, 0, otherApplication);
    EXPECT_EQ(0, KtTopLevelHook::activationFlag());
    EXPECT_EQ(0, velka_->appActive);
    pump();   // the posted WM_NCACTIVATE
    std::vector<Seen> posted = probe_.drain();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(KtMessage::showPopupsActive, posted[0].message);
    EXPECT_EQ(0u, posted[0].wParam);
    EXPECT_TRUE(topSaw(WM_ACTIVATEAPP, 0));
    EXPECT_TRUE(topSaw(WM_NCACTIVATE, 0));

    // Between the program's own threads the flag stays as it is.
    SendMessageA(top_, WM_ACTIVATEAPP, 1, static_cast<LPARAM>(GetCurrentThreadId()));
    SendMessageA(top_, WM_ACTIVATEAPP, 1, static_cast<LPARAM>(probe_.threadId()));
    EXPECT_EQ(0, KtTopLevelHook::activationFlag());
    EXPECT_EQ(0, velka_->appActive);
    EXPECT_TRUE(probe_.drain().empty());

    topSeen.clear();
    SendMessageA(top_, WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(topSaw(WM_NCACTIVATE, 0)) << "WM_NCACTIVATE reports the flag";
    EXPECT_FALSE(topSaw(WM_NCACTIVATE, 1));

    SendMessageA(top_, WM_ACTIVATEAPP, 1, otherApplication);
    EXPECT_EQ(1, KtTopLevelHook::activationFlag());
    EXPECT_EQ(1, velka_->appActive);
    posted = probe_.drain();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(1u, posted[0].wParam);
}

TEST_F(Hook, FocusIsHandedBackToTheFocusWindowThroughTheWindowThread)
{
    KtWindow focus(nullptr);
    SendMessageA(top_, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(probe_.drain().empty()) << "no focus window";

    velka_->focusWindow = &focus;
    focus.handle = top_;
    SendMessageA(top_, WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(probe_.drain().empty()) << "the focus window is the top-level window";

    focus.handle = host_;
    topSeen.clear();
    SendMessageA(top_, WM_SETFOCUS, 0, 0);
    std::vector<Seen> posted = probe_.drain();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(KtMessage::restoreFocus, posted[0].message);
    EXPECT_EQ(0u, posted[0].wParam);
    EXPECT_EQ(0, posted[0].lParam);
    EXPECT_TRUE(topSaw(WM_SETFOCUS, 0));

    probe_.stop();
    SendMessageA(top_, WM_SETFOCUS, 0, 0);
    velka_->focusWindow = nullptr;
    focus.handle = nullptr;   // not this object's window: its destructor must leave it
}

TEST_F(Hook, MonitorRequestsAreConsumedAndAttachAnswersTheTopLevelWindow)
{
    HWND monitor = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(reinterpret_cast<LRESULT>(top_),
              SendMessageA(top_, KtMessage::monitorAttach, reinterpret_cast<WPARAM>(monitor), 0));
    EXPECT_EQ(monitor, velka_->monitorWindow);
    for (UINT request = KtMessage::monitorGameRegisters; request <= KtMessage::monitorLast; ++request)
        if (request != KtMessage::monitorReserved)
            EXPECT_EQ(0, SendMessageA(top_, request, 0, 0)) << std::hex << request;
    EXPECT_EQ(0, SendMessageA(top_, KtMessage::monitorDetach, 0, 0));
    EXPECT_EQ(nullptr, velka_->monitorWindow);
    EXPECT_TRUE(topSeen.empty()) << "none reached the window's own procedure";
}

// A failed save must not escape the window procedure: the register keeps
// its new value, the failure is shown and the game goes on.
TEST_F(Hook, ASystemWriteWhoseSaveIsCancelledShowsTheFailureAndGoesOn)
{
    KtRegisterStore store("Z:\\no\\such\\folder\\");
    store.systemRegisters.create(2);
    velka_->registers = &store;
    MessageBoxRecorder boxes;
    boxes.answerAlways(IDCANCEL);
    EXPECT_EQ(0, SendMessageA(top_, KtMessage::monitorSetSystemRegister, 1, 99));
    EXPECT_EQ(99u, store.systemRegisters.values()[1]);
    ASSERT_GE(boxes.count(), 2u) << "the Retry box, then the failure";
    EXPECT_EQ(host_, boxes.last().owner);
    velka_->registers = nullptr;
}

// Copy-data records write string registers only when they come from the
// attached monitor and stay within the bound. Whatever is not taken goes on
// to the window's own procedure (a foreign record), or is dropped (one of
// the monitor's that is refused).
TEST_F(Hook, CopyDataIsTakenOnlyFromTheAttachedMonitorWithinItsBound)
{
    KtRegisterStore store;
    store.stringRegisters.create(3);
    velka_->registers = &store;
    HWND monitor = reinterpret_cast<HWND>(0x1234);
    struct Case {
        const char* name;
        HWND attached;
        WPARAM sender;
        DWORD size;          // of a record of 'x's with its NUL
        bool written;
        bool passedOn;
    };
    const Case cases[] = {
        {"no monitor, sender 0", nullptr, 0, 4, false, true},
        {"another window", monitor, 0x5678, 4, false, true},
        {"sender 0 beside a monitor", monitor, 0, 4, false, true},
        {"the monitor", monitor, 0x1234, 4, true, false},
        {"the monitor at the bound", monitor, 0x1234, KtRegisterMonitor::maxRecordBytes, true, false},
        {"the monitor past the bound", monitor, 0x1234, KtRegisterMonitor::maxRecordBytes + 1, false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        velka_->monitorWindow = c.attached;
        store.stringRegisters.item(2).create(256, "old");
        std::string text(c.size - 1, 'x');
        COPYDATASTRUCT record{0x3000002, c.size, &text[0]};
        topSeen.clear();
        EXPECT_EQ(0, SendMessageA(top_, WM_COPYDATA, c.sender, reinterpret_cast<LPARAM>(&record)));
        EXPECT_EQ(c.written ? text : std::string("old"), store.stringRegisters.item(2).text());
        EXPECT_EQ(c.passedOn, topSaw(WM_COPYDATA, c.sender));
    }
    velka_->monitorWindow = nullptr;
}

// A record from the monitor for which no memory is left fails at the hook:
// nothing may unwind out of the window procedure, and nothing is written.
TEST_F(Hook, ARecordThatFindsNoMemoryIsDroppedAtTheHook)
{
    KtRegisterStore store;
    store.stringRegisters.create(1);
    velka_->registers = &store;
    velka_->monitorWindow = reinterpret_cast<HWND>(0x1234);
    std::string text(KtRegisterMonitor::maxRecordBytes - 1, 'y');
    COPYDATASTRUCT record{0x3000000, KtRegisterMonitor::maxRecordBytes, &text[0]};
    LRESULT result = -1;
    {
        AddressSpaceFiller filler(16 * 1024);
        filler.fillProcessHeap(1024);
        // The C run-time's heap keeps room of its own: take that too.
        static void* held[4096];
        size_t count = 0;
        for (size_t size = 1 << 20; size >= 1024 && count < 4096;) {
            if (void* block = std::malloc(size))
                held[count++] = block;
            else
                size /= 2;
        }
        result = SendMessageA(top_, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&record));
        while (count > 0)
            std::free(held[--count]);
    }
    EXPECT_EQ(0, result);
    EXPECT_EQ('\0', store.stringRegisters.item(0).text()[0]) << "the record found memory after all";
    EXPECT_FALSE(topSaw(WM_COPYDATA, 0x1234));
    velka_->monitorWindow = nullptr;
}

// A monitor of another process that stops taking messages: the hook's
// answers to it and the scenario's last word to it give up after a while.
// A watchdog ends the monitor, so that without the time limit the test fails
// instead of hanging.
TEST_F(Hook, AHungMonitorHangsNeitherTheHookNorTheEndOfTheScenario)
{
    ProcessRunner hung;
    ASSERT_TRUE(hung.start(ProcessRunner::programFolder() + "hung_monitor.exe", ""));
    HWND monitor = nullptr;
    for (int i = 0; i < 200 && !monitor; ++i, Sleep(25))
        monitor = FindWindowA("STATIC", "PomeloHungMonitor");
    ASSERT_NE(nullptr, monitor);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([&hung, done] {
        if (WaitForSingleObject(done, 20000) == WAIT_TIMEOUT)
            hung.terminate();
    });

    KtRegisterStore store;
    store.gameRegisters.create(4);
    velka_->registers = &store;
    SendMessageA(top_, KtMessage::monitorAttach, reinterpret_cast<WPARAM>(monitor), 0);
    DWORD started = GetTickCount();
    EXPECT_EQ(0, SendMessageA(top_, KtMessage::monitorGameRegisters, 0, 0));
    EXPECT_LT(GetTickCount() - started, 10000u) << "the hook's answer gives up";
    velka_->registers = nullptr;

    ASSERT_NE(0, velka_->load("chain_three.dll"));
    ASSERT_NE(0, velka_->start("hege"));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->scenarioThread.wait(10000))
        << "the detach notice to the monitor gives up";
    EXPECT_EQ(nullptr, velka_->monitorWindow);

    SetEvent(done);
    watchdog.join();
    CloseHandle(done);
}

// Answers the boxes of one test with a callback, which can look at the
// runtime while a box is up.
class BoxCallback {
public:
    explicit BoxCallback(std::function<int()> answer) : answer_(std::move(answer))
    {
        current_ = this;
        previous_ = KtMessageBox::setHandler(&BoxCallback::handle);
    }
    ~BoxCallback() { KtMessageBox::setHandler(previous_); }
    int count = 0;

private:
    static int handle(HWND, const char*, const char*, UINT)
    {
        ++current_->count;
        return current_->answer_();
    }
    static BoxCallback* current_;
    std::function<int()> answer_;
    KtMessageBox::Handler previous_;
};
BoxCallback* BoxCallback::current_ = nullptr;

// A monitor's system write whose save asks Retry while the player quits:
// the module, whose table writes the file, stays loaded until the save is
// done, and is freed after it.
TEST_F(Hook, AModuleStaysLoadedUntilTheHookIsDoneWithItsRegisters)
{
    const char* folder = "module-memory-store";
    auto removeFolder = [folder] {
        DeleteFileA("module-memory-store\\.system.dat");
        DeleteFileA("module-memory-store\\.system.dat.new");
        RemoveDirectoryA(folder);
    };
    removeFolder();
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder)) << "the save must fail first";
    ASSERT_NE(0, velka_->load("module_memory.dll"));
    ASSERT_NE(0, velka_->start("registersUntilQuit"));
    for (int i = 0; i < 200 && !velka_->registers; ++i)
        Sleep(10);
    ASSERT_NE(nullptr, velka_->registers);

    bool loadedDuringTheBox = false;
    bool endedDuringTheBox = true;
    BoxCallback boxes([&] {
        velka_->quitRequest.signal();
        endedDuringTheBox = velka_->scenarioThread.wait(1000) == WAIT_OBJECT_0;
        loadedDuringTheBox = GetModuleHandleA("module_memory.dll") != nullptr;
        CreateDirectoryA(folder, nullptr);
        return IDRETRY;
    });
    EXPECT_EQ(0, SendMessageA(top_, KtMessage::monitorSetSystemRegister, 1, 77));
    EXPECT_EQ(1, boxes.count);
    EXPECT_FALSE(endedDuringTheBox) << "the chain's end waits for the save";
    EXPECT_TRUE(loadedDuringTheBox);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("module-memory-store\\.system.dat"))
        << "the module's table wrote the file";
    EXPECT_EQ(WAIT_OBJECT_0, velka_->scenarioThread.wait(5000));
    EXPECT_EQ(nullptr, GetModuleHandleA("module_memory.dll"));
    EXPECT_EQ(0, SendMessageA(top_, KtMessage::monitorSetSystemRegister, 1, 78))
        << "after the end nothing is touched";
    EXPECT_EQ(1, boxes.count);
    removeFolder();
}

}  // namespace
