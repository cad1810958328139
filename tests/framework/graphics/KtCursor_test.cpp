// KtCursor: which module each number comes from, names, files and ownership.
#include "KtCursor.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>

namespace {

HCURSOR systemCursor(int number)
{
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(number));
}

HCURSOR programCursor(int number)
{
    return LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(number));
}

bool cursorAlive(HCURSOR cursor)
{
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info))
        return false;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return true;
}

// Writes a 32x32 monochrome cursor file (a filled square) to a temporary path.
class CursorFile {
public:
    explicit CursorFile(const char* name)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + name;
        std::vector<uint8_t> bytes;
        auto put16 = [&](unsigned v) { bytes.push_back(v & 0xFF); bytes.push_back(v >> 8); };
        auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
        const uint32_t imageBytes = 40 + 8 + 128 + 128;
        put16(0); put16(2); put16(1);                          // directory: cursor, one image
        bytes.push_back(32); bytes.push_back(32); bytes.push_back(0); bytes.push_back(0);
        put16(3); put16(5);                                    // hotspot
        put32(imageBytes); put32(22);
        put32(40); put32(32); put32(64); put16(1); put16(1);   // header, height doubled
        for (int i = 0; i < 6; ++i) put32(0);
        put32(0x000000); put32(0xFFFFFF);                      // palette
        for (int i = 0; i < 32; ++i) put32(0xFFFFFFFF);        // image: white
        for (int i = 0; i < 32; ++i) put32(0);                 // mask: all shown
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
        CloseHandle(file);
    }
    ~CursorFile() { DeleteFileA(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

TEST(KtCursor, NumbersComeFromTheSystemOrTheProgramByRange)
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    struct Case { unsigned number; HINSTANCE module; } cases[] = {
        {1, program}, {103, program}, {32511, program},
        {32512, nullptr}, {32516, nullptr}, {32517, program},
        {32639, program}, {32640, nullptr}, {32646, nullptr},
        {32647, program}, {32648, nullptr}, {32649, program},
        {32650, nullptr}, {32651, program}, {65535, program},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.module, KtCursor::moduleForNumber(c.number)) << "number " << c.number;
}

TEST(KtCursor, ZeroGivesTheSystemArrowNotOwned)
{
    KtCursor cursor;
    EXPECT_EQ(nullptr, cursor.handle());
    cursor.load(0);
    EXPECT_EQ(systemCursor(32512), cursor.handle());
    EXPECT_FALSE(cursor.owned());
}

TEST(KtCursor, TheProgramsOwnCursorsLoadByNumber)
{
    const int numbers[] = {103, 116, 117, 118, 119, 120};
    for (int n : numbers) {
        KtCursor cursor;
        cursor.load(MAKEINTRESOURCEA(n));
        ASSERT_NE(nullptr, programCursor(n)) << "resource " << n << " missing";
        EXPECT_EQ(programCursor(n), cursor.handle()) << "number " << n;
        EXPECT_NE(systemCursor(32512), cursor.handle()) << "number " << n;
        EXPECT_FALSE(cursor.owned());
    }
}

TEST(KtCursor, SystemRangesAndTheTwoExceptions)
{
    KtCursor cursor;
    cursor.load(32648);                 // the system's "no" cursor
    EXPECT_EQ(systemCursor(32648), cursor.handle());
    cursor.load(32513);
    EXPECT_EQ(systemCursor(32513), cursor.handle());

    cursor.load(32647);                 // looked up in the program, which has one
    ASSERT_NE(nullptr, programCursor(32647));
    EXPECT_EQ(programCursor(32647), cursor.handle());

    // The program has no 32649: the system's hand must not be taken, the
    // arrow is the fallback.
    ASSERT_EQ(nullptr, programCursor(32649));
    cursor.load(32649);
    EXPECT_EQ(systemCursor(32512), cursor.handle());

    cursor.load(5000);                  // a number the program lacks
    EXPECT_EQ(systemCursor(32512), cursor.handle());
    EXPECT_FALSE(cursor.owned());
}

TEST(KtCursor, NumbersBeyondSixteenBitsFallBackToTheArrow)
{
    KtCursor cursor;
    cursor.load(0x10000 + 103);
    EXPECT_EQ(systemCursor(32512), cursor.handle());
    cursor.load(-1);
    EXPECT_EQ(systemCursor(32512), cursor.handle());
}

TEST(KtCursor, ResourceNameIsSharedNotOwned)
{
    KtCursor cursor;
    cursor.load("KTTESTCURSOR");
    HCURSOR expected = LoadCursorA(GetModuleHandleA(nullptr), "KTTESTCURSOR");
    ASSERT_NE(nullptr, expected);
    EXPECT_EQ(expected, cursor.handle());
    EXPECT_FALSE(cursor.owned());
}

TEST(KtCursor, FileCursorIsOwnedAndDestroyedWhenReplacedOrDeleted)
{
    CursorFile first("kt_cursor_first.cur"), second("kt_cursor_second.cur");
    HCURSOR old = nullptr;
    {
        KtCursor cursor;
        cursor.load(first.path());
        old = cursor.handle();
        ASSERT_NE(nullptr, old);
        EXPECT_TRUE(cursor.owned());
        EXPECT_TRUE(cursorAlive(old));

        cursor.load(second.path());        // a file over a file
        EXPECT_TRUE(cursor.owned());
        EXPECT_NE(old, cursor.handle());
        EXPECT_FALSE(cursorAlive(old));
        old = cursor.handle();
        EXPECT_TRUE(cursorAlive(old));
    }
    EXPECT_FALSE(cursorAlive(old)) << "the destructor keeps an owned cursor alive";
}

TEST(KtCursor, UnloadableNameKeepsTheArrowAndDestroysTheOwnedCursor)
{
    CursorFile file("kt_cursor_lost.cur");
    KtCursor cursor;
    cursor.load(file.path());
    HCURSOR owned = cursor.handle();
    ASSERT_TRUE(cursor.owned());

    cursor.load("no such cursor.cur");
    EXPECT_EQ(systemCursor(32512), cursor.handle());
    EXPECT_FALSE(cursor.owned());
    EXPECT_FALSE(cursorAlive(owned));
}

TEST(KtCursor, SharingTakesTheHandleButNotTheOwnership)
{
    CursorFile file("kt_cursor_shared.cur");
    KtCursor source;
    source.load(file.path());
    HCURSOR handle = source.handle();
    {
        KtCursor user;
        user.share(source);
        EXPECT_EQ(handle, user.handle());
        EXPECT_FALSE(user.owned());
    }
    EXPECT_TRUE(cursorAlive(handle)) << "a borrower destroyed the owner's cursor";
    EXPECT_TRUE(source.owned());

    // A borrower that owned a file cursor of its own gives it up first.
    CursorFile other("kt_cursor_other.cur");
    KtCursor borrower;
    borrower.load(other.path());
    HCURSOR its = borrower.handle();
    borrower.share(source);
    EXPECT_FALSE(cursorAlive(its));
    EXPECT_EQ(handle, borrower.handle());
}

} // namespace
