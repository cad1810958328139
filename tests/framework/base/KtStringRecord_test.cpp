// String records and class tags: round trips, peeking without moving, and positions restored on a mismatch.
#include "Diagnostic.h"
#include "KtClassTag.h"
#include "KtFile.h"
#include "KtStringRecord.h"
#include "MessageBoxRecorder.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

// A scratch file in the temp folder, opened for reading and writing.
class RecordFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "KtStringRecord_test_" + std::to_string(GetCurrentProcessId());
        file_.open(path_.c_str(), CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                   FILE_ATTRIBUTE_NORMAL);
    }
    void TearDown() override
    {
        file_.close();
        DeleteFileA(path_.c_str());
    }
    DWORD position() { return SetFilePointer(file_.handle, 0, nullptr, FILE_CURRENT); }
    void seek(DWORD to) { SetFilePointer(file_.handle, static_cast<LONG>(to), nullptr, FILE_BEGIN); }
    void writeRaw(const void* bytes, DWORD size) { ASSERT_EQ(size, file_.write(bytes, size)); }
    void writeCount(DWORD count) { writeRaw(&count, sizeof count); }

    std::string path_;
    KtFile file_;
};

TEST_F(RecordFileTest, SaveWritesCountTextAndNulAndLoadReadsItBack)
{
    KtString saved("画像KtVSurface");
    KtStringRecord::save(saved, file_);
    KtStringRecord::save(KtString(""), file_);
    const DWORD length = static_cast<DWORD>(saved.length());
    EXPECT_EQ(4 + length + 1 + 4 + 1, position());

    seek(0);
    DWORD count = 0;
    ASSERT_EQ(4u, file_.read(&count, 4));
    EXPECT_EQ(length + 1, count);
    seek(4 + length);
    char nul = 'x';
    file_.read(&nul, 1);
    EXPECT_EQ('\0', nul);

    seek(0);
    EXPECT_EQ(length, KtStringRecord::storedLength(file_));
    EXPECT_EQ(0u, position()) << "storedLength must not consume the record";
    KtString loaded("previous");
    KtStringRecord::load(loaded, file_);
    EXPECT_STREQ(saved.text(), loaded.text());
    EXPECT_EQ(4 + length + 1, position());
    EXPECT_EQ(0u, KtStringRecord::storedLength(file_));
    KtStringRecord::load(loaded, file_);
    EXPECT_STREQ("", loaded.text());
}

TEST_F(RecordFileTest, DamagedRecordsStayInsideTheirBytes)
{
    // No NUL among the count's bytes: only those bytes are kept.
    writeCount(3);
    writeRaw("abcdef", 6);
    seek(0);
    KtString loaded;
    KtStringRecord::load(loaded, file_);
    EXPECT_STREQ("abc", loaded.text());
    EXPECT_EQ(7u, position());

    // A count far beyond the end of the file reads what is there.
    seek(0);
    writeCount(0x7FFFFFF0);
    seek(0);
    KtStringRecord::load(loaded, file_);
    EXPECT_STREQ("abcdef", loaded.text());

    // Fewer than four bytes left: no record, an empty string.
    seek(8);
    KtStringRecord::load(loaded, file_);
    EXPECT_STREQ("", loaded.text());
    seek(8);
    EXPECT_EQ(0u, KtStringRecord::storedLength(file_));
    EXPECT_EQ(8u, position());
}

TEST_F(RecordFileTest, HugeRecordThatTheFileReallyHoldsThrowsNotEnoughMemory)
{
#ifdef _WIN64
    GTEST_SKIP() << "a 64-bit heap can serve this 2 GB count; the case is about the 32-bit one";
#endif
    // A sparse file long enough for a count that no 32-bit heap can serve.
    const DWORD count = 0x7FFFFFF0;
    writeCount(count);
    seek(4 + count);
    ASSERT_TRUE(SetEndOfFile(file_.handle));
    seek(0);
    KtString loaded("kept");
    try {
        KtStringRecord::load(loaded, file_);
        FAIL() << "no exception";
    } catch (NotEnoughMemoryException& e) {
        EXPECT_STREQ("KtHeap - malloc", e.title());
        EXPECT_STREQ("メモリが足りません！", e.message());
    }
    EXPECT_STREQ("kept", loaded.text());
}

TEST(StringRecord, ClosedFileIsLeftAlone)
{
    MessageBoxRecorder boxes;
    KtFile closed;
    KtString text("unchanged");
    KtStringRecord::save(text, closed);
    KtStringRecord::load(text, closed);
    EXPECT_STREQ("unchanged", text.text());
    EXPECT_EQ(0u, KtStringRecord::storedLength(closed));
    KtClassTag tag("unchanged");
    EXPECT_FALSE(tag.matchInFile(closed));
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(RecordFileTest, MatchInFileConsumesOnlyItsOwnTag)
{
    KtClassTag("KtVSurface").save(file_);       // same length as the tag below, other text
    KtClassTag("KtVSurface24").save(file_);     // other length
    KtClassTag("KtVSurfac2").save(file_);
    const DWORD end = position();

    KtClassTag tag("KtVSurfac2");
    seek(0);
    EXPECT_FALSE(tag.matchInFile(file_));
    EXPECT_EQ(0u, position());
    const DWORD second = 4 + 11;
    seek(second);
    EXPECT_FALSE(tag.matchInFile(file_));
    EXPECT_EQ(second, position());
    const DWORD third = second + 4 + 13;
    seek(third);
    EXPECT_TRUE(tag.matchInFile(file_));
    EXPECT_EQ(end, position());
    EXPECT_FALSE(tag.matchInFile(file_)) << "at the end of the file";
    EXPECT_EQ(end, position());

    KtClassTag read;
    seek(second);
    read.load(file_);
    EXPECT_TRUE(read.equals("KtVSurface24"));
}

TEST(ClassTag, EqualsIsCaseSensitiveAndAssignShares)
{
    KtClassTag tag("KtVSurface");
    EXPECT_TRUE(tag.equals("KtVSurface"));
    EXPECT_FALSE(tag.equals("ktvsurface"));
    EXPECT_FALSE(tag.equals("KtVSurface24"));
    EXPECT_TRUE(tag.equals(KtString("KtVSurface")));
    EXPECT_FALSE(tag.equals(KtString("KTVSURFACE")));

    KtString other("KtVSurface24");
    tag.assign(other);
    EXPECT_EQ(other.text(), tag.name().text()) << "assign from a string shares its buffer";
    EXPECT_TRUE(tag.equals(other));
    tag.assign("KtPalette");
    EXPECT_STREQ("KtPalette", tag.name().text());
    EXPECT_STREQ("KtVSurface24", other.text());
    EXPECT_EQ(0, tag.reserved());
}

// Scenario modules call the tag through its table: each operation keeps its slot.
TEST(ClassTag, VirtualOperationsKeepTheirSlots)
{
    // A pointer to a virtual member holds 1 + the byte offset of its entry.
    auto slotOf = [](auto member) {
        ptrdiff_t raw;
        std::memcpy(&raw, &member, sizeof raw);
        return static_cast<int>((raw - 1) / sizeof(void*));
    };
    // The destructor fills entries 0 and 1 (complete and deleting).
    EXPECT_EQ(2, slotOf(static_cast<void (KtClassTag::*)(const KtString&)>(&KtClassTag::assign)));
    EXPECT_EQ(3, slotOf(static_cast<void (KtClassTag::*)(const char*)>(&KtClassTag::assign)));
    EXPECT_EQ(4, slotOf(&KtClassTag::reserved));
    EXPECT_EQ(5, slotOf(static_cast<bool (KtClassTag::*)(const KtString&)>(&KtClassTag::equals)));
    EXPECT_EQ(6, slotOf(static_cast<bool (KtClassTag::*)(const char*)>(&KtClassTag::equals)));
    EXPECT_EQ(7, slotOf(&KtClassTag::matchInFile));
    EXPECT_EQ(8, slotOf(&KtClassTag::name));
    EXPECT_EQ(9, slotOf(&KtClassTag::save));
    EXPECT_EQ(10, slotOf(&KtClassTag::load));
}

} // namespace
