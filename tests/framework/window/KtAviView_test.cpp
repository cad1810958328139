// KtAviView: opening, playing to the end, stopping and continuing, and deleting a playing view.
#include "ImportPatch.h"
#include "KtAviView.h"
#include "MessageBoxRecorder.h"
#include "MessagePump.h"
#include "SystemBoxCloser.h"
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <string>
#include <vector>
#include <vfw.h>

namespace {

// A top-level window on the test thread that counts the key presses it is given.
class KeyCounter : public KtWindow {
public:
    KeyCounter() : KtWindow(nullptr) {}
    const char* className() override { return "KtAviViewTestParent"; }
    DWORD style() override { return WS_POPUP | WS_VISIBLE; }
    int initialX() override { return 40; }
    int initialY() override { return 40; }
    int initialWidth() override { return 300; }
    int initialHeight() override { return 200; }
    LRESULT onKeyDown(WPARAM wParam, LPARAM lParam) override
    {
        ++presses;
        lastKey = wParam;
        lastKeyData = lParam;
        return 0;
    }
    int presses = 0;
    WPARAM lastKey = 0;
    LPARAM lastKeyData = -1;
};

std::string movie(const char* name)
{
    return std::string("movies\\") + name;
}

class AviView : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, parent_.create()); }

    KtAviView* makeView(const std::string& movieName, int x = 5, int y = 7)
    {
        view_.reset(new KtAviView(parent_.handle, KtString("movie"), KtRect(10, 20, 210, 170),
                                  KtString(movieName.c_str()), x, y));
        EXPECT_EQ(1, view_->create());
        return view_.get();
    }
    // What the scenario does: reset the event, post the request.
    void post(UINT message)
    {
        if (message == KtAviView::playMessage)
            view_->doneEvent.unsignal();
        PostMessageA(view_->handle, message, 0, 0);
    }
    bool playsToTheEnd(DWORD milliseconds = 10000)
    {
        return MessagePump::untilSignalled(view_->doneEvent.handle, milliseconds)
               && MessagePump::drain(parent_.handle);
    }
    bool reachesFrame(LONG frame)
    {
        return MessagePump::until([&] { return view_->player.position() >= frame; });
    }

    // No test may show a real box: it would wait for an answer for ever.
    MessageBoxRecorder boxes_;
    KeyCounter parent_;
    std::unique_ptr<KtAviView> view_;
};

std::string fullPathOf(const std::string& name)
{
    char full[MAX_PATH];
    GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    return full;
}

TEST_F(AviView, OpensTheMovieAtItsPlaceInAViewOfItsOwn)
{
    KtAviView* view = makeView(movie("frames8.avi"), 5, 7);
    EXPECT_EQ(37, view->windowType());
    char name[32] = {};
    GetClassNameA(view->handle, name, sizeof name);
    EXPECT_STREQ("KtAviView", name);
    WNDCLASSA cls;
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "KtAviView", &cls));
    EXPECT_EQ(nullptr, cls.hbrBackground);
    EXPECT_EQ(WAIT_OBJECT_0, view->doneEvent.wait(0)) << "signalled when built";

    ASSERT_NE(nullptr, view->player.window);
    EXPECT_EQ(view->handle, GetParent(view->player.window));
    EXPECT_EQ(view->handle, view->player.parent);
    EXPECT_EQ(GetModuleHandleA(nullptr), view->player.instance);
    EXPECT_NE(0u, view->player.deviceId());
    EXPECT_EQ(0x50000C8Au, static_cast<DWORD>(GetWindowLongA(view->player.window, GWL_STYLE)) & 0x50000C8Au);
    RECT r;
    GetWindowRect(view->player.window, &r);
    MapWindowPoints(nullptr, view->handle, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(5, r.left);
    EXPECT_EQ(7, r.top);
    GetClientRect(view->player.window, &r);
    EXPECT_EQ(32, r.right) << "the MCI window takes the movie's size";
    EXPECT_EQ(24, r.bottom);

    char full[MAX_PATH];
    GetFullPathNameA(movie("frames8.avi").c_str(), sizeof full, full, nullptr);
    EXPECT_STREQ(full, view->fileName.text()) << "a relative name is kept as a full path";
}

// The end is the device's successful answer to the play, wherever the
// device then stands: both depths, and a device told to count in
// milliseconds, which stands one frame's time short of its end when done.
// The end presses space once in the parent and signals doneEvent.
TEST_F(AviView, TheEndPressesSpaceOnceInTheParentAndSignalsDone)
{
    struct Case {
        const char* movie;
        const char* timeFormat;   // null: frames, as opened
    } cases[] = {{"frames8.avi", nullptr}, {"frames32.avi", nullptr}, {"frames8.avi", "ms"},
                 {"frames32.avi", "ms"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.movie) + " " + (c.timeFormat ? c.timeFormat : "frames"));
        parent_.presses = 0;
        makeView(movie(c.movie));
        ASSERT_NE(0u, view_->player.deviceId());
        if (c.timeFormat) {
            ASSERT_EQ(0, SendMessageA(view_->player.window, MCIWNDM_SETTIMEFORMATA, 0,
                                      reinterpret_cast<LPARAM>(c.timeFormat)));
        }
        post(KtAviView::playMessage);
        ASSERT_TRUE(playsToTheEnd());
        EXPECT_EQ(1, parent_.presses);
        EXPECT_EQ(static_cast<WPARAM>(VK_SPACE), parent_.lastKey);
        EXPECT_EQ(0, parent_.lastKeyData);
        EXPECT_EQ(0u, boxes_.count());
    }
}

// A view without a movie has nothing to play: the play request ends at
// once, as the end of a movie does, so that a waiting module goes on. A name
// that gives no movie is reported once, with the file name, when the view is
// made; a damaged file is reported by the same box, never by one of the
// system's own, which would stop the thread until someone answered it.
TEST_F(AviView, APlayRequestWithoutAMovieEndsAtOnce)
{
    struct Case {
        std::string name;
        const char* reported;   // null: no box
    } cases[] = {
        {std::string(), nullptr},
        {movie("missing.avi"), "」が見つかりません"},
        {movie("damaged.avi"), "」を再生できません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.clear();
        parent_.presses = 0;
        SystemBoxCloser systemBoxes;
        makeView(c.name);
        EXPECT_TRUE(systemBoxes.captions().empty()) << "the system showed " << systemBoxes.captions().front();
        EXPECT_EQ(nullptr, view_->player.window) << "no window is left open";
        EXPECT_EQ(0u, view_->player.deviceId());
        if (c.reported) {
            ASSERT_EQ(1u, boxes_.count());
            EXPECT_EQ("「" + fullPathOf(c.name) + c.reported, boxes_.last().text);
            EXPECT_EQ("KtAviView - open", boxes_.last().caption);
            EXPECT_EQ(0x12000u, boxes_.last().style);
            EXPECT_EQ(view_->handle, boxes_.last().owner);
        } else {
            EXPECT_EQ(0u, boxes_.count());
        }

        post(KtAviView::playMessage);
        ASSERT_TRUE(playsToTheEnd(5000));
        EXPECT_EQ(1, parent_.presses);
        view_->doneEvent.unsignal();
        post(KtAviView::stopMessage);
        ASSERT_TRUE(MessagePump::untilSignalled(view_->doneEvent.handle, 5000)) << "a stop lets a waiter go";
        ASSERT_TRUE(MessagePump::drain(parent_.handle));
        EXPECT_EQ(1, parent_.presses) << "a stop presses no key";
        EXPECT_EQ(c.reported ? 1u : 0u, boxes_.count()) << "reported once, not at each request";
    }
}

// A stop ends the wait on doneEvent but is not an end: no key, although the
// stopped play is still answered (as successful on some systems). Playing
// again goes on from where the movie stopped and presses space once at the end.
TEST_F(AviView, StopThenPlayContinuesAndOnlyTheRealEndPressesSpace)
{
    for (const char* name : {"frames8.avi", "frames32.avi"}) {
        SCOPED_TRACE(name);
        parent_.presses = 0;
        makeView(movie(name));
        post(KtAviView::playMessage);
        ASSERT_TRUE(reachesFrame(3));
        view_->doneEvent.unsignal();
        SendMessageA(view_->handle, KtAviView::stopMessage, 0, 0);
        LONG stoppedAt = view_->player.position();
        EXPECT_LT(stoppedAt, view_->player.end() - 1) << "stopped in the middle";
        EXPECT_EQ(WAIT_OBJECT_0, view_->doneEvent.wait(0)) << "a waiting scenario is let go";
        ASSERT_TRUE(MessagePump::drain(view_->handle));
        ASSERT_TRUE(MessagePump::drain(parent_.handle));
        EXPECT_EQ(0, parent_.presses) << "the answer to the stopped play is no end";

        view_->doneEvent.unsignal();
        SendMessageA(view_->handle, KtAviView::playMessage, 0, 0);
        EXPECT_GE(view_->player.position(), stoppedAt) << "continues, does not start over";
        ASSERT_TRUE(playsToTheEnd());
        EXPECT_EQ(1, parent_.presses);
    }
}

// What the framework asks of the MCI device, in order, with what the device
// was doing at the time and whether its window still existed.
struct DeviceCall {
    UINT command;
    DWORD mode;
    bool windowAlive;
};
std::vector<DeviceCall> deviceCalls;
HWND watchedPlayer = nullptr;
using SendCommand = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);
SendCommand realSendCommand = nullptr;

DWORD modeOf(MCIDEVICEID device)
{
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_MODE;
    if (realSendCommand(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)) != 0)
        return 0;
    return static_cast<DWORD>(status.dwReturn);
}

MCIERROR WINAPI recordCommand(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parameters)
{
    if (command != MCI_STATUS)
        deviceCalls.push_back({command, modeOf(device), IsWindow(watchedPlayer) != FALSE});
    return realSendCommand(device, command, flags, parameters);
}

TEST_F(AviView, DeletingAPlayingViewStopsAndClosesTheMovie)
{
    makeView(movie("frames8.avi"));
    post(KtAviView::playMessage);
    ASSERT_TRUE(reachesFrame(2));
    UINT device = view_->player.deviceId();
    HWND player = view_->player.window;
    HWND window = view_->handle;
    {
        ImportPatch patch("winmm.dll", "mciSendCommandA", reinterpret_cast<const void*>(&recordCommand));
        ASSERT_TRUE(patch.active());
        realSendCommand = reinterpret_cast<SendCommand>(patch.original());
        watchedPlayer = player;
        deviceCalls.clear();
        view_.reset();
    }
    ASSERT_FALSE(deviceCalls.empty());
    EXPECT_EQ(static_cast<UINT>(MCI_STOP), deviceCalls.front().command) << "stopped first";
    EXPECT_EQ(static_cast<DWORD>(MCI_MODE_PLAY), deviceCalls.front().mode) << "while it played";
    EXPECT_TRUE(deviceCalls.front().windowAlive) << "before its window went";
    EXPECT_FALSE(IsWindow(player));
    EXPECT_FALSE(IsWindow(window));
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_MODE;
    EXPECT_NE(0u, mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)))
        << "the device is closed";
    ASSERT_TRUE(MessagePump::drain(parent_.handle));
    EXPECT_EQ(0, parent_.presses);
}

TEST(KtMovieWindow, EveryOperationWithoutAWindowDoesNothing)
{
    KtMovieWindow player{nullptr, nullptr, nullptr};
    EXPECT_EQ(0u, player.deviceId());
    player.play();
    player.stop();
    player.close();
    player.close();
    EXPECT_EQ(nullptr, player.window);
    EXPECT_EQ(0, player.position());
}

}  // namespace
