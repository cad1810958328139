// KtRegistryKey on the real registry: defaults, round trips, short data, volatility, handle lifetime.
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Deletes a key with everything below it (RegDeleteTree is not on every
// Windows this runs on).
void deleteTree(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS)
        deleteTree(key, name);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

LONG createSubKey(HKEY parent, const char* name, DWORD options)
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(parent, name, 0, const_cast<char*>(""), options,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key)
        RegCloseKey(key);
    return result;
}

bool handleIsOpen(HKEY key)
{
    return RegQueryValueExA(key, "probe", nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
}

class KtRegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = "Software\\KtLIBTests\\registry" + std::to_string(GetCurrentProcessId());
        deleteTree(HKEY_CURRENT_USER, base);
        // Made persistent first, and away from the framework key's parent: a
        // volatile open creates missing parents volatile too, and they then
        // refuse persistent children.
        createSubKey(HKEY_CURRENT_USER, base.c_str(), REG_OPTION_NON_VOLATILE);
    }
    void TearDown() override
    {
        deleteTree(HKEY_CURRENT_USER, base);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KtLIBTests");  // only when empty
    }

    std::string path(const char* leaf) const { return base + "\\" + leaf; }

    std::string base;
};

TEST_F(KtRegistryKeyTest, AbsentValuesReadAsDefaultsEvenAfterAnEarlierHit)
{
    KtRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.open(HKEY_CURRENT_USER, path("a").c_str()));
    EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), key.disposition());
    EXPECT_EQ(7u, key.getInt("missing", 7));
    EXPECT_EQ(0u, key.getInt("missing"));

    key.setString("name", "text");
    const KtString& hit = key.getString("name");
    EXPECT_STREQ("text", hit.text());
    const KtString& miss = key.getString("missing");
    EXPECT_EQ(&hit, &miss);
    EXPECT_STREQ("", miss.text());
    EXPECT_EQ(0, miss.length());

    KtRegistryKey again;
    again.open(HKEY_CURRENT_USER, path("a").c_str());
    EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), again.disposition());
}

TEST_F(KtRegistryKeyTest, StringsAndIntegersRoundTripWithTheirRegistryTypes)
{
    KtRegistryKey key;
    key.open(HKEY_CURRENT_USER, path("b").c_str());
    const char* japanese = "ゲーム\\表示";
    key.setString("jp", japanese);
    key.setString("empty", "");
    key.setInt("number", 0xDEADBEEF);

    EXPECT_STREQ(japanese, key.getString("jp").text());
    EXPECT_EQ(static_cast<int>(strlen(japanese)), key.getString("jp").length());
    EXPECT_EQ(0, key.getString("empty").length());
    EXPECT_EQ(0xDEADBEEFu, key.getInt("number", 1));

    DWORD type = 0, size = 0;
    RegQueryValueExA(key.handle(), "jp", nullptr, &type, nullptr, &size);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(strlen(japanese) + 1, size) << "stored with its NUL";
    RegQueryValueExA(key.handle(), "number", nullptr, &type, nullptr, &size);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(4u, size);
}

// Such values are never written by the system but may be by anyone else:
// reads must stay within the value's own bytes.
TEST_F(KtRegistryKeyTest, ShortOrUnterminatedDataIsReadOnlyFromItsOwnBytes)
{
    KtRegistryKey key;
    key.open(HKEY_CURRENT_USER, path("c").c_str());
    const BYTE two[] = {0x34, 0x12};
    key.setValue("two", REG_BINARY, two, 2);
    key.setValue("one", REG_BINARY, two, 1);
    key.setValue("none", REG_BINARY, two, 0);
    key.setValue("raw", REG_SZ, reinterpret_cast<const BYTE*>("abcdef"), 3);

    EXPECT_EQ(0x1234u, key.getInt("two", 99));
    EXPECT_EQ(0x34u, key.getInt("one", 99));
    EXPECT_EQ(0u, key.getInt("none", 99)) << "present but empty: no bytes, not the default";
    KtString stringValue("7");
    key.setString("digit", stringValue);
    EXPECT_EQ(0x37u, key.getInt("digit", 99)) << "'7' and its NUL";

    EXPECT_STREQ("abc", key.getString("raw").text());
    EXPECT_EQ(3, key.getString("raw").length());

    DWORD size = 99;
    std::unique_ptr<BYTE[]> block = key.queryValue("two", REG_DWORD, &size);
    ASSERT_TRUE(block);
    EXPECT_EQ(2u, size) << "the stored type is not compared with the asked one";
    EXPECT_FALSE(key.queryValue("missing", REG_DWORD, &size));
    EXPECT_EQ(0u, size);
}

TEST_F(KtRegistryKeyTest, TheFrameworkOptionMakesAVolatileKeyAndTheProductOptionAPersistentOne)
{
    KtRegistryKey volatileKey;
    ASSERT_EQ(ERROR_SUCCESS, volatileKey.open(HKEY_CURRENT_USER, path("volatile").c_str(),
                                              KtRegistryNames::frameworkKeyOptions));
    // Only a volatile key refuses a non-volatile child.
    EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE,
              createSubKey(volatileKey.handle(), "child", REG_OPTION_NON_VOLATILE));
    EXPECT_EQ(ERROR_SUCCESS, createSubKey(volatileKey.handle(), "child", REG_OPTION_VOLATILE));

    KtRegistryKey persistentKey;
    ASSERT_EQ(ERROR_SUCCESS, persistentKey.open(HKEY_CURRENT_USER, path("persistent").c_str(),
                                                KtRegistryNames::productKeyOptions));
    EXPECT_EQ(ERROR_SUCCESS,
              createSubKey(persistentKey.handle(), "child", REG_OPTION_NON_VOLATILE));
}

TEST_F(KtRegistryKeyTest, AFailedOpenLeavesEveryOperationSilent)
{
    KtRegistryKey key;
    HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1230));
    EXPECT_NE(ERROR_SUCCESS, key.open(bogus, "x"));
    EXPECT_EQ(nullptr, key.handle());
    key.setInt("n", 1);
    key.setString("s", "t");
    EXPECT_EQ(5u, key.getInt("n", 5));
    EXPECT_EQ(0, key.getString("s").length());
    EXPECT_FALSE(key.queryValue("n", REG_DWORD));
    key.close();
    key.close();
}

TEST_F(KtRegistryKeyTest, CloseReopenAndDestructionReleaseTheHandle)
{
    HKEY first;
    {
        KtRegistryKey key;
        key.open(HKEY_CURRENT_USER, path("d").c_str());
        first = key.handle();
        ASSERT_TRUE(handleIsOpen(first));
        key.open(HKEY_CURRENT_USER, path("e").c_str());
        // A reused handle value also proves the first one was closed.
        EXPECT_TRUE(key.handle() == first || !handleIsOpen(first));
        first = key.handle();
    }
    EXPECT_FALSE(handleIsOpen(first)) << "the destructor closes the key";

    KtRegistryKey key;
    key.open(HKEY_CURRENT_USER, path("f").c_str());
    HKEY handle = key.handle();
    key.close();
    EXPECT_EQ(nullptr, key.handle());
    EXPECT_FALSE(handleIsOpen(handle));
    key.close();
}

}  // namespace
