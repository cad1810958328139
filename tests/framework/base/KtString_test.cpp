// KtString: sizing, sharing, appends, numbers, Shift-JIS walking and failures.
#include "KtString.h"
#include "Diagnostic.h"
#include "ImportPatch.h"
#include "MessageBoxRecorder.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <process.h>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

static_assert(sizeof(KtString) == 12, "vtable, buffer, cursor");

namespace {

const char kNoMemory[] = "メモリが足りません！";

int cursorOffset(const KtString& s)
{
    return static_cast<int>(s.cursor() - s.text());
}

// Hands out malloc blocks with a canary byte just past the size asked for,
// so any write beyond a buffer's capacity is seen; can fail on demand.
class GuardedAllocator {
public:
    GuardedAllocator()
    {
        instance_ = this;
        previous_ = KtStringBuffer::setAllocators({&allocate, &release});
    }
    ~GuardedAllocator()
    {
        KtStringBuffer::setAllocators(previous_);
        instance_ = nullptr;
    }
    // The next `n` allocations succeed, every later one fails.
    void failAfter(int n) { remaining_ = n; }
    void succeedAlways() { remaining_ = -1; }

    // Checks the blocks still alive; freed ones were checked when freed.
    bool canariesIntact()
    {
        std::lock_guard<std::mutex> hold(mutex_);
        for (auto& block : blocks_) {
            if (static_cast<unsigned char>(block.first[block.second]) != kCanary)
                overrun_ = true;
        }
        return !overrun_;
    }

private:
    static const unsigned char kCanary = 0xA5;

    static void* allocate(size_t size)
    {
        GuardedAllocator* self = instance_;
        std::lock_guard<std::mutex> hold(self->mutex_);
        if (self->remaining_ == 0)
            return nullptr;
        if (self->remaining_ > 0)
            --self->remaining_;
        char* block = static_cast<char*>(std::malloc(size + 1));
        std::memset(block, 0x5A, size);
        block[size] = static_cast<char>(kCanary);
        self->blocks_[block] = size;
        return block;
    }

    static void release(void* p)
    {
        GuardedAllocator* self = instance_;
        if (p) {
            std::lock_guard<std::mutex> hold(self->mutex_);
            auto found = self->blocks_.find(static_cast<char*>(p));
            if (found == self->blocks_.end()) {
                self->overrun_ = true;   // not ours: freed twice or made before the guard
            } else {
                if (static_cast<unsigned char>(found->first[found->second]) != kCanary)
                    self->overrun_ = true;
                self->blocks_.erase(found);
            }
        }
        std::free(p);
    }

    static GuardedAllocator* instance_;
    KtStringBuffer::Allocators previous_;
    bool overrun_ = false;
    std::mutex mutex_;
    std::map<char*, size_t> blocks_;
    int remaining_ = -1;
};
GuardedAllocator* GuardedAllocator::instance_ = nullptr;

template <class F>
void expectNoMemory(const char* title, F operation)
{
    try {
        operation();
        ADD_FAILURE() << "nothing thrown, expected " << title;
    } catch (NotEnoughMemoryException& e) {
        EXPECT_STREQ(title, e.title());
        EXPECT_STREQ(kNoMemory, e.message());
    }
}

TEST(KtString, RunsUnderTheJapaneseCodePage)
{
    // Every walking test below depends on Shift-JIS lead bytes.
    ASSERT_EQ(932u, GetACP());
}

TEST(KtString, CapacityIsTheSmallestGrowthMultipleAboveLengthPlusOne)
{
    struct Case { int growth; int length; int wantGrowth; int wantCapacity; };
    const Case cases[] = {
        {4, 0, 16, 16}, {0, 0, 16, 16}, {-5, 14, 16, 16}, {16, 15, 16, 32},
        {256, 0, 256, 256}, {256, 254, 256, 256}, {256, 255, 256, 512}, {512, 600, 512, 1024},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        KtString s(c.growth, text.c_str());
        EXPECT_EQ(c.wantGrowth, s.growth()) << "growth " << c.growth << " length " << c.length;
        EXPECT_EQ(c.wantCapacity, s.capacity()) << "growth " << c.growth << " length " << c.length;
        EXPECT_EQ(c.length, s.length());
        EXPECT_EQ(1, s.references());
        EXPECT_EQ(s.text(), s.cursor());
    }
    KtString empty;
    EXPECT_STREQ("", empty.text());
    EXPECT_EQ(256, empty.capacity());
    KtString* array = new KtString[3];
    EXPECT_EQ(256, array[2].growth());
    delete[] array;
}

TEST(KtString, SmallAppendsReallocateOncePerGrowthUnitAndKeepTheCursor)
{
    GuardedAllocator guard;
    KtString s(16, nullptr);
    int moves = 0;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        const char* before = s.text();
        if (i == 10)
            s.seek(7, 0);
        char one[2] = {static_cast<char>('a' + i % 26), 0};
        s.append(one);
        expected += one;
        if (s.text() != before)
            ++moves;
        ASSERT_EQ(0, s.capacity() % 16);
        ASSERT_GT(s.capacity(), s.length());
        ASSERT_EQ(i < 10 ? 0 : 7, cursorOffset(s)) << "after append " << i;
    }
    EXPECT_EQ(expected, s.text());
    EXPECT_EQ(112, s.capacity());
    EXPECT_EQ(6, moves);   // at lengths 16, 32, 48, 64, 80, 96
    EXPECT_TRUE(guard.canariesIntact());
}

TEST(KtString, ACopySharesTheBufferUntilOneSideChanges)
{
    KtString original(256, "abcdef");
    original.seek(3, 0);
    KtString copy(original);
    EXPECT_EQ(original.text(), copy.text());
    EXPECT_EQ(2, original.references());
    EXPECT_EQ(3, cursorOffset(copy));

    copy.append("gh");
    EXPECT_STREQ("abcdef", original.text());
    EXPECT_STREQ("abcdefgh", copy.text());
    EXPECT_NE(original.text(), copy.text());
    EXPECT_EQ(1, original.references());
    EXPECT_EQ(1, copy.references());
    EXPECT_EQ(3, cursorOffset(copy));
    EXPECT_EQ(256, copy.growth());

    KtString assigned;
    assigned = original;
    EXPECT_EQ(original.text(), assigned.text());
    assigned.seek(1, 0);
    assigned = original;   // same buffer already: the cursor stays
    EXPECT_EQ(1, cursorOffset(assigned));
    assigned = assigned;
    EXPECT_EQ(2, assigned.references());

    assigned.clear();
    EXPECT_STREQ("", assigned.text());
    EXPECT_EQ(256, assigned.growth());
    EXPECT_STREQ("abcdef", original.text());
    EXPECT_EQ(1, original.references());

    KtString unshared(32, "xyz");
    const char* where = unshared.text();
    unshared.clear();
    EXPECT_EQ(where, unshared.text());
    EXPECT_EQ(32, unshared.capacity());
    EXPECT_EQ(0, unshared.length());
}

TEST(KtString, StringsBuiltFromTheirOwnBuffer)
{
    GuardedAllocator guard;
    KtString s(16, "0123456789");
    s.create(16, s.text());
    EXPECT_STREQ("0123456789", s.text());
    s.create(16, s.text() + 4);
    EXPECT_STREQ("456789", s.text());
    s.append(s.text());           // fits in place
    EXPECT_STREQ("456789456789", s.text());
    s.append(s.text());           // must grow
    EXPECT_STREQ("456789456789456789456789", s.text());
    s.appendN(s.text() + 3, 4);
    EXPECT_STREQ("4567894567894567894567897894", s.text());
    s.extract(s, s.text() + 2, s.text() + 5);
    EXPECT_STREQ("6789", s.text());
    EXPECT_TRUE(guard.canariesIntact());
}

}  // namespace

// The framework's calls to memcpy go through a counter while a case runs:
// copies with overlapping ranges are counted, since this platform's memcpy
// happens to tolerate them.
namespace {
using CopyFunction = void*(__cdecl*)(void* to, const void* from, size_t bytes);
CopyFunction realMemcpy = nullptr;
long overlappingCopies = 0;
long copies = 0;

void* __cdecl countingMemcpy(void* to, const void* from, size_t bytes)
{
    ++copies;
    const char* a = static_cast<const char*>(to);
    const char* b = static_cast<const char*>(from);
    if (bytes > 0 && a < b + bytes && b < a + bytes)
        ++overlappingCopies;
    return realMemcpy(to, from, bytes);
}

TEST(KtString, AppendingItsOwnTextNeverCopiesOverlappingBytes)
{
    struct Case {
        const char* name;
        int offset;          // where in its own text the appended part starts
        const char* expected;
    };
    const Case cases[] = {
        {"the whole text", 0, "abcdefabcdef"},
        {"its tail", 2, "abcdefcdef"},
        {"its terminator", 6, "abcdef"},
    };
    realMemcpy = reinterpret_cast<CopyFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), "memcpy")));
    ASSERT_NE(nullptr, realMemcpy);
    ImportPatch counting("msvcrt.dll", "memcpy", reinterpret_cast<const void*>(&countingMemcpy));
    ASSERT_TRUE(counting.active());
    copies = 0;
    for (const Case& c : cases) {
        KtString s(64, "abcdef");    // room for the copy in place
        overlappingCopies = 0;
        s.append(s.text() + c.offset);
        EXPECT_EQ(0, overlappingCopies) << c.name;
        EXPECT_STREQ(c.expected, s.text()) << c.name;
        EXPECT_EQ(int(std::strlen(c.expected)), s.length()) << c.name;
    }
    EXPECT_GT(copies, 0) << "the counter saw none of the framework's copies";
}

TEST(KtString, AppendNNeverSplitsADoubleByteCharacter)
{
    struct Case { const char* text; int maxBytes; const char* want; };
    const Case cases[] = {
        {"abあい", 3, "ab"},      // lead byte at index maxBytes - 1: left out whole
        {"abあい", 4, "abあ"},
        {"abあい", 5, "abあ"},
        {"abあい", 6, "abあい"},
        {"abあい", 60, "abあい"},
        {"ｱｲｳ", 2, "ｱｲ"},         // half-width katakana are single bytes
        {"abc", 0, ""},
        {"abc", -3, ""},
        {nullptr, 5, ""},
    };
    for (const Case& c : cases) {
        KtString s(16, nullptr);
        s.appendN(c.text, c.maxBytes);
        EXPECT_STREQ(c.want, s.text()) << (c.text ? c.text : "(null)") << " / " << c.maxBytes;
        EXPECT_EQ(static_cast<int>(std::strlen(c.want)), s.length());
    }
}

TEST(KtString, NumbersInEveryRadixWithWidths)
{
    struct Case { bool isSigned; int value; int radix; int width; const char* want; };
    const Case cases[] = {
        {true, 987, 10, 2, "87"},
        {true, 987, 10, 3, "987"},
        {true, 987, 10, 0, "987"},
        {true, -5, 10, 4, "  -5"},
        {true, -5, 16, 0, "fffffffb"},
        {true, -5, 2, 3, "011"},
        {true, 0, 10, 0, "0"},
        {true, INT_MIN, 10, 0, "-2147483648"},
        {true, 255, 16, 4, "  ff"},
        {true, 35, 36, 0, "z"},
        {true, 5, 2, 0, "101"},
        {true, 12, 1, 0, "12"},      // an impossible radix falls back to decimal
        {true, 12, 37, 0, "12"},
        {false, 42, 10, 6, "    42"},
        {false, -1, 10, 0, "4294967295"},
        {false, -1, 2, 0, "11111111111111111111111111111111"},
        {false, 0xDEAD, 16, 2, "ad"},
    };
    for (const Case& c : cases) {
        KtString s(16, "[");
        if (c.isSigned)
            s.appendInt(c.value, c.radix, c.width);
        else
            s.appendUInt(static_cast<unsigned>(c.value), c.radix, c.width);
        EXPECT_EQ(std::string("[") + c.want, s.text())
            << c.value << " radix " << c.radix << " width " << c.width;
    }
    KtString wide(16, nullptr);
    wide.appendUInt(7, 10, 200);
    EXPECT_EQ(200, wide.length());
    EXPECT_EQ(std::string(199, ' ') + "7", wide.text());
}

TEST(KtString, SeekReturnsTheCharacterUnderTheCursor)
{
    KtString one(256, "a");
    EXPECT_EQ(0, one.seek(-1, 2));    // stepping back onto the first character reports false
    EXPECT_EQ(0, one.seek(0, 2));
    EXPECT_EQ(1, cursorOffset(one));

    KtString ab(256, "ab");
    EXPECT_EQ('b', ab.seek(1, 0));
    EXPECT_EQ(0, ab.seek(-1, 0));     // negative offset from the start fails at once
    EXPECT_EQ(1, cursorOffset(ab));
    EXPECT_EQ(0, ab.seek(1, 2));      // positive offset from the end fails at once
    EXPECT_EQ('a', ab.seek(0, 0));
    EXPECT_EQ(0, ab.seek(5, 0));      // fails at the NUL; the cursor stays where next left it
    EXPECT_EQ(2, cursorOffset(ab));

    // "aあｱ表b": a, a double-byte kana, half-width katakana 0xB1, a kanji
    // whose trail byte is a backslash, then b.
    KtString mixed(256, "aあｱ表b");
    ASSERT_EQ(7, mixed.length());
    EXPECT_EQ(0x82A0, mixed.seek(1, 0));
    EXPECT_EQ(-79, mixed.seek(2, 0));
    EXPECT_EQ(0x955C, mixed.seek(3, 0));
    EXPECT_EQ(4, cursorOffset(mixed));
    EXPECT_EQ('b', mixed.seek(1, 1));
    EXPECT_EQ(-79, mixed.seek(-2, 1));
    EXPECT_EQ(0x955C, mixed.seek(-2, 2));
    EXPECT_EQ('a', mixed.seek(0, 0));
}

TEST(KtString, NextAndPrevStepWholeCharacters)
{
    KtString s(256, "表ｱx");
    std::string offsets;
    do {
        offsets += std::to_string(cursorOffset(s)) + " ";
    } while (s.next());
    EXPECT_EQ("0 2 3 ", offsets);
    EXPECT_EQ(4, cursorOffset(s));
    EXPECT_FALSE(s.next());
    EXPECT_EQ(4, cursorOffset(s));

    EXPECT_TRUE(s.prev());
    EXPECT_EQ(3, cursorOffset(s));
    EXPECT_TRUE(s.prev());
    EXPECT_EQ(2, cursorOffset(s));
    EXPECT_FALSE(s.prev());           // onto the first character
    EXPECT_EQ(0, cursorOffset(s));
    EXPECT_FALSE(s.prev());
    EXPECT_EQ(0, cursorOffset(s));
}

TEST(KtString, FindFirstAndLastOfMatchWholeCharacters)
{
    KtString path(256, "C:\\game\\data\\a.bmp");
    const char* last = path.findLastOf("\\");
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(12, last - path.text());
    EXPECT_EQ(last, path.cursor());

    KtString none(256, "abc");
    EXPECT_EQ(nullptr, none.findLastOf("\\"));
    EXPECT_EQ(3, cursorOffset(none));

    // The trail byte of 表 is 0x5C: it must never be taken for a backslash.
    KtString kanji(256, "表示\\表");
    EXPECT_EQ(kanji.text() + 4, kanji.findFirstOf("\\"));
    kanji.seek(0, 0);
    EXPECT_EQ(kanji.text() + 4, kanji.findLastOf("\\"));
    kanji.seek(0, 0);
    EXPECT_EQ(kanji.text() + 5, kanji.findLastOf("表"));
    kanji.seek(0, 0);
    EXPECT_EQ(nullptr, kanji.findFirstOf("\x95"));   // a lone lead byte is not 表
    EXPECT_EQ(7, cursorOffset(kanji));

    KtString mixed(256, "abあcｱdあ");
    mixed.seek(3, 0);                                 // on the c
    EXPECT_EQ(mixed.text() + 5, mixed.findFirstOf("ｱあ"));
    mixed.seek(0, 0);
    EXPECT_EQ(mixed.text() + 7, mixed.findLastOf("ｱあ"));
    EXPECT_EQ(nullptr, mixed.findFirstOf(nullptr));
}

TEST(KtString, ExtractCopiesInclusiveRangesAndSwaps)
{
    KtString s(256, "0123456789");
    KtString out(64, "old");
    s.extract(out, s.text() + 6, s.text() + 2);
    EXPECT_STREQ("23456", out.text());
    EXPECT_EQ(64, out.growth());
    s.extract(out, s.text() + 7, s.text() + s.length());
    EXPECT_STREQ("789", out.text());
    s.extract(out, nullptr, nullptr);
    EXPECT_STREQ("0123456789", out.text());
    s.extract(out, s.text() + 3, nullptr);
    EXPECT_STREQ("3456789", out.text());

    KtString kana(256, "aあb");
    kana.extract(out, kana.text(), kana.text() + 1);   // ends on a lead byte: left out whole
    EXPECT_STREQ("a", out.text());
    kana.extract(out, kana.text(), kana.text() + 2);
    EXPECT_STREQ("aあ", out.text());
}

TEST(KtString, ExtractOutsideTheTextShowsABoxAndLeavesOutAlone)
{
    MessageBoxRecorder boxes;
    KtString s(256, "abc");
    KtString out(256, "keep");
    const char* before = s.text() - 1;
    EXPECT_NO_THROW(s.extract(out, before, s.text() + 1));
    EXPECT_STREQ("keep", out.text());
    ASSERT_EQ(1u, boxes.count());
    auto box = boxes.last();
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ("KtString class", box.caption);
    EXPECT_EQ(0x12000u, box.style);
    auto number = [](const void* p) { return std::to_string(reinterpret_cast<uintptr_t>(p)); };
    EXPECT_EQ("  start:" + number(before) + "\n    end:" + number(s.text() + 1) +
              "\nstrings:" + number(s.text()) + "\n length:3", box.text);

    const char* after = s.text() + 4;
    s.extract(out, s.text(), after);
    EXPECT_EQ(2u, boxes.count());
    EXPECT_STREQ("keep", out.text());
}

unsigned __stdcall copyAndDrop(void* arg)
{
    const KtString& shared = *static_cast<const KtString*>(arg);
    for (int i = 0; i < 20000; ++i) {
        KtString a(shared);
        KtString b;
        b = a;
        KtString c(b);
        if (c.text() != shared.text())
            return 1;
    }
    return 0;
}

TEST(KtString, ReferenceCountsSurviveTwoThreads)
{
    KtString shared(256, "共有");
    HANDLE threads[2];
    for (HANDLE& t : threads) {
        t = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &copyAndDrop, &shared, 0, nullptr));
        ASSERT_NE(nullptr, t);
    }
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, threads, TRUE, 60000));
    for (HANDLE t : threads) {
        DWORD rc = 99;
        GetExitCodeThread(t, &rc);
        EXPECT_EQ(0u, rc);
        CloseHandle(t);
    }
    EXPECT_EQ(1, shared.references());
    EXPECT_STREQ("共有", shared.text());
}

TEST(KtString, AllocationFailuresThrowWithTheOperationTitle)
{
    // Too large to size in 32 bits: refused before any allocation.
    expectNoMemory("KtString - create()", [] { KtString s(0x7FFFFFF0, "abc"); });

    GuardedAllocator guard;
    guard.failAfter(0);
    expectNoMemory("KtString - create()", [] { KtString s(256, "abc"); });
    guard.failAfter(1);   // the buffer object, but not its text
    expectNoMemory("KtString - create()", [] { KtString s(256, "abc"); });
    guard.succeedAlways();

    KtString s(16, "0123456789");
    s.seek(2, 0);
    guard.failAfter(0);
    expectNoMemory("KtString - append", [&] { s.append("0123456789"); });
    expectNoMemory("KtString - append", [&] { s.appendN("0123456789", 3); });  // its temporary block
    expectNoMemory("KtString - create()", [&] { s.create(16, "new"); });
    s.append("ab");       // fits in place: no allocation needed
    guard.succeedAlways();
    EXPECT_STREQ("0123456789ab", s.text());
    EXPECT_EQ(2, cursorOffset(s));
    EXPECT_EQ(1, s.references());

    KtString copy(s);
    guard.failAfter(0);
    expectNoMemory("KtString - append", [&] { copy.append("x"); });   // shared: must copy
    guard.succeedAlways();
    EXPECT_EQ(2, s.references());
    copy = KtString("after");
    EXPECT_STREQ("after", copy.text());
    EXPECT_TRUE(guard.canariesIntact());
}

}  // namespace
