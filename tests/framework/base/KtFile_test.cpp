// KtFile: the Retry/Cancel loop with its texts, retries that succeed once the cause is gone, and closing.
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtPathName.h"
#include "MessageBoxRecorder.h"
#include "ShortWrites.h"
#include "FileBytes.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// Answers each box with what a callback returns, so that a test can remove
// the cause of an error while "the user" looks at the box.
class BoxScript {
public:
    using Action = std::function<int(const std::string& text)>;
    explicit BoxScript(Action action) : action_(std::move(action))
    {
        current_ = this;
        previous_ = KtMessageBox::setHandler(&BoxScript::handle);
    }
    ~BoxScript()
    {
        KtMessageBox::setHandler(previous_);
        current_ = nullptr;
    }
    std::vector<MessageBoxRecorder::Box> boxes;

private:
    static int handle(HWND owner, const char* text, const char* caption, UINT style)
    {
        current_->boxes.push_back({owner, text, caption, style});
        return current_->action_(text);
    }
    static BoxScript* current_;
    Action action_;
    KtMessageBox::Handler previous_;
};
BoxScript* BoxScript::current_ = nullptr;

std::string currentDirectory()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string text = buffer;
    if (text.back() != '\\')
        text += '\\';
    return text;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    DWORD done = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(h);
}

// Each test works in a fresh folder of its own, made the current directory.
class KtFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "KtFile_test_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(folder_.c_str());
        dir_ = currentDirectory();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(previous_);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string path = folder_ + "\\" + found.cFileName;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }
    void openForReading(KtFile& file, const char* name)
    {
        file.open(name, OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
    }

    std::string folder_;
    std::string dir_;   // the current directory with its trailing backslash
    char previous_[MAX_PATH];
};

TEST(KtFileReasons, OpenReasonsFollowThePathDirectly)
{
    const struct { DWORD code; const char* reason; } cases[] = {
        {2, "が\n見付かりません"},
        {3, "で\n指定されたパスが見付かりません"},
        {5, "\nアクセスが拒否されました"},
        {21, "\nドライブの準備ができていません"},
        {31, "\nメディアはフォーマットされていないか、準備ができていません"},
        {32, "は\n他のアプリケーションによって開かれています"},
        {53, "ネットワークドライブにアクセスできません"},
        {67, "ネットワークドライブにアクセスできません"},
        {2118, "\nネットワークドライブにアクセス権がありません"},
        {1450, "\n未知のエラーです code:1450"},
    };
    for (const auto& c : cases) {
        KtString text("C:\\A.BMP");
        KtFile::appendOpenReason(text, c.code);
        EXPECT_EQ(std::string("C:\\A.BMP") + c.reason, text.text()) << "code " << c.code;
    }
}

TEST(KtFileReasons, ReadAndWriteReasonsDifferOnlyWhereTheyShould)
{
    const struct { DWORD code; const char* read; const char* write; } cases[] = {
        {5, "への\nアクセスは拒否されました。", "は\n読み込み専用で開かれています"},
        {21, "\nドライブの準備ができていません", "\nドライブの準備ができていません"},
        {31, "\nメディアはフォーマットされていないか、準備ができていません",
         "\nメディアはフォーマットされていないか、準備ができていません"},
        {32, "は\n他のアプリケーションから利用されています",
         "は\n他のアプリケーションから利用されています"},
        {33, "は\n他のプロセスがファイルをロックしています",
         "は\n他のプロセスがファイルをロックしています"},
        // Codes outside the table: read names the handle too, write does not.
        {112, "読み込みできません\nError code : 112\nFile handle : 3735928559",
         "書き込みできません\nError code : 112"},
    };
    HANDLE handle = reinterpret_cast<HANDLE>(0xDEADBEEF);
    for (const auto& c : cases) {
        KtString read("a.dat");
        KtFile::appendReadReason(read, c.code, handle);
        EXPECT_EQ(std::string("a.dat") + c.read, read.text()) << "read, code " << c.code;
        KtString write("a.dat");
        KtFile::appendWriteReason(write, c.code);
        EXPECT_EQ(std::string("a.dat") + c.write, write.text()) << "write, code " << c.code;
    }
}

TEST_F(KtFileTest, MissingFileAsksAndRetrySucceedsOnceTheFileExists)
{
    const std::string full = dir_ + "late.dat";
    BoxScript script([&](const std::string&) {
        writeFile(full, "x");
        return IDRETRY;
    });
    KtFile file;
    openForReading(file, "late.dat");
    EXPECT_TRUE(file.isOpen());
    EXPECT_STREQ("late.dat", file.name().text());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ(full + "が\n見付かりません", script.boxes[0].text);
    EXPECT_EQ("KtFile - open", script.boxes[0].caption);
    EXPECT_EQ(0x12005u, script.boxes[0].style);
    EXPECT_EQ(nullptr, script.boxes[0].owner);
}

TEST_F(KtFileTest, CancelThrowsCannotOpenWithTheResolvedPathAfterEveryRetry)
{
    MessageBoxRecorder boxes;
    boxes.answer(IDRETRY);
    boxes.answer(IDCANCEL);
    KtFile file;
    try {
        openForReading(file, "missing.dat");
        FAIL() << "no exception";
    } catch (CannotOpenException& e) {
        EXPECT_STREQ("cannot open", e.title());
        EXPECT_EQ(dir_ + "missing.dat", e.message());
    }
    EXPECT_EQ(2u, boxes.count());
    EXPECT_FALSE(file.isOpen());

    boxes.clear();
    boxes.answer(IDCANCEL);
    EXPECT_THROW(openForReading(file, "no such folder\\x.dat"), CannotOpenException);
    EXPECT_EQ(dir_ + "no such folder\\x.dat" + "で\n指定されたパスが見付かりません",
              boxes.last().text);
}

TEST_F(KtFileTest, SharingViolationRetrySucceedsOnceTheOtherHandleCloses)
{
    writeFile(dir_ + "locked.dat", "abc");
    HANDLE other = CreateFileA("locked.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    BoxScript script([&](const std::string&) {
        CloseHandle(other);
        return IDRETRY;
    });
    KtFile file;
    openForReading(file, "locked.dat");
    EXPECT_TRUE(file.isOpen());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ(dir_ + "locked.dat" + "は\n他のアプリケーションによって開かれています",
              script.boxes[0].text);
}

TEST_F(KtFileTest, OpeningAFolderAsAFileIsDenied)
{
    ASSERT_TRUE(CreateDirectoryA("folder", nullptr));
    MessageBoxRecorder boxes;
    boxes.answer(IDCANCEL);
    KtFile file;
    EXPECT_THROW(openForReading(file, "folder"), CannotOpenException);
    EXPECT_EQ(dir_ + "folder" + "\nアクセスが拒否されました", boxes.last().text);
    RemoveDirectoryA("folder");
}

TEST_F(KtFileTest, ReadsUntilTheEndWhereItReturnsZeroWithoutABox)
{
    writeFile(dir_ + "data.dat", "hello");
    MessageBoxRecorder boxes;
    KtFile file;
    openForReading(file, "data.dat");
    char buffer[16] = {};
    EXPECT_EQ(5u, file.read(buffer, sizeof buffer));
    EXPECT_STREQ("hello", buffer);
    EXPECT_EQ(0u, file.read(buffer, sizeof buffer));
    EXPECT_EQ(0u, boxes.count());
}

// A read that the system refuses asks Retry or Cancel; Retry reads again
// through the file's handle, and succeeds once the cause is gone. Here the
// cause is a handle without read access, which the box replaces by a
// readable one (byte-range locks, the natural cause, are not enforced on
// reads by Wine).
TEST_F(KtFileTest, ARefusedReadAsksAndRetryReadsOnceItCan)
{
    writeFile(dir_ + "region.dat", "0123456789");
    KtFile file;
    file.open("region.dat", OPEN_EXISTING, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
              FILE_ATTRIBUTE_NORMAL);
    BoxScript script([&](const std::string&) {
        HANDLE readable = CreateFileA("region.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file.handle);
        file.handle = readable;
        return IDRETRY;
    });
    char buffer[10];
    EXPECT_EQ(10u, file.read(buffer, sizeof buffer));
    EXPECT_EQ(0, memcmp(buffer, "0123456789", 10));
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("region.dat" "への\nアクセスは拒否されました。", script.boxes[0].text);
    EXPECT_EQ("KtFile - read", script.boxes[0].caption);
    EXPECT_EQ(0x12005u, script.boxes[0].style);
}

TEST_F(KtFileTest, ReadAndWriteAgainstTheAccessModeThrowWithTheName)
{
    writeFile(dir_ + "mode.dat", "abc");
    MessageBoxRecorder boxes;
    boxes.answerAlways(IDCANCEL);
    char buffer[4];

    KtFile reader;
    openForReading(reader, "mode.dat");
    try {
        reader.write("x", 1);
        FAIL() << "write on a read-only handle";
    } catch (CannotWriteException& e) {
        EXPECT_STREQ("cannot write", e.title());
        EXPECT_STREQ("mode.dat", e.message());
    }
    EXPECT_EQ("mode.dat" "は\n読み込み専用で開かれています", boxes.last().text);
    EXPECT_EQ("KtFile - write", boxes.last().caption);
    reader.close();

    KtFile writer;
    writer.open("mode.dat", OPEN_EXISTING, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    boxes.answer(IDRETRY);   // the same refusal again, then Cancel
    try {
        writer.read(buffer, sizeof buffer);
        FAIL() << "read on a write-only handle";
    } catch (CannotReadException& e) {
        EXPECT_STREQ("cannot read", e.title());
        EXPECT_STREQ("mode.dat", e.message());
    }
    EXPECT_EQ("mode.dat" "への\nアクセスは拒否されました。", boxes.last().text);
    EXPECT_EQ(3u, boxes.count());
}

// A write that the platform reports as done but cut short is a failure like
// a refused one: asked about, and either finished on Retry or thrown.
TEST_F(KtFileTest, AShortWriteAsksAndRetryWritesTheRest)
{
    const std::string data = "0123456789";
    const std::string reason = "書き込みできません\nError code : 112";
    struct Case {
        const char* name;
        int shortCalls;            // WriteFile calls cut short
        DWORD keep;                // bytes each of them writes
        std::vector<int> answers;  // Retry or Cancel per box
        bool throws;
        std::string onDisk;
    };
    const Case cases[] = {
        {"half, then Retry", 1, 5, {IDRETRY}, false, data},
        {"nothing at all, then Retry", 1, 0, {IDRETRY}, false, data},
        {"short twice, Retry twice", 2, 3, {IDRETRY, IDRETRY}, false, data},
        {"half, then Cancel", 1, 5, {IDCANCEL}, true, data.substr(0, 5)},
    };
    for (const Case& c : cases) {
        MessageBoxRecorder boxes;
        for (int answer : c.answers)
            boxes.answer(answer);
        bool threw = false;
        DWORD written = 0;
        {
            KtFile file;
            file.open("short.dat", CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                      FILE_ATTRIBUTE_NORMAL);
            ShortWrites cut(c.shortCalls, c.keep);
            ASSERT_TRUE(cut.active()) << "the framework imports WriteFile";
            try {
                written = file.write(data.data(), static_cast<DWORD>(data.size()));
            } catch (CannotWriteException& e) {
                threw = true;
                EXPECT_STREQ("short.dat", e.message()) << c.name;
            }
        }
        EXPECT_EQ(c.throws, threw) << c.name;
        if (!c.throws) {
            EXPECT_EQ(data.size(), written) << c.name;
        }
        EXPECT_EQ(c.onDisk, fileBytes(dir_ + "short.dat")) << c.name;
        ASSERT_EQ(c.answers.size(), boxes.count()) << c.name;
        for (const MessageBoxRecorder::Box& box : boxes.boxes()) {
            EXPECT_EQ("short.dat" + reason, box.text) << c.name;
            EXPECT_EQ("KtFile - write", box.caption) << c.name;
            EXPECT_EQ(0x12005u, box.style) << c.name;
        }
    }
}

TEST_F(KtFileTest, CloseEmptiesTheNameOnlyWhenOpenAndTheDestructorReleasesTheFile)
{
    writeFile(dir_ + "c.dat", "abc");
    KtFile named("given");
    EXPECT_FALSE(named.isOpen());
    named.close();
    EXPECT_STREQ("given", named.name().text());

    {
        KtFile file;
        file.open("c.dat", OPEN_EXISTING, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
        EXPECT_STREQ("c.dat", file.name().text());
        file.close();
        EXPECT_FALSE(file.isOpen());
        EXPECT_STREQ("", file.name().text());
        file.close();
        file.open("c.dat", OPEN_EXISTING, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
    }
    // The exclusive handle is gone with its object.
    HANDLE again = CreateFileA("c.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, again);
    CloseHandle(again);
}

TEST_F(KtFileTest, OpeningByPathOverAnOpenFileDoesNotLeakTheFirstHandle)
{
    writeFile(dir_ + "first.dat", "1");
    writeFile(dir_ + "second.dat", "2");
    KtFile file("kept");
    file.open(KtPathName("first.dat"), OPEN_EXISTING, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
    file.open(KtPathName("second.dat"), OPEN_EXISTING, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
    EXPECT_STREQ("kept", file.name().text());
    HANDLE first = CreateFileA("first.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, first) << "first.dat is still held";
    CloseHandle(first);
    char c = 0;
    EXPECT_EQ(1u, file.read(&c, 1));
    EXPECT_EQ('2', c);
}

TEST_F(KtFileTest, ReplaceSwapsInTheNewFileAndRetriesWhileTheTargetIsHeld)
{
    writeFile(dir_ + "save.dat", "old");
    writeFile(dir_ + "save.new", "new");
    HANDLE holder = CreateFileA("save.dat", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    BoxScript script([&](const std::string&) {
        CloseHandle(holder);
        return IDRETRY;
    });
    KtFile::replace("save.new", "save.dat");
    EXPECT_EQ(1u, script.boxes.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("save.new"));
    KtFile file;
    openForReading(file, "save.dat");
    char buffer[8] = {};
    EXPECT_EQ(3u, file.read(buffer, sizeof buffer));
    EXPECT_STREQ("new", buffer);
}

} // namespace
