// KtFileFinder over a real directory: matching, skipped dot names, marked directories, full paths.
#include "KtFileFinder.h"
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

void makeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    CloseHandle(file);
}

// A folder holding a.spi, the subdirectory b.spi, .c.spi and d.txt.
class KtFileFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof saved, saved);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "KtFileFinder" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\b.spi").c_str(), nullptr);
        makeFile(folder + "\\a.spi");
        makeFile(folder + "\\.c.spi");
        makeFile(folder + "\\d.txt");
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved);
        DeleteFileA((folder + "\\a.spi").c_str());
        DeleteFileA((folder + "\\.c.spi").c_str());
        DeleteFileA((folder + "\\d.txt").c_str());
        RemoveDirectoryA((folder + "\\b.spi").c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // Names and full paths of every entry, in the order the platform gives.
    static std::set<std::string> walk(KtFileFinder& finder, std::set<std::string>* paths = nullptr)
    {
        std::set<std::string> names;
        while (finder.next()) {
            names.insert(finder.name());
            if (paths)
                paths->insert(finder.fullPath().text());
        }
        return names;
    }

    char saved[MAX_PATH];
    std::string folder;
};

TEST_F(KtFileFinderTest, YieldsMatchesSkipsDotNamesAndMarksDirectories)
{
    KtFileFinder finder((folder + "\\*.spi").c_str());
    std::set<std::string> paths;
    EXPECT_EQ((std::set<std::string>{"a.spi", "b.spi\\"}), walk(finder, &paths));
    EXPECT_EQ((std::set<std::string>{folder + "\\a.spi", folder + "\\b.spi\\"}), paths);

    // "*" would also match "." and "..".
    finder.setPattern((folder + "\\*").c_str());
    EXPECT_EQ((std::set<std::string>{"a.spi", "b.spi\\", "d.txt"}), walk(finder));
}

TEST_F(KtFileFinderTest, ARelativePatternIsTakenInTheCurrentDirectory)
{
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    KtFileFinder finder("*.txt");
    EXPECT_EQ(folder + "\\*.txt", finder.pattern().text());
    ASSERT_TRUE(finder.next());
    EXPECT_FALSE(finder.isDirectory());
    EXPECT_EQ(folder + "\\d.txt", finder.fullPath().text());
    EXPECT_FALSE(finder.next());
}

TEST_F(KtFileFinderTest, TheEndStaysTheEndUntilANewPatternIsSet)
{
    KtFileFinder finder((folder + "\\*.txt").c_str());
    EXPECT_TRUE(finder.next());
    EXPECT_FALSE(finder.next());
    EXPECT_FALSE(finder.next()) << "an exhausted search does not start over";

    finder.setPattern((folder + "\\*.txt").c_str());
    EXPECT_TRUE(finder.next()) << "a new pattern starts a new search";
    finder.close();
    finder.close();

    KtFileFinder none((folder + "\\*.none").c_str());
    EXPECT_FALSE(none.next());
    KtFileFinder missing((folder + "\\no such folder\\*").c_str());
    EXPECT_FALSE(missing.next());
    KtFileFinder unset;
    EXPECT_FALSE(unset.next());
}

}  // namespace
