// KtAviView: opening, playing to the end, stopping and continuing, and deleting a playing view.
#include "KtAviView.h"
#include "MessagePump.h"
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <string>
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

    KeyCounter parent_;
    std::unique_ptr<KtAviView> view_;
};

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

// Both movie depths play to their end; the end presses space once in the
// parent and signals doneEvent.
TEST_F(AviView, TheEndPressesSpaceOnceInTheParentAndSignalsDone)
{
    for (const char* name : {"frames8.avi", "frames32.avi"}) {
        SCOPED_TRACE(name);
        parent_.presses = 0;
        makeView(movie(name));
        ASSERT_NE(0u, view_->player.deviceId());
        post(KtAviView::playMessage);
        ASSERT_TRUE(playsToTheEnd());
        EXPECT_EQ(1, parent_.presses);
        EXPECT_EQ(static_cast<WPARAM>(VK_SPACE), parent_.lastKey);
        EXPECT_EQ(0, parent_.lastKeyData);
        EXPECT_GE(view_->player.position(), view_->player.end() - 1) << "on the last frame";
    }
}

// Without a movie the view is empty and the play request changes nothing.
TEST_F(AviView, APlayRequestWithoutAMovieDoesNothing)
{
    for (const std::string& name : {std::string(), movie("missing.avi")}) {
        SCOPED_TRACE(name);
        makeView(name);
        EXPECT_EQ(nullptr, view_->player.window);
        EXPECT_EQ(0u, view_->player.deviceId());
        post(KtAviView::playMessage);
        post(KtAviView::stopMessage);
        ASSERT_TRUE(MessagePump::drain(view_->handle));
        ASSERT_TRUE(MessagePump::drain(parent_.handle));
        EXPECT_NE(WAIT_OBJECT_0, view_->doneEvent.wait(0));
        EXPECT_EQ(0, parent_.presses);
    }
}

// A stop ends the wait on doneEvent but is not an end: no key. Playing
// again goes on from where the movie stopped and presses space once at the end.
TEST_F(AviView, StopThenPlayContinuesAndOnlyTheRealEndPressesSpace)
{
    makeView(movie("frames8.avi"));
    post(KtAviView::playMessage);
    ASSERT_TRUE(reachesFrame(5));
    view_->doneEvent.unsignal();
    SendMessageA(view_->handle, KtAviView::stopMessage, 0, 0);
    LONG stoppedAt = view_->player.position();
    EXPECT_LT(stoppedAt, view_->player.end());
    EXPECT_EQ(WAIT_OBJECT_0, view_->doneEvent.wait(0)) << "a waiting scenario is let go";

    view_->doneEvent.unsignal();
    SendMessageA(view_->handle, KtAviView::playMessage, 0, 0);
    EXPECT_GE(view_->player.position(), stoppedAt) << "continues, does not start over";
    ASSERT_TRUE(playsToTheEnd());
    EXPECT_EQ(1, parent_.presses) << "the stop pressed no key";
}

TEST_F(AviView, DeletingAPlayingViewStopsAndClosesTheMovie)
{
    makeView(movie("frames8.avi"));
    post(KtAviView::playMessage);
    ASSERT_TRUE(reachesFrame(2));
    UINT device = view_->player.deviceId();
    HWND player = view_->player.window;
    HWND window = view_->handle;
    view_.reset();
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
