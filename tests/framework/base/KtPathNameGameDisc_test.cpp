// KtPathName's "%:" prefix when no drive is recorded: the first CD-ROM drive is found and recorded.
// Needs the CD-ROM drives E: and F: that gamedisc-drives.sh adds to the Wine prefix.
#include "KtPathName.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include <gtest/gtest.h>
#include <string>

namespace {

LONG createChild(HKEY parent, DWORD options)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(parent, "child", 0, const_cast<char*>(""), options,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key) {
        RegCloseKey(key);
        RegDeleteKeyA(parent, "child");
    }
    return result;
}

// Starts every test without the framework key, as on a machine that was
// just restarted, and puts a recorded drive back afterwards.
class KtPathNameGameDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey, 0, KEY_ALL_ACCESS,
                          &key) == ERROR_SUCCESS) {
            char value[64] = "";
            DWORD size = sizeof value - 1;
            if (RegQueryValueExA(key, KtRegistryNames::gameDiscDrive, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS)
                saved = value;
            RegCloseKey(key);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey);
        ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA("E:\\"))
            << "the CD-ROM drives of gamedisc-drives.sh are missing";
        ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA("F:\\"));
    }
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey);
        if (!saved.empty()) {
            HKEY key;
            RegCreateKeyExA(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey, 0,
                            const_cast<char*>(""), REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr);
            RegSetValueExA(key, KtRegistryNames::gameDiscDrive, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(saved.c_str()), saved.size() + 1);
            RegCloseKey(key);
        }
    }

    std::string recorded()
    {
        KtRegistryKey key;
        key.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                 KtRegistryNames::frameworkKeyOptions);
        return key.getString(KtRegistryNames::gameDiscDrive).text();
    }

    std::string saved;
};

TEST_F(KtPathNameGameDiscTest, TheFirstCdromDriveIsRecordedInANewVolatileKey)
{
    KtPathName path("%:\\DATA\\A.BMP");
    EXPECT_STREQ("E:\\DATA\\A.BMP", path.text()) << "E: comes before F:, fixed C: is passed over";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.text())) << "the drive is real";

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey, 0,
                                           KEY_ALL_ACCESS, &key));
    char value[16] = "";
    DWORD type = 0, size = sizeof value;
    RegQueryValueExA(key, KtRegistryNames::gameDiscDrive, nullptr, &type,
                     reinterpret_cast<BYTE*>(value), &size);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_STREQ("E:", value);
    EXPECT_EQ(3u, size) << "two characters and the NUL, no backslash";
    EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, createChild(key, REG_OPTION_NON_VOLATILE))
        << "the framework key is created volatile";
    RegCloseKey(key);
}

TEST_F(KtPathNameGameDiscTest, ARecordedDriveWinsAndAnEmptyOneIsLookedUpAgain)
{
    {
        KtRegistryKey key;
        key.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                 KtRegistryNames::frameworkKeyOptions);
        key.setString(KtRegistryNames::gameDiscDrive, "F:");
    }
    EXPECT_STREQ("F:\\MOVIE.AVI", KtPathName("%:\\MOVIE.AVI").text());
    EXPECT_EQ("F:", recorded());

    {
        KtRegistryKey key;
        key.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                 KtRegistryNames::frameworkKeyOptions);
        key.setString(KtRegistryNames::gameDiscDrive, "");
    }
    EXPECT_STREQ("E:\\MOVIE.AVI", KtPathName("%:\\MOVIE.AVI").text());
    EXPECT_EQ("E:", recorded());
}

}  // namespace
