// End-to-end tests of KtConfig.exe: command-line mode and the dialog driven from outside.
#include "ProcessRunner.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

const char* const setupCaption = "ＰＯＭＥＬＯ セットアップ";
const char* const productKey = "Software\\Lumen\\VELKA\\Pomelo";
const DWORD timeLimit = 15000;

// Reads registry values under HKEY_CURRENT_USER; absent ones read as -1 / "<none>".
struct Registry {
    static bool keyExists(const std::string& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    static long dword(const std::string& path, const char* name)
    {
        DWORD value = 0, size = sizeof(value), type = 0;
        if (RegGetValueOrFail(path, name, &type, &value, &size) || type != REG_DWORD)
            return -1;
        return static_cast<long>(value);
    }
    static std::string text(const std::string& path, const char* name)
    {
        char value[256] = {};
        DWORD size = sizeof(value) - 1, type = 0;
        if (RegGetValueOrFail(path, name, &type, value, &size) || type != REG_SZ)
            return "<none>";
        return value;
    }
    static void setDword(const std::string& path, const char* name, DWORD value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                                 nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
    }
    static void setText(const std::string& path, const char* name, const char* value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                                 nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
        RegCloseKey(key);
    }

private:
    static bool RegGetValueOrFail(const std::string& path, const char* name, DWORD* type, void* data, DWORD* size)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return true;
        LONG rc = RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), size);
        RegCloseKey(key);
        return rc != ERROR_SUCCESS;
    }
};

// Each test writes under a key of its own, removed before and after, so
// the product's real settings in the test prefix are never touched.
class KtConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key = std::string("Software\\KtConfigTest\\") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        removeKey();
    }
    void TearDown() override
    {
        removeKey();
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KtConfigTest");  // only succeeds once empty
    }
    void removeKey() { RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); }

    // Runs KtConfig.exe with the test key and waits for its end.
    DWORD runTool(const std::string& arguments)
    {
        EXPECT_TRUE(tool.run("KtConfig.exe", "/key:\"" + key + "\" " + arguments, timeLimit))
            << "KtConfig.exe " << arguments << " did not end; start error " << tool.startError();
        return tool.exitCode();
    }

    // Opens the dialog and lets boxdriver press one of its buttons by posting
    // WM_COMMAND, as a player's click would end in.
    void answerDialog(const std::string& arguments, int button)
    {
        ASSERT_TRUE(tool.start("KtConfig.exe", "/key:\"" + key + "\" " + arguments)) << tool.startError();
        ProcessRunner driver;
        ASSERT_TRUE(driver.run("boxdriver.exe", "--caption \"" + std::string(setupCaption) + "\" --post --button "
                               + std::to_string(button), timeLimit));
        EXPECT_EQ(0u, driver.exitCode()) << driver.errors();
        EXPECT_NE(std::string::npos, driver.output().find(std::string("caption=") + setupCaption + "\n"))
            << driver.output();
        EXPECT_NE(std::string::npos, driver.output().find("pressed=" + std::to_string(button))) << driver.output();
        ASSERT_TRUE(tool.wait(timeLimit));
    }

    std::string key;
    ProcessRunner tool;
};

} // namespace

TEST_F(KtConfigTest, AutoWritesTheDefaults)
{
    Registry::setDword(key, "frameMode", 2);
    Registry::setDword(key, "screenWidth", 1024);
    ASSERT_EQ(0u, runTool("/auto"));
    EXPECT_EQ(1, Registry::dword(key, "setupMode"));
    EXPECT_EQ(0, Registry::dword(key, "screenWidth"));
    EXPECT_EQ(0, Registry::dword(key, "screenHeight"));
    EXPECT_EQ(0, Registry::dword(key, "screenDepth"));
    EXPECT_EQ(0, Registry::dword(key, "frameMode"));
    // The first CD-ROM drive, or none when the machine has no such drive.
    std::string drive = Registry::text(key, "cdromDrive");
    if (drive.empty()) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            char root[] = {letter, ':', '\\', '\0'};
            EXPECT_NE(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA(root)) << root << " is a CD-ROM drive";
        }
    } else {
        ASSERT_EQ(2u, drive.size());
        EXPECT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA((drive + "\\").c_str())) << drive;
    }
}

TEST_F(KtConfigTest, AutoTakesEveryValueFromTheCommandLine)
{
    ASSERT_EQ(0u, runTool("/auto /frame:1 /width:800 /height:600 /depth:16 /drive:e"));
    EXPECT_EQ(1, Registry::dword(key, "setupMode"));
    EXPECT_EQ(800, Registry::dword(key, "screenWidth"));
    EXPECT_EQ(600, Registry::dword(key, "screenHeight"));
    EXPECT_EQ(16, Registry::dword(key, "screenDepth"));
    EXPECT_EQ(1, Registry::dword(key, "frameMode"));
    EXPECT_EQ("E:", Registry::text(key, "cdromDrive"));
}

TEST_F(KtConfigTest, BadCommandLineIsReportedAndWritesNothing)
{
    EXPECT_EQ(2u, runTool("/auto /frame:7"));
    EXPECT_NE(std::string::npos, tool.errors().find("/frame:7")) << tool.errors();
    EXPECT_FALSE(Registry::keyExists(key));
}

TEST_F(KtConfigTest, WithoutAKeyOptionTheProductKeyIsWritten)
{
    // Keeps the prefix's own settings: saved here, put back at the end.
    const char* names[] = {"setupMode", "screenWidth", "screenHeight", "screenDepth", "frameMode"};
    bool existed = Registry::keyExists(productKey);
    std::vector<long> saved;
    for (const char* name : names)
        saved.push_back(Registry::dword(productKey, name));
    std::string savedDrive = Registry::text(productKey, "cdromDrive");

    ASSERT_TRUE(tool.run("KtConfig.exe", "/auto /frame:2 /depth:24", timeLimit));
    EXPECT_EQ(0u, tool.exitCode());
    EXPECT_EQ(1, Registry::dword(productKey, "setupMode"));
    EXPECT_EQ(2, Registry::dword(productKey, "frameMode"));
    EXPECT_EQ(24, Registry::dword(productKey, "screenDepth"));

    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, productKey, 0, KEY_WRITE, &k));
    for (size_t i = 0; i < saved.size(); ++i) {
        DWORD value = static_cast<DWORD>(saved[i]);
        if (saved[i] < 0)
            RegDeleteValueA(k, names[i]);
        else
            RegSetValueExA(k, names[i], 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof(value));
    }
    if (savedDrive == "<none>")
        RegDeleteValueA(k, "cdromDrive");
    else
        RegSetValueExA(k, "cdromDrive", 0, REG_SZ, reinterpret_cast<const BYTE*>(savedDrive.c_str()),
                       static_cast<DWORD>(savedDrive.size() + 1));
    RegCloseKey(k);
    if (!existed)
        RegDeleteKeyA(HKEY_CURRENT_USER, productKey);
}

TEST_F(KtConfigTest, DialogOkWritesTheChoiceAndMarksSetUp)
{
    answerDialog("/frame:2 /depth:16", IDOK);
    EXPECT_EQ(0u, tool.exitCode());
    EXPECT_EQ(1, Registry::dword(key, "setupMode"));
    EXPECT_EQ(2, Registry::dword(key, "frameMode"));
    EXPECT_EQ(16, Registry::dword(key, "screenDepth"));
    EXPECT_EQ(0, Registry::dword(key, "screenWidth"));
    EXPECT_EQ(0, Registry::dword(key, "screenHeight"));
}

TEST_F(KtConfigTest, DialogOkKeepsStoredValuesTheMachineDoesNotOffer)
{
    // A disc drive that is unplugged now and a resolution the display does
    // not list must survive an OK that did not touch them.
    Registry::setDword(key, "setupMode", 1);
    Registry::setDword(key, "screenWidth", 1000);
    Registry::setDword(key, "screenHeight", 700);
    Registry::setText(key, "cdromDrive", "Q:");
    answerDialog("", IDOK);
    EXPECT_EQ(0u, tool.exitCode());
    EXPECT_EQ(1000, Registry::dword(key, "screenWidth"));
    EXPECT_EQ(700, Registry::dword(key, "screenHeight"));
    EXPECT_EQ("Q:", Registry::text(key, "cdromDrive"));
}

TEST_F(KtConfigTest, DialogCancelOnANewProductRecordsNotSetUp)
{
    answerDialog("", IDCANCEL);
    EXPECT_EQ(1u, tool.exitCode());
    EXPECT_EQ(0, Registry::dword(key, "setupMode"));
    EXPECT_EQ(-1, Registry::dword(key, "frameMode"));
    EXPECT_EQ("<none>", Registry::text(key, "cdromDrive"));
}

TEST_F(KtConfigTest, DialogCancelLeavesASetUpProductAsItWas)
{
    for (DWORD state : {1u, 2u}) {
        Registry::setDword(key, "setupMode", state);
        Registry::setDword(key, "frameMode", 2);
        Registry::setText(key, "cdromDrive", "Q:");
        answerDialog("/frame:0 /drive:c", IDCANCEL);
        EXPECT_EQ(1u, tool.exitCode());
        EXPECT_EQ(static_cast<long>(state), Registry::dword(key, "setupMode"));
        EXPECT_EQ(2, Registry::dword(key, "frameMode"));
        EXPECT_EQ("Q:", Registry::text(key, "cdromDrive"));
    }
}

TEST_F(KtConfigTest, ASecondStartLeavesTheOpenDialogAlone)
{
    ASSERT_TRUE(tool.start("KtConfig.exe", "/key:\"" + key + "\""));
    ProcessRunner look;
    ASSERT_TRUE(look.run("boxdriver.exe", "--caption \"" + std::string(setupCaption) + "\" --button 0", timeLimit));
    ASSERT_EQ(0u, look.exitCode()) << look.errors();

    ProcessRunner second;
    ASSERT_TRUE(second.run("KtConfig.exe", "/key:\"" + key + "\" /frame:1", timeLimit));
    EXPECT_EQ(1u, second.exitCode());
    EXPECT_EQ(-1, Registry::dword(key, "setupMode"));

    ProcessRunner close;
    ASSERT_TRUE(close.run("boxdriver.exe", "--caption \"" + std::string(setupCaption) + "\" --post --button 2",
                          timeLimit));
    ASSERT_TRUE(tool.wait(timeLimit));
    EXPECT_EQ(0, Registry::dword(key, "setupMode"));
}
