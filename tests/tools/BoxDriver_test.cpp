// Tests of boxdriver.exe against real message boxes of this process.
#include "KtMessageBox.h"
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <future>
#include <thread>
#include <string>

namespace {

const DWORD timeLimit = 15000;

// Shows a real message box on a thread of its own, owned by a top-level
// window of that thread, and hands back the box's answer.
class BoxOnThread {
public:
    BoxOnThread(const char* text, const char* caption, UINT style)
    {
        answer_ = std::async(std::launch::async, [=] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "BoxDriverOwner";
            RegisterClassA(&wc);
            HWND owner = CreateWindowExA(0, "BoxDriverOwner", "所有者", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
            int result = KtMessageBox::show(owner, text, caption, style);
            DestroyWindow(owner);
            return result;
        });
    }
    // The box's answer, or -1 when it is still open after the time limit.
    int answer()
    {
        if (answer_.wait_for(std::chrono::milliseconds(timeLimit)) != std::future_status::ready)
            return -1;
        return answer_.get();
    }

private:
    std::future<int> answer_;
};

LRESULT CALLBACK refuseClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

TEST(BoxDriver, ReportsTheBoxAndPressesTheChosenButton)
{
    BoxOnThread box("一行目\n二行目 \\ 終わり", "boxdriver probe", KtMessageBox::yesNo);
    ProcessRunner driver;
    ASSERT_TRUE(driver.run("boxdriver.exe", "--caption \"boxdriver probe\" --button 7", timeLimit));
    EXPECT_EQ(0u, driver.exitCode()) << driver.errors();
    EXPECT_EQ("caption=boxdriver probe\n"
              "text=一行目\\n二行目 \\\\ 終わり\n"
              "owner-class=BoxDriverOwner\n"
              "owner-caption=所有者\n"
              "pressed=7\n",
              driver.output());
    EXPECT_EQ(IDNO, box.answer());
}

TEST(BoxDriver, AButtonTheBoxLacksIsRefusedAndTheBoxStays)
{
    BoxOnThread box("only OK", "boxdriver notice", KtMessageBox::notice);
    ProcessRunner driver;
    ASSERT_TRUE(driver.run("boxdriver.exe", "--caption \"boxdriver notice\" --button 7", timeLimit));
    EXPECT_EQ(2u, driver.exitCode());

    // Any caption: the same box is still open and OK closes it.
    ProcessRunner ok;
    ASSERT_TRUE(ok.run("boxdriver.exe", "--button 1", timeLimit));
    EXPECT_EQ(0u, ok.exitCode()) << ok.errors();
    EXPECT_NE(std::string::npos, ok.output().find("caption=boxdriver notice\n")) << ok.output();
    EXPECT_EQ(IDOK, box.answer());
}

TEST(BoxDriver, CloseActsLikeTheSystemCloseCommand)
{
    // A box with Cancel takes WM_CLOSE as Cancel.
    BoxOnThread okCancel("close me", "boxdriver close", KtMessageBox::okCancel);
    ProcessRunner driver;
    ASSERT_TRUE(driver.run("boxdriver.exe", "--caption \"boxdriver close\" --close", timeLimit));
    EXPECT_EQ(0u, driver.exitCode()) << driver.errors();
    EXPECT_NE(std::string::npos, driver.output().find("closed\n")) << driver.output();
    EXPECT_EQ(IDCANCEL, okCancel.answer());

}

TEST(BoxDriver, CloseReportsAWindowThatStaysOpen)
{
    // A window that refuses WM_CLOSE, as a game that first asks the player.
    std::promise<HWND> made;
    std::future<HWND> window = made.get_future();
    std::thread owner([&made] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = refuseClose;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BoxDriverStubborn";
        RegisterClassA(&wc);
        HWND w = CreateWindowExA(0, "BoxDriverStubborn", "stubborn", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        made.set_value(w);
        MSG msg;
        while (IsWindow(w) && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    });
    HWND stubborn = window.get();
    ProcessRunner driver;
    ASSERT_TRUE(driver.run("boxdriver.exe", "--class BoxDriverStubborn --close --timeout 500", timeLimit));
    EXPECT_EQ(3u, driver.exitCode()) << driver.output();
    EXPECT_NE(std::string::npos, driver.output().find("caption=stubborn\n")) << driver.output();
    EXPECT_TRUE(IsWindow(stubborn));
    // The window goes with its thread.
    PostThreadMessageA(GetWindowThreadProcessId(stubborn, nullptr), WM_QUIT, 0, 0);
    owner.join();
}

TEST(BoxDriver, GivesUpWhenNoBoxAppears)
{
    ProcessRunner driver;
    DWORD start = GetTickCount();
    ASSERT_TRUE(driver.run("boxdriver.exe", "--caption \"never shown\" --timeout 300", timeLimit));
    EXPECT_EQ(1u, driver.exitCode());
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ("", driver.output());
    EXPECT_NE(std::string::npos, driver.errors().find("300 ms")) << driver.errors();
}

TEST(BoxDriver, BadArgumentsAreAUsageError)
{
    ProcessRunner driver;
    ASSERT_TRUE(driver.run("boxdriver.exe", "--button", timeLimit));
    EXPECT_EQ(64u, driver.exitCode());
    EXPECT_NE(std::string::npos, driver.errors().find("usage")) << driver.errors();
}

TEST(ProcessRunner, AProgramThatCannotStartIsReported)
{
    ProcessRunner runner;
    EXPECT_FALSE(runner.start("no-such-program.exe", ""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), runner.startError());
    EXPECT_FALSE(runner.wait(100));
}
