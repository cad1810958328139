// KtPopupViewport: frame sizes, the client viewport, the close rule and activation reports.
#include "KtPopupViewport.h"
#include "KtChildWindow.h"
#include "Diagnostic.h"
#include "KtViewport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <thread>

namespace {

template <class F>
int tableIndex(F member)
{
    ptrdiff_t raw;
    std::memcpy(&raw, &member, sizeof raw);
    return static_cast<int>((raw - 1) / sizeof(void*));
}

TEST(KtPopupViewportLayout, OwnSlotsFollowTheBaseSlots)
{
    EXPECT_EQ(85 + 1, tableIndex(&KtPopupViewport::createShown));
    EXPECT_EQ(86 + 1, tableIndex(&KtPopupViewport::setAlwaysActive));
    EXPECT_EQ(44 + 1, tableIndex(&KtPopupViewport::onSysCommand));
    static_assert(sizeof(KtPopupViewport) == 96);
    static_assert(sizeof(KtChildWindow) == 76);
}

// The popup never looks into its owner, so any address stands for the
// scenario runtime that owns it.
int ownerStandIn = 0;
void* const scenarioOwner = &ownerStandIn;

// A viewport that reports its end.
struct FakeClient : KtViewport {
    FakeClient(HWND p, const KtString& n, const KtRect& r) : KtViewport(p, n, r) {}
    ~FakeClient() override { ++deleted; }
    static int deleted;
};
int FakeClient::deleted = 0;

KtViewport* makeFakeClient(HWND parent, const KtString& name, const KtRect& area)
{
    return new FakeClient(parent, name, area);
}

KtViewport* failToMakeClient(HWND, const KtString&, const KtRect&)
{
    throw NotEnoughMemoryException("KtVSurface - create", "メモリが足りません！");
}

class Popup : public ::testing::Test {
protected:
    void SetUp() override { previous = KtPopupViewport::setClientMaker(&makeFakeClient); }
    void TearDown() override { KtPopupViewport::setClientMaker(previous); }
    KtPopupViewport::ClientMaker previous = nullptr;
};

SIZE outerSize(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST_F(Popup, CaptionedFrameIsClientPlusFixedFrameAndCaption)
{
    KtPopupViewport popup(nullptr, KtString("pop"), nullptr, 30, 40, 200, 100, TRUE);
    EXPECT_EQ(6, popup.windowType());
    EXPECT_EQ(0, popup.alwaysActive);
    ASSERT_EQ(1, popup.createShown(SW_SHOWNOACTIVATE));
    EXPECT_EQ(SW_SHOWNOACTIVATE, popup.showCmd);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_CAPTION),
              GetWindowLongA(popup.handle, GWL_STYLE) & (WS_POPUP | WS_CAPTION));
    int frameX = GetSystemMetrics(SM_CXFIXEDFRAME), frameY = GetSystemMetrics(SM_CYFIXEDFRAME);
    SIZE outer = outerSize(popup.handle);
    EXPECT_EQ(200 + 2 * frameX, outer.cx);
    EXPECT_EQ(100 + GetSystemMetrics(SM_CYCAPTION) + 2 * frameY, outer.cy);
    RECT client, placed;
    GetClientRect(popup.handle, &client);
    EXPECT_EQ(200, client.right);
    EXPECT_EQ(100, client.bottom);
    GetWindowRect(popup.handle, &placed);
    EXPECT_EQ(30, placed.left);
    EXPECT_EQ(40, placed.top);

    // Resizing takes client sizes; the client viewport keeps its own.
    EXPECT_TRUE(popup.resize(640, 480, TRUE));
    outer = outerSize(popup.handle);
    EXPECT_EQ(640 + 2 * frameX, outer.cx);
    EXPECT_EQ(480 + GetSystemMetrics(SM_CYCAPTION) + 2 * frameY, outer.cy);
    EXPECT_EQ(200, popup.clientWidth);
    ASSERT_NE(nullptr, popup.client);
    SIZE inner = outerSize(popup.client->handle);
    EXPECT_EQ(200, inner.cx);
    EXPECT_EQ(100, inner.cy);
}

TEST_F(Popup, BarePopupIsExactlyTheClientSize)
{
    KtPopupViewport popup(nullptr, KtString("bare"), nullptr, 0, 0, 123, 45, FALSE);
    ASSERT_EQ(1, popup.create());
    EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongA(popup.handle, GWL_STYLE) & (WS_POPUP | WS_CAPTION));
    SIZE outer = outerSize(popup.handle);
    EXPECT_EQ(123, outer.cx);
    EXPECT_EQ(45, outer.cy);
    EXPECT_TRUE(popup.resize(50, 60, FALSE));
    outer = outerSize(popup.handle);
    EXPECT_EQ(50, outer.cx);
    EXPECT_EQ(60, outer.cy);
}

TEST_F(Popup, ClientViewportIsNamedPlacedAndDeletedWithThePopup)
{
    FakeClient::deleted = 0;
    HWND clientWindow = nullptr;
    {
        KtPopupViewport popup(nullptr, KtString("Talk"), nullptr, 0, 0, 160, 90, TRUE);
        ASSERT_EQ(1, popup.create());
        ASSERT_NE(nullptr, popup.client);
        EXPECT_STREQ("TalkClient", popup.client->name.text());
        EXPECT_STREQ("Talk", popup.name.text());
        auto* fake = static_cast<FakeClient*>(popup.client);
        EXPECT_EQ(KtRect(0, 0, 160, 90), fake->rect);
        clientWindow = fake->handle;
        ASSERT_TRUE(IsWindow(clientWindow));
        EXPECT_EQ(popup.handle, GetParent(clientWindow));
    }
    EXPECT_EQ(1, FakeClient::deleted);
    EXPECT_FALSE(IsWindow(clientWindow));
}

TEST(PopupClient, WithoutAnInstalledMakerTheClientIsAViewportOfTheClientSize)
{
    KtPopupViewport popup(nullptr, KtString("Map"), nullptr, 0, 0, 120, 70, TRUE);
    ASSERT_EQ(1, popup.create());
    ASSERT_NE(nullptr, popup.client);
    EXPECT_EQ(5, popup.client->windowType());
    EXPECT_STREQ("MapClient", popup.client->name.text());
    EXPECT_EQ(120, popup.client->surface.width());
    EXPECT_EQ(70, popup.client->surface.height());
    EXPECT_EQ(popup.handle, GetParent(popup.client->handle));
}

TEST_F(Popup, WithoutAClientThePopupStaysOpen)
{
    KtPopupViewport::setClientMaker(&failToMakeClient);
    KtPopupViewport failed(nullptr, KtString("f"), nullptr, 0, 0, 20, 20, FALSE);
    ASSERT_EQ(1, failed.create());
    EXPECT_EQ(nullptr, failed.client);
    EXPECT_TRUE(IsWindow(failed.handle));

    KtPopupViewport::setClientMaker(nullptr);
    KtPopupViewport none(nullptr, KtString("n"), nullptr, 0, 0, 20, 20, FALSE);
    ASSERT_EQ(1, none.create());
    EXPECT_EQ(nullptr, none.client);
}

TEST_F(Popup, SystemMenuCloseIsIgnoredOnlyWhenAScenarioOwnsThePopup)
{
    KtPopupViewport owned(scenarioOwner, KtString("o"), nullptr, 0, 0, 40, 40, TRUE);
    EXPECT_EQ(1, owned.alwaysActive);
    ASSERT_EQ(1, owned.create());
    EXPECT_EQ(0, SendMessageA(owned.handle, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(0, SendMessageA(owned.handle, WM_SYSCOMMAND, SC_CLOSE | 2, 0));
    EXPECT_TRUE(IsWindow(owned.handle));

    KtPopupViewport free(nullptr, KtString("f"), nullptr, 0, 0, 40, 40, TRUE);
    ASSERT_EQ(1, free.create());
    HWND window = free.handle;
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, free.handle);
}

TEST_F(Popup, LeavingTheProgramIsReportedToTheWindowThread)
{
    // The test thread plays the window thread: it makes the popup and
    // receives the report.
    MSG drained;
    while (PeekMessageA(&drained, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE)) {}
    KtPopupViewport popup(scenarioOwner, KtString("a"), nullptr, 0, 0, 40, 40, FALSE);
    ASSERT_EQ(1, popup.create());
    while (PeekMessageA(&drained, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE)) {}

    EXPECT_EQ(0, SendMessageA(popup.handle, WM_ACTIVATEAPP, FALSE, 4321));
    MSG report;
    ASSERT_TRUE(PeekMessageA(&report, reinterpret_cast<HWND>(-1), 0x469, 0x469, PM_REMOVE));
    EXPECT_EQ(0u, report.wParam);
    EXPECT_EQ(4321, report.lParam);

    SendMessageA(popup.handle, WM_ACTIVATEAPP, 5, 4321);
    ASSERT_TRUE(PeekMessageA(&report, reinterpret_cast<HWND>(-1), 0x469, 0x469, PM_REMOVE));
    EXPECT_EQ(1u, report.wParam) << "any non-zero active flag is reported as 1";

    SendMessageA(popup.handle, WM_ACTIVATEAPP, TRUE, GetCurrentThreadId());
    EXPECT_FALSE(PeekMessageA(&report, reinterpret_cast<HWND>(-1), 0x469, 0x469, PM_REMOVE))
        << "a change within the program was reported";

    KtPopupViewport unowned(nullptr, KtString("u"), nullptr, 0, 0, 40, 40, FALSE);
    ASSERT_EQ(1, unowned.create());
    SendMessageA(unowned.handle, WM_ACTIVATEAPP, FALSE, 4321);
    EXPECT_FALSE(PeekMessageA(&report, reinterpret_cast<HWND>(-1), 0x469, 0x469, PM_REMOVE));

    EXPECT_EQ(0, popup.setAlwaysActive(0));
    EXPECT_EQ(0, popup.alwaysActive);
}

// The popup runs on the thread that made it, the window thread, whoever
// sends it the message: the report lands in that thread's queue.
TEST_F(Popup, TheReportGoesToTheThreadThatMadeThePopup)
{
    struct WindowThread {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE reported = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HWND popup = nullptr;
        DWORD threadId = 0;
        MSG report{};
        ~WindowThread() { CloseHandle(ready); CloseHandle(reported); }
        void run()
        {
            KtPopupViewport made(scenarioOwner, KtString("t"), nullptr, 0, 0, 40, 40, FALSE);
            made.create();
            popup = made.handle;
            threadId = GetCurrentThreadId();
            SetEvent(ready);
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                // Showing the popup may itself change activation: only the
                // test's own message (other thread 4321) ends the loop.
                if (!message.hwnd && message.message == 0x469 && message.lParam == 4321) {
                    report = message;
                    SetEvent(reported);
                    break;
                }
                DispatchMessageA(&message);
            }
        }
    } window;
    std::thread thread([&window] { window.run(); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(window.ready, 10000));
    ASSERT_NE(nullptr, window.popup);

    EXPECT_EQ(0, SendMessageA(window.popup, WM_ACTIVATEAPP, FALSE, 4321));
    bool reported = WaitForSingleObject(window.reported, 10000) == WAIT_OBJECT_0;
    if (!reported)
        PostThreadMessageA(window.threadId, WM_QUIT, 0, 0);
    thread.join();
    ASSERT_TRUE(reported);
    EXPECT_EQ(0u, window.report.wParam);
    EXPECT_EQ(4321, window.report.lParam);
    MSG stray;
    EXPECT_FALSE(PeekMessageA(&stray, reinterpret_cast<HWND>(-1), 0x469, 0x469, PM_REMOVE))
        << "the report went to the sender";
}

} // namespace
