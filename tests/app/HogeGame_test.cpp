// The sample game played through the real Pomelo.exe from outside: what each scene shows, the name, the branch,
// the progress in ".system.dat", the offer to continue, and closing at any scene.
#include "HogePlayer.h"
#include "KtRegisterStore.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const DWORD waitLimit = 30000;
const COLORREF white = RGB(255, 255, 255);
// The swatch colours the picture script gives the scenes.
const COLORREF titleSwatch = RGB(0x20, 0x40, 0xC0);
const COLORREF forestSwatch = RGB(0x10, 0xA0, 0x30);
const COLORREF townSwatch = RGB(0xC0, 0x80, 0x20);
const COLORREF mountainSwatch = RGB(0xE0, 0xE0, 0xE0);
const COLORREF seaSwatch = RGB(0x40, 0x40, 0x40);

// System registers of the game.
enum { starts = 0, progress = 1, finished = 2, lastBranch = 3, savedScene = 4 };
// Items of the game menu, separators left out.
enum { menuSave = 4, menuLoad = 5 };
// Game register: 1 while the title offers to continue.
const int offerRegister = 7;
// The map's boxes as the game paints them, plain and lit under the mouse.
const COLORREF plainBox = RGB(40, 90, 160);
const COLORREF litBox = RGB(255, 200, 80);

// A 24-bit BMP file as KtPlay writes it: rows bottom-up, padded to 4 bytes.
struct Bmp {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    bool read(const std::string& path)
    {
        FILE* in = std::fopen(path.c_str(), "rb");
        if (!in)
            return false;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        bool ok = std::fread(&file, sizeof file, 1, in) == 1 && std::fread(&info, sizeof info, 1, in) == 1 &&
                  file.bfType == 0x4D42 && info.biBitCount == 24 && info.biHeight > 0;
        if (ok) {
            width = info.biWidth;
            height = info.biHeight;
            pixels.resize(size_t((width * 3 + 3) & ~3) * height);
            ok = std::fread(pixels.data(), pixels.size(), 1, in) == 1;
        }
        std::fclose(in);
        return ok;
    }
    // How many pixels have each colour.
    std::map<COLORREF, int> census() const
    {
        std::map<COLORREF, int> counts;
        const int stride = (width * 3 + 3) & ~3;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned char* p = &pixels[size_t(y) * stride + size_t(x) * 3];
                ++counts[RGB(p[2], p[1], p[0])];
            }
        return counts;
    }
};

std::string monitorPrint()
{
    ProcessRunner monitor;
    if (!monitor.run(ProcessRunner::programFolder() + "KtMonitor.exe", "--print", waitLimit))
        return std::string();
    return monitor.output();
}

long gameRegister(int index)
{
    std::string printed = monitorPrint(), key = "game[" + std::to_string(index) + "]=";
    auto at = printed.find(key);
    return at == std::string::npos ? -1 : std::stol(printed.substr(at + key.size()));
}

class HogeGame : public ::testing::Test {
protected:
    void SetUp() override
    {
        KtRegistryKey product;
        product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
        product.setInt(KtRegistryNames::setupMode, 1);
        product.setInt(KtRegistryNames::frameMode, 0);
        folder_ = ProcessRunner::programFolder() + "run-HogeGame";
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteFileA((folder_ + "\\Pomelo.ini").c_str());   // the defaults: hoge, hege
        DeleteFileA((folder_ + "\\.system.dat").c_str());
    }
    // A game left running is closed as a player would, so that it restores
    // what it changed (the screen saver); only then is it stopped.
    void TearDown() override
    {
        // A game that KtPlay started and left behind is closed the same way.
        const bool ours = game_.processId() != 0 && game_.exitCode() == STILL_ACTIVE;
        if ((ours || player_.topLevel()) && !(closeAndConfirm() && (!ours || game_.wait(5000))))
            game_.terminate();
    }

    // The system's close command, then Yes in the box that asks first.
    bool closeAndConfirm()
    {
        PostMessageA(player_.topLevel(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ProcessRunner answer;
        return answer.run(ProcessRunner::programFolder() + "boxdriver.exe", "--button 6 --timeout 15000",
                          waitLimit) &&
               answer.exitCode() == 0;
    }

    void start()
    {
        ASSERT_TRUE(game_.start(ProcessRunner::programFolder() + "Pomelo.exe", "", folder_));
    }
    DWORD finish()
    {
        EXPECT_TRUE(game_.wait(waitLimit)) << "Pomelo.exe did not end";
        return game_.exitCode();
    }
    // What the game saved, read as the game reads it.
    DWORD saved(int index)
    {
        KtRegisterStore store((folder_ + "\\").c_str());
        store.systemRegisters.create(16);
        EXPECT_TRUE(store.loadSystem()) << "no .system.dat";
        return store.systemRegisters.item(index);
    }
    std::string swatchCheck(COLORREF expected, const char* scene)
    {
        if (player_.waitPixel(HogePlayer::swatchX, HogePlayer::swatchY, expected, 5000))
            return std::string();
        char report[96];
        std::snprintf(report, sizeof report, "%s shows %06lx at the swatch, not %06lx", scene,
                      static_cast<unsigned long>(player_.pixel(HogePlayer::swatchX, HogePlayer::swatchY)),
                      static_cast<unsigned long>(expected));
        return report;
    }

    std::string folder_;
    ProcessRunner game_;
    HogePlayer player_;
};

struct BranchCase {
    int choice;
    COLORREF journeySwatch;
};

class HogeGameBranch : public HogeGame, public ::testing::WithParamInterface<BranchCase> {};

// The whole game, checked at every main scene; the choice decides the
// journey's picture, and the progress outlives the run.
TEST_P(HogeGameBranch, PlaysFromTheTitleToTheEndAndKeepsItsProgress)
{
    const BranchCase c = GetParam();
    start();
    const char* name = "ぽめ太";
    std::string failure = player_.playThrough(name, c.choice, [&](const std::string& scene) -> std::string {
        if (scene == "title") {
            if (gameRegister(offerRegister) != 0)
                return "a first start offers to continue";
            return swatchCheck(titleSwatch, "the title");
        }
        if (scene == "name") {
            HWND field = player_.waitWindow("KtViewport", player_.waitWindow("KtPopupViewport", nullptr, 5000), 5000);
            RECT area{0, 0, 200, 40};
            for (int i = 0; i < 100 && player_.countColour(field, area, white) == 0; ++i)
                Sleep(50);
            return player_.countColour(field, area, white) > 0 ? std::string() : "the typed name is not drawn";
        }
        if (scene == "forest")
            return swatchCheck(forestSwatch, "the forest (MCG)");
        if (scene == "choice") {
            std::string printed = monitorPrint();
            if (printed.find(name) == std::string::npos)
                return "the name does not appear in the town's dialogue: " + printed;
            return swatchCheck(townSwatch, "the town (SLD)");
        }
        if (scene == "journey")
            return swatchCheck(c.journeySwatch, "the journey (PNM plug-in)");
        if (scene == "ending")
            return swatchCheck(titleSwatch, "the ending");
        return std::string();
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ(0u, finish());
    EXPECT_EQ(1u, saved(starts));
    EXPECT_EQ(5u, saved(progress)) << "the furthest scene";
    EXPECT_EQ(1u, saved(finished));
    EXPECT_EQ(static_cast<DWORD>(c.choice), saved(lastBranch));
}

INSTANTIATE_TEST_SUITE_P(Choices, HogeGameBranch,
                         ::testing::Values(BranchCase{1, mountainSwatch}, BranchCase{2, seaSwatch}));

// A game that was played before: the title offers to continue, and Return
// goes back to the furthest scene.
TEST_F(HogeGame, ASecondStartOffersToContinue)
{
    start();
    ASSERT_EQ("", player_.playThrough("A", 2, [](const std::string&) { return std::string(); }));
    ASSERT_EQ(0u, finish());

    start();
    ASSERT_TRUE(player_.waitFor(0, "input", waitLimit));
    EXPECT_EQ(1, gameRegister(offerRegister));
    player_.key(VK_RETURN);
    EXPECT_TRUE(player_.waitFor(5, "input", waitLimit)) << "continued at the ending";
    player_.key(VK_RETURN);
    EXPECT_EQ(0u, finish());
    EXPECT_EQ(2u, saved(starts));
}

// Closing the window at any scene asks first; Yes ends it with exit code 0.
TEST_F(HogeGame, ClosingAtAnySceneAsksFirstAndEndsCleanly)
{
    for (const char* stopAt : {"title", "name", "choice", "journey", "movie", "ending"}) {
        SCOPED_TRACE(stopAt);
        start();
        std::string reached = player_.playThrough("B", 1, [&](const std::string& scene) {
            return scene == stopAt ? std::string("stop") : std::string();
        });
        ASSERT_EQ("stop", reached);
        ASSERT_TRUE(closeAndConfirm()) << "no box asked first";
        // One game at a time: a game that does not end stops the test here.
        ASSERT_TRUE(game_.wait(waitLimit)) << "the game did not end after Yes";
        EXPECT_EQ(0u, game_.exitCode());
    }
}

// The menu's save keeps the scene in ".system.dat"; its load, at a later
// scene, goes back to the saved one.
TEST_F(HogeGame, TheMenuSavesTheSceneAndLoadsItBack)
{
    start();
    std::string reached = player_.playThrough("C", 1, [&](const std::string& scene) -> std::string {
        if (scene == "journey") {
            if (!player_.menuCommand(menuSave, waitLimit))
                return "no menu at the journey";
            return player_.waitFor(3, "input", waitLimit) ? "" : "the journey did not wait again";
        }
        if (scene == "ending")
            return player_.menuCommand(menuLoad, waitLimit) ? "loaded" : "no menu at the ending";
        return std::string();
    });
    ASSERT_EQ("loaded", reached);
    EXPECT_TRUE(player_.waitFor(3, "input", waitLimit)) << "the load went back to the journey";
    EXPECT_EQ(3u, saved(savedScene));
    EXPECT_EQ("", swatchCheck(mountainSwatch, "the loaded journey"));
}

// The title waits with its picture changing between day and dusk through
// one transition after another; the player's click still starts the game.
TEST_F(HogeGame, TheTitleChangesThroughTransitionsWhileItWaits)
{
    start();
    ASSERT_TRUE(player_.waitFor(0, "input", waitLimit));
    const int x = 20, y = 240;   // sky, away from the logo and the text
    const COLORREF day = player_.pixel(x, y);
    bool dusk = false, dayAgain = false;
    for (DWORD begin = GetTickCount(); !dayAgain && GetTickCount() - begin < 20000; Sleep(100)) {
        const COLORREF now = player_.pixel(x, y);
        dusk = dusk || now != day;
        dayAgain = dusk && now == day;
    }
    EXPECT_TRUE(dayAgain) << (dusk ? "dusk came, day did not come back" : "the title did not change");
    EXPECT_EQ("", swatchCheck(titleSwatch, "the title after its changes"));
    ASSERT_TRUE(player_.until([this] { player_.click(); }, waitLimit));
    EXPECT_TRUE(player_.waitFor(1, "name", waitLimit));
}

// A mouse move on the map and what the two boxes must show after it.
struct MapMove {
    const char* where;
    int x, y;   // client coordinates of the map
    COLORREF first, second;
};

// What the sample game's README promises of its scenes: the name popup has
// a caption a player reads, each map place lights up while the mouse is
// over it (and only then), and the movie moves: several different frames
// reach the screen.
TEST_F(HogeGame, ThePopupIsNamedTheMapLightsUpAndTheMovieMoves)
{
    const MapMove moves[] = {
        {"first box", 90, 60, litBox, plainBox},
        {"second box, straight from the first", 250, 60, plainBox, litBox},
        {"first box, straight back", 90, 60, litBox, plainBox},
        {"the gap between the boxes", 170, 60, plainBox, plainBox},
        {"second box", 250, 60, plainBox, litBox},
        {"the margin", 5, 5, plainBox, plainBox},
    };
    // Inside each box, clear of its frame and its label, in host coordinates.
    const POINT first{180, 240}, second{340, 240};
    start();
    std::string failure = player_.playThrough("D", 2, [&](const std::string& scene) -> std::string {
        if (scene == "name") {
            char caption[64] = "";
            GetWindowTextA(player_.waitWindow("KtPopupViewport", nullptr, 5000), caption, sizeof caption);
            return std::string(caption) == "お名前" ? "" : "the name popup's caption is " + std::string(caption);
        }
        if (scene == "choice") {
            if (!player_.waitPixel(first.x, first.y, plainBox, 5000) || player_.pixel(second.x, second.y) != plainBox)
                return "the map is not plain before the mouse comes";
            for (const MapMove& m : moves) {
                player_.moveOnMap(m.x, m.y);
                if (!player_.waitPixel(first.x, first.y, m.first, 3000) ||
                    !player_.waitPixel(second.x, second.y, m.second, 3000))
                    return std::string("after the move to ") + m.where + " the boxes do not show what they should";
            }
            return std::string();
        }
        if (scene == "movie") {
            // Away from the bar of the first frame: the shade changes with every frame.
            std::set<COLORREF> seen;
            for (DWORD begin = GetTickCount(); seen.size() < 3 && GetTickCount() - begin < 5000; Sleep(40))
                seen.insert(player_.pixel(160 + 300, 120 + 200));
            return seen.size() >= 3 ? "" : "the movie shows " + std::to_string(seen.size()) + " frame(s)";
        }
        return std::string();
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ(0u, finish());
}

// KtPlay.exe plays the game by its play script from start to end and saves
// a picture of every scene and a contact sheet; the map's picture shows the
// lit place and the movie's a frame from its middle.
TEST_F(HogeGame, KtPlayPlaysTheGameByItsScriptAndSavesEveryScene)
{
    const std::string shots = folder_ + "\\shots";
    CreateDirectoryA(shots.c_str(), nullptr);
    const char* const scenes[] = {"title", "name", "forest", "map-lit", "journey", "movie", "ending", "sheet"};
    for (const char* scene : scenes)
        DeleteFileA((shots + "\\" + scene + ".bmp").c_str());
    ProcessRunner play;
    ASSERT_TRUE(play.run(ProcessRunner::programFolder() + "KtPlay.exe",
                         "--game \"" + folder_ + "\" --shots \"" + shots + "\" --sheet \"" + shots +
                             "\\sheet.bmp\" Z:" HOGE_PLAY_SCRIPT,
                         180000));
    ASSERT_EQ(0u, play.exitCode()) << play.output() << play.errors();
    std::map<std::string, Bmp> pictures;
    for (const char* scene : scenes)
        EXPECT_TRUE(pictures[scene].read(shots + "\\" + scene + ".bmp")) << scene;
    EXPECT_GT(pictures["map-lit"].census()[litBox], 1000) << "the lit place";
    EXPECT_EQ(0, pictures["journey"].census()[litBox]);
    // The movie's middle: most of it one grey between the first frame's
    // black and the last one's grey 200.
    int middleGrey = 0;
    for (const auto& colour : pictures["movie"].census())
        if (GetRValue(colour.first) == GetGValue(colour.first) && GetGValue(colour.first) == GetBValue(colour.first) &&
            GetRValue(colour.first) > 0 && GetRValue(colour.first) < 200)
            middleGrey = std::max(middleGrey, colour.second);
    EXPECT_GT(middleGrey, 30000) << "no frame from the middle of the movie";
    EXPECT_GT(pictures["sheet"].width, 3 * 320) << "three shots a row at half size";
    EXPECT_EQ(1u, saved(finished));
}

struct FailingPlay {
    const char* script;
    const char* said;   // what KtPlay's error must contain
};

// A wait that fails ends the play with exit code 1 and names the script
// line and what the game showed; the game KtPlay started is closed again.
TEST_F(HogeGame, KtPlayNamesTheLineOfAFailedWait)
{
    const FailingPlay cases[] = {
        {"window 30s\nuntil game 5 = 0 30s\nuntil game 5 = 9 1s\n",
         "line 3: until game 5 = 9 1s: timed out after 1000 ms; game[5] is 0"},
        {"# the sample keeps 64 game registers\nwindow 30s\nuntil game 64 = 0\n",
         "line 3: until game 64 = 0: game register 64 out of range: the game keeps 64"},
        {"window 30s\nexit 3 1s\n", "line 2: exit 3 1s: timed out after 1000 ms; the game still runs"},
    };
    const std::string script = folder_ + "\\failing.play";
    for (const FailingPlay& c : cases) {
        SCOPED_TRACE(c.script);
        FILE* out = std::fopen(script.c_str(), "wb");
        ASSERT_TRUE(out);
        std::fputs(c.script, out);
        std::fclose(out);
        ProcessRunner play;
        ASSERT_TRUE(play.run(ProcessRunner::programFolder() + "KtPlay.exe",
                             "--game \"" + folder_ + "\" \"" + script + "\"", 90000));
        EXPECT_EQ(1u, play.exitCode());
        EXPECT_NE(std::string::npos, play.errors().find(c.said)) << play.errors();
        EXPECT_EQ(nullptr, player_.topLevel()) << "the game was left running";
    }
}

}  // namespace
