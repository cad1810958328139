// KtMonitor.exe against a running Pomelo.exe: attach, the copy-data records, writes, index checks and the end of the game.
#include "KtMonitorRecord.h"
#include "KtRegisterStore.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const char* const title = "ＰＯＭＥＬＯ";
const DWORD waitLimit = 20000;

// The probe module's two switches; manual reset, made before the game starts.
class ProbeSwitch {
public:
    explicit ProbeSwitch(const char* name) : event_(CreateEventA(nullptr, TRUE, FALSE, name)) {}
    ~ProbeSwitch() { CloseHandle(event_); }
    ProbeSwitch(const ProbeSwitch&) = delete;
    ProbeSwitch& operator=(const ProbeSwitch&) = delete;
    void set() { SetEvent(event_); }

private:
    HANDLE event_;
};

struct MonitorResult {
    DWORD exitCode;
    std::string output;
};

class MonitorRun : public ::testing::Test {
protected:
    // The game starts only once set up, in a window of its own.
    void SetUp() override
    {
        KtRegistryKey product;
        product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
        product.setInt(KtRegistryNames::setupMode, 1);
        product.setInt(KtRegistryNames::frameMode, 0);
    }
    void TearDown() override
    {
        if (game_.exitCode() == STILL_ACTIVE) {
            end_.set();
            PostMessageA(FindWindowA("desert_Pomelo", title), WM_CLOSE, 0, 0);
            game_.wait(waitLimit);
        }
    }

    std::string prepareFolder(const std::string& scenario)
    {
        folder_ = ProcessRunner::programFolder() + "run-monitor-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        std::string ini = folder_ + "\\Pomelo.ini";
        DeleteFileA(ini.c_str());
        WritePrivateProfileStringA(title, "scenario", scenario.c_str(), ini.c_str());
        WritePrivateProfileStringA(title, "entry", "hege", ini.c_str());
        return folder_;
    }

    void startGame(const std::string& scenario)
    {
        prepareFolder(scenario);
        ASSERT_TRUE(game_.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder_));
    }

    static MonitorResult monitor(const std::string& arguments)
    {
        ProcessRunner runner;
        EXPECT_TRUE(runner.run(ProcessRunner::programFolder() + "KtMonitor.exe", arguments, waitLimit))
            << "KtMonitor " << arguments;
        return {runner.exitCode(), runner.output()};
    }

    // The module publishes its registers on its own thread, some time after
    // the game's window answers; writes sent before that are ignored.
    static bool waitUntilPublished()
    {
        for (int i = 0; i < 200; ++i)
            if (monitor("--print").output.find("game[0]=") != std::string::npos)
                return true;
        return false;
    }

    DWORD finish()
    {
        EXPECT_TRUE(game_.wait(waitLimit)) << "Pomelo.exe did not end";
        return game_.exitCode();
    }

    // The system registers as the game saved them in the run's folder.
    std::vector<DWORD> savedSystemRegisters()
    {
        KtRegisterStore saved((folder_ + "\\").c_str());
        std::vector<DWORD> values;
        if (saved.loadSystem())
            values.assign(saved.systemRegisters.values(),
                          saved.systemRegisters.values() + saved.systemRegisters.count());
        return values;
    }

    ProbeSwitch publish_{"KtMonitorProbe.publish"};
    ProbeSwitch end_{"KtMonitorProbe.end"};
    ProcessRunner game_;
    std::string folder_;
};

const char probeRegisters[] =
    "game[0]=11\ngame[1]=-22\ngame[2]=33\ngame[3]=2147483647\n"
    "system[0]=5\nsystem[1]=6\nsystem[2]=7\n"
    "string[0]=alpha\nstring[1]=ベータ\nstring[2]=\n"
    "text=probe\\ntext\n";

TEST_F(MonitorRun, NothingIsSentBeforePublishingThenTheFourRecordKinds)
{
    startGame("monitor_probe");
    MonitorResult early = monitor("--records --request 0x747 0 --request 0x748 0 "
                                  "--request 0x749 0 --request 0x74D 0 --set-game 0 99 --print");
    EXPECT_EQ(0u, early.exitCode);
    EXPECT_EQ("attached\n", early.output) << "no record and no register before publishing";

    publish_.set();
    MonitorResult full;
    for (int i = 0; i < 100; ++i) {   // the module publishes on its own thread
        full = monitor("--records --print");
        if (full.output != "attached\n")
            break;
    }
    EXPECT_EQ(0u, full.exitCode);
    EXPECT_EQ(std::string("attached\n"
                          "record dwData=0x01000004 cbData=16\n"
                          "record dwData=0x02000003 cbData=12\n"
                          "record dwData=0x03000000 cbData=6\n"
                          "record dwData=0x03000001 cbData=7\n"
                          "record dwData=0x03000002 cbData=1\n"
                          "record dwData=0x04000000 cbData=11\n")
                  + probeRegisters,
              full.output)
        << "the write before publishing changed nothing";

    end_.set();
    EXPECT_EQ(0u, finish());
}

TEST_F(MonitorRun, WritesReachTheRegistersAndSystemWritesAreSavedAtOnce)
{
    publish_.set();
    startGame("monitor_probe");
    ASSERT_TRUE(waitUntilPublished());
    DeleteFileA((folder_ + "\\.system.dat").c_str());
    MonitorResult result = monitor("--set-game 1 -5 --set-system 2 77 --set-string 1 新しい文字 "
                                   "--set-string 2 \"two words\" --print");
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ("attached\n"
              "game[0]=11\ngame[1]=-5\ngame[2]=33\ngame[3]=2147483647\n"
              "system[0]=5\nsystem[1]=6\nsystem[2]=77\n"
              "string[0]=alpha\nstring[1]=新しい文字\nstring[2]=two words\n"
              "text=probe\\ntext\n",
              result.output);
    EXPECT_EQ((std::vector<DWORD>{5, 6, 77}), savedSystemRegisters())
        << ".system.dat is written while the game still runs";
    end_.set();
    EXPECT_EQ(0u, finish());
}

TEST_F(MonitorRun, IndexesOutsideTheArraysChangeAndSendNothing)
{
    publish_.set();
    startGame("monitor_probe");
    ASSERT_TRUE(waitUntilPublished());
    DeleteFileA((folder_ + "\\.system.dat").c_str());
    // A warning box for a bad index would block the game's main thread and
    // time out the monitor's next request: exit code 0 proves there was none.
    MonitorResult result = monitor("--records --set-game 4 1 --set-game -1 1 --set-system 3 1 "
                                   "--set-system -1 1 --set-string 3 x "
                                   "--request 0x749 3 --request 0x749 -1 --request 0x749 2");
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_EQ("attached\nrecord dwData=0x03000002 cbData=1\n", result.output);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder_ + "\\.system.dat").c_str()))
        << "a refused system write saves nothing";
    EXPECT_EQ(std::string("attached\n") + probeRegisters, monitor("--print").output);
    end_.set();
    EXPECT_EQ(0u, finish());
}

// A window of this process plays the monitor, to send what KtMonitor.exe
// never sends: text without its terminating zero, and copy data from a
// window that is not the attached monitor.
TEST_F(MonitorRun, CopyDataIsReadOnlyWithinItsSizeAndOnlyFromTheMonitor)
{
    publish_.set();
    startGame("monitor_probe");
    ASSERT_TRUE(waitUntilPublished());
    HWND game = FindWindowA("desert_Pomelo", title);
    HWND self = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND stranger = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(reinterpret_cast<LRESULT>(game),
              SendMessageA(game, 0x745, reinterpret_cast<WPARAM>(self), 0));
    char unterminated[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    COPYDATASTRUCT record{KtMonitorRecord::stringRegister + 0, 3, unterminated};
    EXPECT_EQ(0, SendMessageA(game, WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                              reinterpret_cast<LPARAM>(&record)));
    COPYDATASTRUCT foreign{KtMonitorRecord::stringRegister + 1, 2, const_cast<char*>("x")};
    SendMessageA(game, WM_COPYDATA, reinterpret_cast<WPARAM>(stranger),
                 reinterpret_cast<LPARAM>(&foreign));
    EXPECT_EQ(0, SendMessageA(game, 0x746, 0, 0));
    DestroyWindow(stranger);
    DestroyWindow(self);

    std::string output = monitor("--print").output;
    EXPECT_NE(std::string::npos, output.find("string[0]=abc\n")) << output;
    EXPECT_NE(std::string::npos, output.find("string[1]=ベータ\n")) << output;
    end_.set();
    EXPECT_EQ(0u, finish());
}

TEST_F(MonitorRun, TheMonitorIsToldWhenTheScenarioEnds)
{
    publish_.set();
    startGame("monitor_probe");
    ASSERT_TRUE(waitUntilPublished());
    ProcessRunner watcher;
    ASSERT_TRUE(watcher.start(ProcessRunner::programFolder() + "KtMonitor.exe", "--wait-end 15000"));
    bool attached = false;
    for (int i = 0; i < 300 && !attached; ++i, Sleep(20))
        attached = FindWindowA("KtMonitorReceiver", "KtMonitor attached") != nullptr;
    ASSERT_TRUE(attached);
    end_.set();
    ASSERT_TRUE(watcher.wait(waitLimit));
    EXPECT_EQ(0u, watcher.exitCode());
    EXPECT_EQ("attached\nended\n", watcher.output());
    EXPECT_EQ(0u, finish());
}

std::string controlText(HWND window, int id)
{
    char text[4096] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

// Polls a control of the monitor's window (another process) for a text.
bool waitForText(HWND window, int id, const std::string& part)
{
    for (int i = 0; i < 250; ++i, Sleep(20))
        if (controlText(window, id).find(part) != std::string::npos)
            return true;
    return false;
}

TEST_F(MonitorRun, TheWindowShowsTheRegistersAndTheEndOfTheGame)
{
    const int statusId = 100, listingId = 101;
    publish_.set();
    startGame("monitor_probe");
    ProcessRunner window;
    ASSERT_TRUE(window.start(ProcessRunner::programFolder() + "KtMonitor.exe", ""));
    HWND shown = nullptr;
    for (int i = 0; i < 250 && !shown; ++i, Sleep(20))
        shown = FindWindowA("KtMonitor", "ＰＯＭＥＬＯ register monitor");
    ASSERT_NE(nullptr, shown);
    EXPECT_TRUE(waitForText(shown, listingId, "game[3]=2147483647\r\nsystem[0]=5"))
        << controlText(shown, listingId);
    // A change made by another monitor shows at a later refresh of the timer.
    ASSERT_EQ(0u, monitor("--set-game 2 4444").exitCode);
    EXPECT_TRUE(waitForText(shown, listingId, "game[2]=4444")) << controlText(shown, listingId);

    end_.set();
    EXPECT_EQ(0u, finish());
    EXPECT_TRUE(waitForText(shown, statusId, "ゲームは終了しました")) << controlText(shown, statusId);
    PostMessageA(shown, WM_CLOSE, 0, 0);
    ASSERT_TRUE(window.wait(waitLimit));
    EXPECT_EQ(0u, window.exitCode());
}

TEST_F(MonitorRun, WithoutAGameTheMonitorSaysSo)
{
    MonitorResult result = monitor("--timeout 200 --print");
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ("no game to attach to\n", result.output);
}

// The sample game counts its starts in system register 0.
TEST_F(MonitorRun, TheStartCounterSurvivesTwoRunsInSystemDat)
{
    prepareFolder("hoge");
    DeleteFileA((folder_ + "\\.system.dat").c_str());
    for (DWORD run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        ProcessRunner game;
        ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder_));
        std::string expected = "system[0]=" + std::to_string(run) + "\n";
        std::string output;
        for (int i = 0; i < 100 && output.find(expected) == std::string::npos; ++i)
            output = monitor("--print").output;
        EXPECT_NE(std::string::npos, output.find(expected)) << output;
        PostMessageA(FindWindowA("desert_Pomelo", title), WM_CLOSE, 0, 0);
        ASSERT_TRUE(game.wait(waitLimit));
        EXPECT_EQ(0u, game.exitCode());
        std::vector<DWORD> saved = savedSystemRegisters();
        ASSERT_FALSE(saved.empty());
        EXPECT_EQ(run, saved[0]);
    }
}

}  // namespace
