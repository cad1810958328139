// KtReg and KtStrReg: warning texts, element 0 fallback, creation on first touch, create rules, memory failures, file form.
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtReg.h"
#include "KtStrReg.h"
#include "MessageBoxRecorder.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const char uncreatedText[] =
    "レジスタ領域は、まだ create されていません\n"
    "代入時の悪影響をさけるため、１つの要素を持った領域を作成して\n"
    "処理を継続します。";

std::string rangeText(const char* index, const char* last)
{
    return std::string("指定されたインデックス") + index + "は\n本レジスタの範囲 0 ～ " + last +
           "を越えています。\n０番インデックスが指定されたと仮定して処理を継続します。";
}

void fill(KtReg& reg)
{
    for (int i = 0; i < reg.count(); ++i)
        reg.item(i) = 100 + i;
}

TEST(KtReg, IndexesOutsideTheArrayWarnAndUseElementZero)
{
    MessageBoxRecorder boxes;
    KtReg reg;
    reg.create(10);
    fill(reg);
    EXPECT_EQ(0u, boxes.count()) << "indexes 0 to 9 are inside";

    const struct { int index; const char* shown; } cases[] = {
        {-1, "-1"}, {10, "10"}, {-2147483647 - 1, "-2147483648"}};
    for (const auto& c : cases) {
        boxes.clear();
        DWORD& element = reg.item(c.index);
        EXPECT_EQ(&reg.values()[0], &element) << "index " << c.index;
        ASSERT_EQ(1u, boxes.count()) << "index " << c.index;
        MessageBoxRecorder::Box box = boxes.last();
        EXPECT_EQ(rangeText(c.shown, "9"), box.text);
        EXPECT_EQ("KtReg - item()", box.caption);
        EXPECT_EQ(0x12000u, box.style);
        EXPECT_EQ(nullptr, box.owner);
    }
    EXPECT_EQ(10, reg.count());
    EXPECT_EQ(109u, reg.item(9));
}

TEST(KtReg, FirstTouchCreatesOneZeroElement)
{
    MessageBoxRecorder boxes;
    KtReg reg;
    EXPECT_EQ(nullptr, reg.values());
    reg.item(7) = 42;
    ASSERT_EQ(1, reg.count());
    EXPECT_EQ(42u, reg.values()[0]);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(uncreatedText, boxes.last().text);
    EXPECT_EQ("KtReg - item()", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);

    // After a clear the array is gone again and the next touch recreates it.
    reg.clear();
    reg.clear();
    EXPECT_EQ(nullptr, reg.values());
    EXPECT_EQ(0, reg.count());
    EXPECT_EQ(0u, reg.item(0));
    EXPECT_EQ(2u, boxes.count());
}

TEST(KtReg, CreateIgnoresNonPositiveCountsAndOtherwiseReplacesWithZeros)
{
    KtReg reg;
    reg.create(10);
    fill(reg);
    const DWORD* before = reg.values();
    reg.create(0);
    reg.create(-3);
    EXPECT_EQ(before, reg.values());
    EXPECT_EQ(10, reg.count());
    EXPECT_EQ(105u, reg.values()[5]);

    reg.create(3);
    ASSERT_EQ(3, reg.count());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0u, reg.values()[i]) << "element " << i;
}

TEST(KtReg, ImpossibleCountsThrowNotEnoughMemoryAndKeepTheOldArray)
{
    KtReg reg;
    reg.create(4);
    fill(reg);
    // 0x7FFFFFFF elements do not fit the address space at all; 0x3FFFFFFF
    // fit the arithmetic but not the heap.
    for (int count : {0x7FFFFFFF, 0x3FFFFFFF}) {
        try {
            reg.create(count);
            FAIL() << "no exception for " << count;
        } catch (NotEnoughMemoryException& e) {
            EXPECT_STREQ("KtReg - create", e.title());
            EXPECT_STREQ("メモリが足りません！", e.message());
        }
        ASSERT_EQ(4, reg.count()) << count;
        EXPECT_EQ(103u, reg.values()[3]) << count;
    }
}

TEST(KtStrReg, FirstTouchCreatesOneEmptyString)
{
    MessageBoxRecorder boxes;
    KtStrReg reg;
    KtString& element = reg.item(5);
    ASSERT_EQ(1, reg.count());
    EXPECT_EQ(&reg.strings()[0], &element);
    EXPECT_STREQ("", element.text());
    EXPECT_EQ(256, element.growth());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(uncreatedText, boxes.last().text);
    EXPECT_EQ("KtStrReg - item()", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);
    EXPECT_EQ(nullptr, boxes.last().owner);
}

TEST(KtStrReg, OutOfRangeWarnsWithTheLastIndexAndUsesElementZero)
{
    MessageBoxRecorder boxes;
    KtStrReg reg;
    reg.create(3);
    reg.item(0).append("zero");
    reg.item(2).append("two");
    EXPECT_EQ(0u, boxes.count());

    EXPECT_STREQ("zero", reg.item(3).text());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(rangeText("3", "2"), boxes.last().text);
    EXPECT_EQ("KtStrReg - item()", boxes.last().caption);
    EXPECT_STREQ("zero", reg.item(-5).text());
    EXPECT_EQ(rangeText("-5", "2"), boxes.last().text);
}

TEST(KtStrReg, CreateRulesAndMemoryFailures)
{
    KtStrReg reg;
    reg.create(10);
    reg.item(4).append("kept");
    reg.create(0);
    EXPECT_EQ(10, reg.count());
    EXPECT_STREQ("kept", reg.item(4).text());

    // 0x15000000 strings take almost 4 GB; 0x7FFFFFFF overflow the size.
    for (int count : {0x7FFFFFFF, 0x15000000}) {
        try {
            reg.create(count);
            FAIL() << "no exception for " << count;
        } catch (NotEnoughMemoryException& e) {
            EXPECT_STREQ("KtStrReg - create", e.title());
            EXPECT_STREQ("メモリが足りません！", e.message());
        }
        EXPECT_EQ(10, reg.count()) << count;
        EXPECT_STREQ("kept", reg.item(4).text()) << count;
    }

    reg.create(2);
    ASSERT_EQ(2, reg.count());
    EXPECT_STREQ("", reg.item(0).text());
    EXPECT_STREQ("", reg.item(1).text());
    reg.clear();
    EXPECT_EQ(nullptr, reg.strings());
    EXPECT_EQ(0, reg.count());
}

// The file form, reached through table slots 1 and 2 as a module would.
class KtRegFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "KtReg_test_" + std::to_string(GetCurrentProcessId()) + ".dat";
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }
    void openFile(KtFile& file, DWORD disposition)
    {
        file.open(path_.c_str(), disposition, GENERIC_READ | GENERIC_WRITE, 0,
                  FILE_ATTRIBUTE_NORMAL);
    }
    void writeRaw(const void* bytes, DWORD size)
    {
        KtFile file;
        openFile(file, CREATE_ALWAYS);
        file.write(bytes, size);
    }
    std::string path_;
};

TEST_F(KtRegFile, IntegersRoundTripThroughTheTableSlots)
{
    KtReg saved;
    saved.create(3);
    saved.item(0) = 1;
    saved.item(2) = 0xFFFFFFFF;
    {
        KtFile file;
        openFile(file, CREATE_ALWAYS);
        callSlot<void, KtFile&>(&saved, 1, file);
        EXPECT_EQ(16u, GetFileSize(file.handle, nullptr)) << "count and three values";
    }
    KtReg loaded;
    KtFile file;
    openFile(file, OPEN_EXISTING);
    ASSERT_TRUE((callSlot<bool, KtFile&>(&loaded, 2, file)));
    ASSERT_EQ(3, loaded.count());
    EXPECT_EQ(1u, loaded.values()[0]);
    EXPECT_EQ(0u, loaded.values()[1]);
    EXPECT_EQ(0xFFFFFFFFu, loaded.values()[2]);
}

TEST_F(KtRegFile, CountsTheFileCannotHoldAreRefused)
{
    const DWORD huge[] = {0x40000000, 7};       // claims 4 GB, holds 4 bytes
    const DWORD zero[] = {0};
    const unsigned char shortCount[] = {1, 0};
    KtReg reg;
    reg.create(2);
    reg.item(1) = 9;
    KtStrReg strings;
    strings.create(1);
    strings.item(0).append("old");
    const struct { const void* bytes; DWORD size; } cases[] = {
        {huge, sizeof huge}, {zero, sizeof zero}, {shortCount, sizeof shortCount}};
    for (const auto& c : cases) {
        writeRaw(c.bytes, c.size);
        KtFile file;
        openFile(file, OPEN_EXISTING);
        EXPECT_FALSE(reg.load(file)) << c.size;
        EXPECT_FALSE(strings.load(file)) << c.size;
    }
    EXPECT_EQ(2, reg.count());
    EXPECT_EQ(9u, reg.values()[1]);
    EXPECT_STREQ("old", strings.item(0).text());
}

TEST_F(KtRegFile, StringsRoundTripAsStringRecords)
{
    KtStrReg saved;
    saved.create(3);
    saved.item(0).append("日本語のテキスト");
    saved.item(2).append("x");
    {
        KtFile file;
        openFile(file, CREATE_ALWAYS);
        callSlot<void, KtFile&>(&saved, 1, file);
    }
    KtStrReg loaded;
    KtFile file;
    openFile(file, OPEN_EXISTING);
    ASSERT_TRUE((callSlot<bool, KtFile&>(&loaded, 2, file)));
    ASSERT_EQ(3, loaded.count());
    EXPECT_STREQ("日本語のテキスト", loaded.strings()[0].text());
    EXPECT_STREQ("", loaded.strings()[1].text());
    EXPECT_STREQ("x", loaded.strings()[2].text());
}

}  // namespace
