// Where the scenario module is found, and that taking the current directory out of the DLL search keeps it loading.
#include "Diagnostic.h"
#include "KtLibrarySearch.h"
#include "KtModulePath.h"
#include "KtVelka.h"
#include "MessageBoxRecorder.h"
#include "ScenarioHarness.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::string programFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.rfind('\\') + 1);
}

// A game folder of its own, made the current directory: a copy of a test
// module under a name found nowhere else, and one under the name of a module
// that also lies beside the program.
class GameFolder : public ScenarioHarness {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "ScenarioModuleSearch_" +
                  std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string module = programFolder() + "chain_three.dll";
        ASSERT_TRUE(CopyFileA(module.c_str(), (folder_ + "gamemod.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(module.c_str(), (folder_ + "chain_three.dll").c_str(), FALSE));
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(folder_.c_str());
        ScenarioHarness::SetUp();
    }
    void TearDown() override
    {
        ScenarioHarness::TearDown();
        SetCurrentDirectoryA(previous_);
        DeleteFileA((folder_ + "gamemod.dll").c_str());
        DeleteFileA((folder_ + "chain_three.dll").c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string folder_;
    char previous_[MAX_PATH];
};

TEST_F(GameFolder, TheModuleIsLookedForBesideTheProgramThenInTheCurrentFolder)
{
    const std::string program = programFolder();
    struct Case {
        std::string name;
        std::string path;
    };
    const Case cases[] = {
        {"chain_three.dll", program + "chain_three.dll"},   // in both: beside the program wins
        {"chain_three", program + "chain_three.dll"},       // ".dll" as LoadLibrary adds it
        {"gamemod", folder_ + "gamemod.dll"},               // only in the game folder
        {"gamemod.dll", folder_ + "gamemod.dll"},
        {folder_ + "gamemod.dll", folder_ + "gamemod.dll"}, // absolute names stay
        {"missing", program + "missing.dll"},               // nowhere: the load fails on it
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.path.c_str(), KtModulePath::resolve(c.name.c_str()).text()) << c.name;
}

// Pomelo.exe takes the current directory out of the DLL search at start-up;
// the module of a game folder, which is the current folder, loads all the same.
TEST_F(GameFolder, WithoutTheCurrentDirectoryInTheSearchTheGameFolderModuleStillLoads)
{
    HMODULE before = LoadLibraryA("gamemod.dll");
    ASSERT_NE(nullptr, before) << "the current directory is searched before the change";
    FreeLibrary(before);

    ASSERT_TRUE(KtLibrarySearch::excludeCurrentDirectory());
    SetLastError(0xdeadbeef);
    HMODULE after = LoadLibraryA("gamemod.dll");
    EXPECT_EQ(nullptr, after) << "the current directory is still searched";
    if (after)
        FreeLibrary(after);

    MessageBoxRecorder boxes;
    const struct { const char* name; std::string folder; } cases[] = {
        {"gamemod", folder_},
        {"chain_three", programFolder()},
    };
    for (const auto& c : cases) {
        ASSERT_NE(0, velka_->load(c.name)) << c.name;
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameA(velka_->module.handle, path, sizeof path);
        std::string start = std::string(path, length).substr(0, c.folder.size());
        EXPECT_EQ(0, lstrcmpiA(c.folder.c_str(), start.c_str())) << c.name << " loaded from " << path;
        velka_->module.free();
    }
    EXPECT_EQ(0u, boxes.count());
}

}  // namespace
