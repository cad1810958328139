// Pomelo.exe with the sample game: the player's close command asks first, No keeps playing, Yes ends the game.
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const char* const title = "ＰＯＭＥＬＯ";
const DWORD waitLimit = 20000;

// Answers the confirmation with the button from another process, as the
// player would; returns boxdriver's report.
std::string answerConfirmation(int button)
{
    ProcessRunner driver;
    EXPECT_TRUE(driver.run(ProcessRunner::programFolder() + "boxdriver.exe",
                           "--caption \"scenario manager\" --button " + std::to_string(button)
                               + " --timeout 15000",
                           waitLimit));
    EXPECT_EQ(0u, driver.exitCode()) << driver.errors();
    return driver.output();
}

TEST(ForceQuit, TheCloseCommandAsksAndOnlyYesEndsTheGame)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    product.setInt(KtRegistryNames::setupMode, 1);
    product.setInt(KtRegistryNames::frameMode, 0);
    std::string folder = ProcessRunner::programFolder() + "run-force-quit";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string ini = folder + "\\Pomelo.ini";
    WritePrivateProfileStringA(title, "scenario", "hoge", ini.c_str());
    WritePrivateProfileStringA(title, "entry", "hege", ini.c_str());

    ProcessRunner game;
    ASSERT_TRUE(game.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder));
    HWND window = nullptr;
    for (int i = 0; i < 200 && !(window && IsWindowVisible(window)); ++i, Sleep(50))
        window = FindWindowA("desert_Pomelo", title);
    ASSERT_NE(nullptr, window);

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    std::string report = answerConfirmation(IDNO);
    EXPECT_NE(std::string::npos,
              report.find("text=ゲームを強制終了します。よろしいですか？")) << report;
    EXPECT_NE(std::string::npos, report.find("owner-class=desert_Pomelo")) << report;
    EXPECT_FALSE(game.wait(500)) << "No keeps the game running";

    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    answerConfirmation(IDYES);
    ASSERT_TRUE(game.wait(waitLimit)) << "the game honours the quit request";
    EXPECT_EQ(0u, game.exitCode());
}

}  // namespace
