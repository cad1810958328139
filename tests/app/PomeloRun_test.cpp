// Pomelo.exe end to end: start-up checks, scenario runs and their endings, every box answered from outside.
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace {

const char* const title = "ＰＯＭＥＬＯ";
const DWORD waitLimit = 20000;

// A box seen by boxdriver: caption, text, owner's class and caption.
using Box = std::map<std::string, std::string>;

Box parseBox(const std::string& output)
{
    Box box;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        auto equals = line.find('=');
        if (equals != std::string::npos)
            box[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return box;
}

// Waits for a box with the caption and presses the button.
Box answerBox(const std::string& caption, int button = IDOK)
{
    ProcessRunner driver;
    std::string arguments = "--caption \"" + caption + "\" --button " + std::to_string(button)
                            + " --timeout 15000";
    EXPECT_TRUE(driver.run(ProcessRunner::programFolder() + "boxdriver.exe", arguments, waitLimit));
    EXPECT_EQ(0u, driver.exitCode()) << "no box captioned " << caption << ": " << driver.errors();
    return parseBox(driver.output());
}

void setProductInt(const char* name, DWORD value)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    product.setInt(name, value);
}

void deleteProductValue(const char* name)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    RegDeleteValueA(product.handle(), name);
}

DWORD productInt(const char* name, DWORD fallback)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    return product.getInt(name, fallback);
}

// Asked in a process of its own: this process would only see its own switch
// under Wine. Exposes a switch the game forgets to undo, or makes too late.
bool screenSaverActive()
{
    ProcessRunner probe;
    if (!probe.run(ProcessRunner::programFolder() + "saverprobe.exe", "", waitLimit))
        return false;
    EXPECT_EQ(0u, probe.exitCode());
    return probe.output().compare(0, 1, "1") == 0;
}

// Waits until a box with the caption is up, without answering it.
bool waitForBox(const char* caption)
{
    for (int i = 0; i < 300; ++i, Sleep(50)) {
        HWND box = FindWindowA("#32770", caption);
        if (box && IsWindowVisible(box))
            return true;
    }
    return false;
}

class PomeloRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        setProductInt(KtRegistryNames::setupMode, 1);
        setProductInt(KtRegistryNames::frameMode, 0);
        deleteProductValue(KtRegistryNames::windowX);
        deleteProductValue(KtRegistryNames::windowY);
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
        SetEnvironmentVariableA("POMELO_STANDIN_SETUPMODE", nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(screenSaverActive()) << "the screen saver setting is restored";
        setProductInt(KtRegistryNames::setupMode, 1);
    }

    // A folder of its own for one run, with a Pomelo.ini naming the module
    // and entry, and optionally the setup tool's stand-in as KtConfig.exe.
    std::string prepareFolder(const std::string& scenario, const std::string& entry,
                              bool withSetupStandIn = false)
    {
        std::string folder = ProcessRunner::programFolder() + "run-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        std::string ini = folder + "\\Pomelo.ini";
        DeleteFileA(ini.c_str());
        WritePrivateProfileStringA(title, "scenario", scenario.c_str(), ini.c_str());
        WritePrivateProfileStringA(title, "entry", entry.c_str(), ini.c_str());
        DeleteFileA((folder + "\\standin-ran.txt").c_str());
        std::string standIn = folder + "\\KtConfig.exe";
        if (withSetupStandIn)
            CopyFileA((ProcessRunner::programFolder() + "setup_standin.exe").c_str(), standIn.c_str(), FALSE);
        else
            DeleteFileA(standIn.c_str());
        return folder;
    }

    bool startGame(const std::string& folder)
    {
        return game_.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder);
    }

    DWORD finish()
    {
        EXPECT_TRUE(game_.wait(waitLimit)) << "Pomelo.exe did not end";
        return game_.exitCode();
    }

    static HWND waitForGameWindow()
    {
        for (int i = 0; i < 200; ++i) {
            if (HWND window = FindWindowA("desert_Pomelo", title))
                if (IsWindowVisible(window))
                    return window;
            Sleep(50);
        }
        return nullptr;
    }

    ProcessRunner game_;
};

TEST_F(PomeloRun, AChainThatEndsClosesTheProgramWithExitCodeZero)
{
    std::string folder = prepareFolder("chain_three", "hege");
    ASSERT_TRUE(startGame(folder));
    EXPECT_EQ(0u, finish());
}

TEST_F(PomeloRun, AMissingEntryExportClosesWithoutAMessage)
{
    std::string folder = prepareFolder("chain_three", "noSuchEntry");
    ASSERT_TRUE(startGame(folder));
    EXPECT_EQ(0u, finish());
}

TEST_F(PomeloRun, AMissingModuleIsReportedAndTheProgramEndsInOrder)
{
    std::string folder = prepareFolder("no_such_module", "hege");
    ASSERT_TRUE(startGame(folder));
    Box box = answerBox("KtString class");
    EXPECT_EQ("no_such_moduleがロードできません", box["text"]);
    EXPECT_EQ("", box["owner-class"]);
    EXPECT_NE(0u, finish()) << "a module that cannot be loaded ends with a nonzero code";
}

TEST_F(PomeloRun, ADiagnosticAtTheThirdStepCallsTheExceptionEntryThenShowsItsBox)
{
    std::string folder = prepareFolder("throw_third", "hege");
    ASSERT_TRUE(startGame(folder));
    Box entry = answerBox("EXCEPTION_ENTRY");
    EXPECT_EQ("EXCEPTION_ENTRY", entry["text"]);
    Box diagnostic = answerBox("cannot read");
    EXPECT_EQ("scenario.dat", diagnostic["text"]);
    // Owned by the scenario host window; a box owned by a child window is
    // owned by its top-level window, as on Windows.
    EXPECT_EQ("desert_Pomelo", diagnostic["owner-class"]);
    EXPECT_EQ(0u, finish());
}

TEST_F(PomeloRun, AModuleWithoutExceptionEntryEndsTheSameWay)
{
    std::string folder = prepareFolder("throw_third_bare", "hege");
    ASSERT_TRUE(startGame(folder));
    Box diagnostic = answerBox("cannot read");
    EXPECT_EQ("scenario.dat", diagnostic["text"]);
    EXPECT_EQ(0u, finish());
}

struct SetupCase {
    const char* standInWrites;   // what the setup tool leaves behind
    const char* expectedText;    // null: no box
};

TEST_F(PomeloRun, TheSetupStateDecidesAfterTheSetupToolHasRun)
{
    const SetupCase cases[] = {
        {"0", "初期設定が行われていません。もう一度ゲームを起動して適切に初期設定して下さい。"},
        {"delete", "初期設定が行われていません。もう一度ゲームを起動して適切に初期設定して下さい。"},
        {"2", "初期設定が中断されています。もう一度ゲームを起動して適切に初期設定して下さい。"},
        {"3", nullptr},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.standInWrites);
        setProductInt(KtRegistryNames::setupMode, 0);
        std::string folder = prepareFolder("chain_three", "hege", true);
        SetEnvironmentVariableA("POMELO_STANDIN_SETUPMODE", c.standInWrites);
        ProcessRunner game;
        ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder));
        if (c.expectedText) {
            ASSERT_TRUE(waitForBox(title));
            EXPECT_FALSE(screenSaverActive()) << "off from before the setup check";
            Box box = answerBox(title);
            EXPECT_EQ(c.expectedText, box["text"]);
            EXPECT_EQ("", box["owner-class"]);
        }
        ASSERT_TRUE(game.wait(waitLimit));
        EXPECT_EQ(0u, game.exitCode());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES,
                  GetFileAttributesA((folder + "\\standin-ran.txt").c_str()))
            << "the setup tool was run";
        EXPECT_EQ(nullptr, FindWindowA("desert_Pomelo", title));
        EXPECT_TRUE(screenSaverActive());
    }
}

TEST_F(PomeloRun, TheGameDiscDriveIsCopiedToTheFrameworkKey)
{
    for (const char* drive : {"Q:", ""}) {
        KtRegistryKey product;
        product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
        product.setString(KtRegistryNames::cdromDrive, KtString(drive));
        std::string folder = prepareFolder("chain_three", "hege");
        ProcessRunner game;
        ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder));
        ASSERT_TRUE(game.wait(waitLimit));
        KtRegistryKey framework;
        framework.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                       KtRegistryNames::frameworkKeyOptions);
        DWORD size = 0;
        auto value = framework.queryValue(KtRegistryNames::gameDiscDrive, REG_SZ, &size);
        ASSERT_TRUE(value) << "CD-ROM written for '" << drive << "'";
        EXPECT_STREQ(drive, reinterpret_cast<const char*>(value.get()));
    }
}

TEST_F(PomeloRun, TheOpenSetupToolBlocksTheStartWithAWarningItOwns)
{
    HWND setupTool = CreateWindowExA(0, "STATIC", "ＰＯＭＥＬＯ セットアップ", WS_POPUP | WS_VISIBLE,
                                     0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                                     nullptr);
    ASSERT_NE(nullptr, setupTool);
    std::string folder = prepareFolder("chain_three", "hege");
    ASSERT_TRUE(startGame(folder));
    // This thread owns the stand-in setup window: keep its messages flowing
    // while the other program asks for its caption.
    ProcessRunner driver;
    ASSERT_TRUE(driver.start(ProcessRunner::programFolder() + "boxdriver.exe",
                             "--caption \"ＰＯＭＥＬＯ execute manager - warning\" --timeout 15000"));
    DWORD until = GetTickCount() + waitLimit;
    while (!driver.wait(20) && static_cast<int>(until - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    Box box = parseBox(driver.output());
    EXPECT_EQ("セットアップ起動中は、ゲームを開始できません。\\nセットアップを終了させてから実行してください。",
              box["text"]);
    EXPECT_EQ("ＰＯＭＥＬＯ セットアップ", box["owner-caption"]);
    EXPECT_EQ(0u, finish());
    DestroyWindow(setupTool);
}

TEST_F(PomeloRun, ASecondInstanceExitsAndBringsTheFirstToTheFront)
{
    std::string folder = prepareFolder("hoge", "hege");
    ASSERT_TRUE(startGame(folder));
    HWND first = waitForGameWindow();
    ASSERT_NE(nullptr, first);
    ProcessRunner second;
    ASSERT_TRUE(second.run(ProcessRunner::programFolder() + "Pomelo.exe", "", waitLimit));
    EXPECT_EQ(0u, second.exitCode());
    EXPECT_EQ(first, GetForegroundWindow());
    PostMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, finish());
}

// Reads one game register of the running game through the register monitor.
long gameRegister(int index)
{
    ProcessRunner monitor;
    if (!monitor.run(ProcessRunner::programFolder() + "KtMonitor.exe", "--print", waitLimit))
        return -1;
    std::string key = "game[" + std::to_string(index) + "]=";
    auto at = monitor.output().find(key);
    return at == std::string::npos ? -1 : std::stol(monitor.output().substr(at + key.size()));
}

// Polls a game register until it holds the value, for at most tries tenths
// of a second.
bool registerBecomes(int index, long value, int tries = 100)
{
    for (int i = 0; i < tries; ++i) {
        if (gameRegister(index) == value)
            return true;
        Sleep(100);
    }
    return false;
}

void pressKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Escape counts only while the game waits for the player (the title asks
// once its picture has faded in): it is pressed again until the menu shows.
HWND openMenu(HWND window)
{
    for (int tries = 0; tries < 20; ++tries) {
        pressKey(window, VK_ESCAPE);
        for (int i = 0; i < 10; ++i) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (menu && IsWindowVisible(menu))
                return menu;
            Sleep(50);
        }
    }
    return nullptr;
}

// The sample game's title waits for any input, and Escape opens its menu,
// whose "ゲームを終了" ends it. (HogeGame_test plays the whole game.)
TEST_F(PomeloRun, TheSampleGameWaitsForThePlayerAndEndsFromItsMenu)
{
    std::string folder = prepareFolder("hoge", "hege");
    ASSERT_TRUE(startGame(folder));
    HWND window = waitForGameWindow();
    ASSERT_NE(nullptr, window);
    const int inputs = 1;
    const int mode = 2;
    ASSERT_TRUE(registerBecomes(mode, 0)) << "the registers are published";
    ASSERT_EQ(0, gameRegister(inputs));
    EXPECT_FALSE(screenSaverActive()) << "the screen saver is off while the game runs";

    // Escape opens the game menu; the menu that is dismissed changes nothing.
    HWND menu = openMenu(window);
    ASSERT_NE(nullptr, menu) << "the game menu opens; last input " << gameRegister(3)
                             << ", inputs " << gameRegister(inputs) << ", choice " << gameRegister(4);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 100 && IsWindowVisible(menu); ++i)
        Sleep(50);
    EXPECT_TRUE(game_.wait(500) == false) << "a dismissed menu leaves the game running";

    menu = openMenu(window);
    ASSERT_NE(nullptr, menu);
    // Continue, separator (skipped), end the game.
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(0u, finish()) << "ending the game from the menu closes the program";
}

struct FrameCase {
    DWORD frameMode;
    int storedX, storedY;
    RECT expectedWindow;   // left, top, right, bottom on a 1024 x 768 screen
    RECT expectedHost;     // in the client area
};

TEST_F(PomeloRun, TheWindowTakesTheShapeOfItsFrameModeAndStoresItsPosition)
{
    const int frameW = GetSystemMetrics(SM_CXFIXEDFRAME);
    const int frameH = GetSystemMetrics(SM_CYFIXEDFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int outerW = 640 + 2 * frameW;
    const int outerH = 480 + caption + 2 * frameH;
    const FrameCase cases[] = {
        {0, -1, -1, {0, 0, outerW, outerH}, {0, 0, 640, 480}},
        {0, 900, 700, {462, 334, 462 + outerW, 334 + outerH}, {0, 0, 640, 480}},
        {0, 30, 40, {30, 40, 30 + outerW, 40 + outerH}, {0, 0, 640, 480}},
        {1, 30, 40, {0, 0, 1024, 768}, {192, 144, 832, 624}},
        {2, 30, 40, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
    };
    ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN));
    for (const FrameCase& c : cases) {
        SCOPED_TRACE("frameMode " + std::to_string(c.frameMode) + " sx " + std::to_string(c.storedX));
        setProductInt(KtRegistryNames::frameMode, c.frameMode);
        if (c.storedX >= 0) {
            setProductInt(KtRegistryNames::windowX, c.storedX);
            setProductInt(KtRegistryNames::windowY, c.storedY);
        } else {
            deleteProductValue(KtRegistryNames::windowX);
            deleteProductValue(KtRegistryNames::windowY);
        }
        std::string folder = prepareFolder("hoge", "hege");
        ProcessRunner game;
        ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder));
        HWND window = waitForGameWindow();
        ASSERT_NE(nullptr, window);
        HWND host = nullptr;
        for (int i = 0; i < 100 && !host; ++i, Sleep(20))   // made once the window is shown
            host = FindWindowExA(window, nullptr, "KtChildWindow", nullptr);
        ASSERT_NE(nullptr, host);
        RECT hostRect{};
        for (int i = 0; i < 100; ++i) {   // the host is sized by a posted WM_SIZE
            GetWindowRect(host, &hostRect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&hostRect), 2);
            if (hostRect.right - hostRect.left == c.expectedHost.right - c.expectedHost.left)
                break;
            Sleep(20);
        }
        RECT windowRect;
        GetWindowRect(window, &windowRect);
        EXPECT_EQ(c.expectedWindow.left, windowRect.left);
        EXPECT_EQ(c.expectedWindow.top, windowRect.top);
        EXPECT_EQ(c.expectedWindow.right, windowRect.right);
        EXPECT_EQ(c.expectedWindow.bottom, windowRect.bottom);
        // Client coordinates of a captioned window start inside its frame.
        if (c.frameMode == 0) {
            RECT client;
            GetClientRect(window, &client);
            EXPECT_EQ(640, client.right);
            EXPECT_EQ(480, client.bottom);
        }
        EXPECT_EQ(c.expectedHost.left, hostRect.left);
        EXPECT_EQ(c.expectedHost.top, hostRect.top);
        EXPECT_EQ(c.expectedHost.right, hostRect.right);
        EXPECT_EQ(c.expectedHost.bottom, hostRect.bottom);

        if (c.frameMode == 0)
            SetWindowPos(window, nullptr, 77, 88, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(game.wait(waitLimit));
        EXPECT_EQ(0u, game.exitCode());
        EXPECT_EQ(c.frameMode == 0 ? 77u : 0u, productInt(KtRegistryNames::windowX, 999));
        EXPECT_EQ(c.frameMode == 0 ? 88u : 0u, productInt(KtRegistryNames::windowY, 999));
    }
}

// Lets the misbehaving module go on once the test has looked at the game.
void letTheModuleMisbehave()
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "PomeloTestMisbehaveGo");
    SetEvent(go);
    Sleep(200);   // the module opens the event by name; keep it alive meanwhile
    CloseHandle(go);
}

// Nothing in the host catches the first two, and the third never ends after
// the window has been closed: the process still puts the screen saver (and
// a switched display mode) back and ends with the code for what happened.
TEST_F(PomeloRun, AModuleThatCrashesEndsTheProgramWithTheScreenSaverBack)
{
    struct Case {
        const char* entry;
        bool closeWindow;   // else the module is let go
        DWORD exitCode;
    };
    const Case cases[] = {
        {"throwOther", false, 5},
        {"fault", false, 5},
        {"ignoreQuit", true, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        std::string folder = prepareFolder("misbehave", c.entry);
        ProcessRunner game;
        ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder));
        HWND window = waitForGameWindow();
        ASSERT_NE(nullptr, window);
        EXPECT_FALSE(screenSaverActive()) << "off while the game runs";
        if (c.closeWindow)
            PostMessageA(window, WM_CLOSE, 0, 0);
        else
            letTheModuleMisbehave();
        ASSERT_TRUE(game.wait(waitLimit)) << "Pomelo.exe did not end";
        EXPECT_EQ(c.exitCode, game.exitCode());
        EXPECT_TRUE(screenSaverActive());
        EXPECT_EQ(nullptr, FindWindowA("desert_Pomelo", title));
    }
}

// The window is closed without the hook's confirmation and the module fails
// on its way out: its box, owned by the game window, comes up while the
// main thread waits for the scenario to end, and must be answerable.
TEST_F(PomeloRun, AModuleFailingWhileTheWindowClosesShowsItsBoxAndTheProgramEnds)
{
    std::string folder = prepareFolder("misbehave", "throwOnQuit");
    ASSERT_TRUE(startGame(folder));
    HWND window = waitForGameWindow();
    ASSERT_NE(nullptr, window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    Box box = answerBox("cannot save");
    EXPECT_EQ("quit.dat", box["text"]);
    EXPECT_EQ("desert_Pomelo", box["owner-class"]);
    EXPECT_EQ(0u, finish());
}

}  // namespace
