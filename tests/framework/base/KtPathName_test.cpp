// KtPathName: path forms, the recorded game-disc drive, well-known folders, extensions and directories.
#include "KtPathName.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "MessageBoxRecorder.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>

namespace {

std::string currentDirectory()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    std::string text = buffer;
    if (text.back() != '\\')
        text += '\\';
    return text;
}

// Runs each test in a fresh folder of its own as the current directory, and
// puts the framework key's "CD-ROM" value back afterwards.
class KtPathNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof saved, saved);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "KtPathName" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        drive.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                   KtRegistryNames::frameworkKeyOptions);
        savedDrive = drive.getString(KtRegistryNames::gameDiscDrive).text();
    }
    void TearDown() override
    {
        drive.setString(KtRegistryNames::gameDiscDrive, savedDrive.c_str());
        SetCurrentDirectoryA(saved);
        RemoveDirectoryA((folder + "\\表").c_str());
        RemoveDirectoryA(folder.c_str());
    }

    char saved[MAX_PATH];
    std::string folder;
    KtRegistryKey drive;
    std::string savedDrive;
};

TEST_F(KtPathNameTest, RelativeTextsAreTakenInTheCurrentDirectoryOthersAreKept)
{
    std::string here = currentDirectory();
    EXPECT_EQ(here + "A.BMP", KtPathName("A.BMP").text());
    EXPECT_EQ(here + "\\A.BMP", KtPathName("\\A.BMP").text()) << "a single leading backslash doubles";
    EXPECT_EQ(here, KtPathName(nullptr).text());
    EXPECT_STREQ("C:\\X", KtPathName("C:\\X").text());
    EXPECT_STREQ("C:X", KtPathName("C:X").text());
    EXPECT_STREQ("\\\\server\\share\\a.txt", KtPathName("\\\\server\\share\\a.txt").text());
    EXPECT_STREQ("", KtPathName().text());

    KtPathName path("C:\\A\\B.TXT");
    path.set(path.string());  // its own text must survive the replacement
    EXPECT_STREQ("C:\\A\\B.TXT", path.text());
    path.setInCurrentDirectory(KtPathName("C:\\ignored"));
    EXPECT_EQ(here + "C:\\ignored", path.text());
}

TEST_F(KtPathNameTest, TheGameDiscPrefixTakesTheRecordedDrive)
{
    drive.setString(KtRegistryNames::gameDiscDrive, "E:");
    EXPECT_STREQ("E:\\DATA\\A.BMP", KtPathName("%:\\DATA\\A.BMP").text());
    drive.setString(KtRegistryNames::gameDiscDrive, "Q:");
    EXPECT_STREQ("Q:\\DATA\\A.BMP", KtPathName("%:\\DATA\\A.BMP").text());
    EXPECT_STREQ("Q:", KtPathName("%:").text());
}

TEST_F(KtPathNameTest, WithoutAnyCdromDriveTheGameDiscPrefixIsDropped)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        char root[] = {letter, ':', '\\', 0};
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            GTEST_SKIP() << "this machine has a CD-ROM drive " << letter;
    }
    drive.setString(KtRegistryNames::gameDiscDrive, "");
    EXPECT_STREQ("\\DATA\\A.BMP", KtPathName("%:\\DATA\\A.BMP").text());
    EXPECT_EQ(0, drive.getString(KtRegistryNames::gameDiscDrive).length());
    EXPECT_TRUE(KtPathName("%:\\").lacksTrailingBackslash()) << "a one-character path";
}

// The trail byte of 表 is 0x5C: only a character test tells it from a backslash.
TEST_F(KtPathNameTest, TrailingBackslashTestsDoNotMistakeATrailByte)
{
    ASSERT_TRUE(CreateDirectoryA("表", nullptr)) << GetLastError();
    ASSERT_TRUE(SetCurrentDirectoryA("表"));
    KtPathName path;
    path.setCurrentDirectory();
    EXPECT_EQ(folder + "\\表\\", path.text());
    EXPECT_FALSE(path.lacksTrailingBackslash());
    EXPECT_EQ(path.text(), path.string().cursor());

    EXPECT_TRUE(KtPathName("C:\\A\\表").lacksTrailingBackslash());
    EXPECT_TRUE(KtPathName().lacksTrailingBackslash());
    EXPECT_FALSE(KtPathName("C:\\").lacksTrailingBackslash());
}

TEST_F(KtPathNameTest, SpecialFoldersOfTheProgramAndTheSystem)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string exeText = exe;
    KtPathName path;
    path.setSpecial(KtPathName::executableFile);
    EXPECT_EQ(exeText, path.text());
    path.setSpecial(KtPathName::executableDirectory);
    EXPECT_EQ(exeText.substr(0, exeText.rfind('\\') + 1), path.text());

    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(system, sizeof system);
    path.setSpecial(KtPathName::windowsDirectory);
    EXPECT_EQ(std::string(windows) + "\\", path.text()) << "exactly one backslash";
    path.setSpecial(KtPathName::systemDirectory);
    EXPECT_EQ(std::string(system) + "\\", path.text());

    for (int code = KtPathName::currentDirectory + 3; code <= KtPathName::lastCurrentDirectory; ++code) {
        path.set("C:\\X");
        path.setSpecial(code);
        EXPECT_EQ(currentDirectory(), path.text()) << std::hex << code;
    }
    path.setSpecial(KtPathName::currentDirectory);
    EXPECT_EQ(currentDirectory(), path.text());

    for (int code : {1, 3, 25, 0x7776, 0x7781, -1}) {
        path.set("C:\\X");
        path.setSpecial(code);
        EXPECT_STREQ("C:\\X", path.text()) << std::hex << code;
    }
}

TEST_F(KtPathNameTest, ShellFoldersEndWithOneBackslash)
{
    for (int csidl : {0, 2, 5, 8, 9, 11, 19, 20, 21, 22, 23, 24}) {
        char expected[MAX_PATH] = "";
        ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, csidl, FALSE)) << csidl;
        KtPathName path("C:\\X");
        path.setSpecial(csidl);
        std::string text = expected;
        if (text.back() != '\\')
            text += '\\';
        EXPECT_EQ(text, path.text()) << "CSIDL " << csidl;
    }
}

TEST_F(KtPathNameTest, SetExtensionReplacesOnlyTheFileNamesExtension)
{
    struct Case { const char* path; const char* extension; const char* expected; } cases[] = {
        {"C:\\A.B\\PIC", ".bmp", "C:\\A.B\\PIC.bmp"},
        {"C:\\A\\PIC.TXT", ".bmp", "C:\\A\\PIC.bmp"},
        {"C:\\A\\PIC.X.TXT", ".bmp", "C:\\A\\PIC.X.bmp"},
        {"C:\\A\\", ".bmp", "C:\\A\\"},
        {"C:\\A\\PIC.TXT", nullptr, "C:\\A\\PIC.TXT"},
        {"C:\\A\\表", ".bmp", "C:\\A\\表.bmp"},
        {"C:PIC.TXT", ".bmp", "C:PIC.bmp"},  // no backslash: the whole path is the name
    };
    for (const Case& c : cases) {
        KtPathName path(c.path);
        path.setExtension(c.extension);
        EXPECT_STREQ(c.expected, path.text()) << c.path;
    }
}

TEST_F(KtPathNameTest, GetDirectoryKeepsTheLastBackslash)
{
    struct Case { const char* path; const char* expected; } cases[] = {
        {"C:\\A\\B.TXT", "C:\\A\\"},
        {"C:\\A\\", "C:\\A\\"},
        {"C:\\A\\表", "C:\\A\\"},
        {"C:B.TXT", "C:B.TXT"},
    };
    for (const Case& c : cases) {
        KtPathName path(c.path);
        KtString out("old text");
        path.getDirectory(out);
        EXPECT_STREQ(c.expected, out.text()) << c.path;
        EXPECT_EQ(path.text(), path.string().cursor());
    }
}

TEST_F(KtPathNameTest, TheVirtualSlotsAreInTheirFixedOrder)
{
    KtPathName path;
    callSlot<void, const char*>(&path, 3, "C:\\S3");
    EXPECT_STREQ("C:\\S3", path.text());
    KtString text("C:\\S2");
    callSlot<void, const KtString*>(&path, 2, &text);
    EXPECT_STREQ("C:\\S2", path.text());
    callSlot<void, int>(&path, 4, static_cast<int>(KtPathName::windowsDirectory));
    EXPECT_EQ('\\', path.text()[path.length() - 1]);
    callSlot<void>(&path, 5);
    EXPECT_EQ(currentDirectory(), path.text());
    KtPathName name("N.TXT");
    callSlot<void, const KtPathName*>(&path, 1, &name);
    EXPECT_EQ(currentDirectory() + name.text(), path.text());
}

}  // namespace
