// KtRegisterStore: setSystem, the ".system.dat" round trip and the safe save.
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtRegisterStore.h"
#include "MessageBoxRecorder.h"
#include "ShortWrites.h"
#include "FileBytes.h"
#include <gtest/gtest.h>
#include <functional>
#include <thread>
#include <new>
#include <string>
#include <vector>

namespace {

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string words(std::initializer_list<DWORD> values)
{
    std::string bytes;
    for (DWORD v : values)
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    return bytes;
}

// Stands in for the scenario module's system registers: a table of its own
// whose slot 1 is what the store must call to write the file.
class ModuleRegisters : public KtReg {
public:
    static std::function<void(KtFile&)> write;
    void save(KtFile& file) override { write(file); }
};
std::function<void(KtFile&)> ModuleRegisters::write;

// Gives the store's system registers the module's table, as a store built by
// a module has. The stand-in adds no fields, so the store's layout holds.
void useModuleTable(KtRegisterStore& store)
{
    static_assert(sizeof(ModuleRegisters) == sizeof(KtReg), "same fields");
    store.systemRegisters.~KtReg();
    new (&store.systemRegisters) ModuleRegisters;
}

// Answers boxes with a callback, which can look at the disk while a box is up.
class BoxScript {
public:
    using Action = std::function<int(const MessageBoxRecorder::Box&)>;
    explicit BoxScript(Action action) : action_(std::move(action))
    {
        current_ = this;
        previous_ = KtMessageBox::setHandler(&BoxScript::handle);
    }
    ~BoxScript() { KtMessageBox::setHandler(previous_); }
    std::vector<MessageBoxRecorder::Box> boxes;

private:
    static int handle(HWND owner, const char* text, const char* caption, UINT style)
    {
        current_->boxes.push_back({owner, text, caption, style});
        return current_->action_(current_->boxes.back());
    }
    static BoxScript* current_;
    Action action_;
    KtMessageBox::Handler previous_;
};
BoxScript* BoxScript::current_ = nullptr;

class KtRegisterStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "KtRegisterStore_test_" +
                  std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        target_ = folder_ + ".system.dat";
        pending_ = target_ + ".new";
    }
    void TearDown() override
    {
        DeleteFileA(target_.c_str());
        DeleteFileA(pending_.c_str());
        RemoveDirectoryA(folder_.c_str());
        ModuleRegisters::write = nullptr;
    }

    std::string folder_;
    std::string target_;
    std::string pending_;
};

TEST_F(KtRegisterStoreTest, SystemRegistersRoundTripAndEverySaveRewritesTheWholeFile)
{
    MessageBoxRecorder boxes;
    KtRegisterStore store(folder_.c_str());
    EXPECT_EQ(target_, store.systemFileName().text());
    store.systemRegisters.create(8);
    store.setSystem(3, 0x12345678, true);
    EXPECT_EQ(words({8, 0, 0, 0, 0x12345678, 0, 0, 0, 0}), fileBytes(target_));

    // Without saveNow the file keeps the last save.
    store.setSystem(0, 5, false);
    EXPECT_EQ(words({8, 0, 0, 0, 0x12345678, 0, 0, 0, 0}), fileBytes(target_));

    // A smaller array leaves nothing of the longer file behind.
    store.systemRegisters.create(2);
    DWORD& element = store.setSystem(1, 0xCAFEF00D, true);
    EXPECT_EQ(&store.systemRegisters.values()[1], &element);
    EXPECT_EQ(words({2, 0, 0xCAFEF00D}), fileBytes(target_));
    EXPECT_FALSE(exists(pending_));

    KtRegisterStore next(folder_.c_str());
    ASSERT_TRUE(next.loadSystem());
    ASSERT_EQ(2, next.systemRegisters.count());
    EXPECT_EQ(0xCAFEF00Du, next.systemRegisters.values()[1]);
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(KtRegisterStoreTest, BadIndexWarnsSetsElementZeroAndStillSaves)
{
    MessageBoxRecorder boxes;
    KtRegisterStore store(folder_.c_str());
    store.systemRegisters.create(2);
    store.setSystem(2, 77, true);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("KtReg - item()", boxes.last().caption);
    EXPECT_EQ(words({2, 77, 0}), fileBytes(target_));
}

TEST_F(KtRegisterStoreTest, NoFileOrAForeignFileLoadsNothing)
{
    MessageBoxRecorder boxes;
    KtRegisterStore store(folder_.c_str());
    store.systemRegisters.create(1);
    store.systemRegisters.item(0) = 3;
    EXPECT_FALSE(store.loadSystem());
    EXPECT_EQ(0u, boxes.count()) << "a first run has no file; nobody is asked";

    HANDLE h = CreateFileA(target_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    WriteFile(h, "\xff\xff\xff\x7f", 4, &done, nullptr);
    CloseHandle(h);
    EXPECT_FALSE(store.loadSystem());
    EXPECT_EQ(3u, store.systemRegisters.item(0));
}

TEST_F(KtRegisterStoreTest, TheModulesWriteOperationDecidesTheBytes)
{
    KtRegisterStore store(folder_.c_str());
    useModuleTable(store);
    ModuleRegisters::write = [](KtFile& file) { file.write("module bytes", 12); };
    store.saveSystem();
    EXPECT_EQ("module bytes", fileBytes(target_));
}

TEST_F(KtRegisterStoreTest, AWriteThatFailsPartWayLeavesThePreviousFile)
{
    KtRegisterStore store(folder_.c_str());
    store.systemRegisters.create(2);
    store.setSystem(0, 0xA1, true);
    const std::string previous = fileBytes(target_);

    // The module's write gets half its data out, then hands the file a
    // buffer it may not read, so WriteFile fails and KtFile asks.
    void* noAccess = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    ASSERT_NE(nullptr, noAccess);
    useModuleTable(store);
    ModuleRegisters::write = [&](KtFile& file) {
        file.write("half", 4);
        file.write(noAccess, 64);
    };
    bool pendingWhileAsked = false;
    std::string targetWhileAsked;
    BoxScript script([&](const MessageBoxRecorder::Box&) {
        pendingWhileAsked = exists(pending_);
        targetWhileAsked = fileBytes(target_);
        return IDCANCEL;
    });
    EXPECT_THROW(store.saveSystem(), CannotWriteException);
    VirtualFree(noAccess, 0, MEM_RELEASE);

    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("KtFile - write", script.boxes[0].caption);
    EXPECT_EQ(0, script.boxes[0].text.find(pending_)) << script.boxes[0].text;
    EXPECT_TRUE(pendingWhileAsked) << "the new file is written beside the old one";
    EXPECT_EQ(previous, targetWhileAsked);
    EXPECT_EQ(previous, fileBytes(target_));
    EXPECT_FALSE(exists(pending_)) << "the half-written file is removed";
}

// A write the platform cuts short but reports as done must not end in a
// truncated ".system.dat", which the next start would refuse: Cancel keeps
// the previous save, Retry completes the new one.
TEST_F(KtRegisterStoreTest, AShortWriteNeverReplacesTheSaveWithATruncatedOne)
{
    struct Case {
        const char* name;
        int answer;
        bool throws;
        bool newSave;   // ".system.dat" holds the new values, else the previous ones
    };
    const Case cases[] = {
        {"Cancel", IDCANCEL, true, false},
        {"Retry", IDRETRY, false, true},
    };
    for (const Case& c : cases) {
        KtRegisterStore store(folder_.c_str());
        store.systemRegisters.create(4);
        store.setSystem(0, 0xA1, true);
        const std::string previous = fileBytes(target_);

        MessageBoxRecorder boxes;
        boxes.answer(c.answer);
        bool threw = false;
        {
            // The first write, the count, comes out one byte long.
            ShortWrites cut(1, 1);
            ASSERT_TRUE(cut.active());
            try {
                store.setSystem(3, 0xB2, true);
            } catch (CannotWriteException&) {
                threw = true;
            }
        }
        EXPECT_EQ(c.throws, threw) << c.name;
        ASSERT_EQ(1u, boxes.count()) << c.name;
        EXPECT_EQ("KtFile - write", boxes.last().caption) << c.name;
        EXPECT_EQ(0u, boxes.last().text.find(pending_)) << c.name << ": " << boxes.last().text;
        EXPECT_EQ(c.newSave ? words({4, 0xA1, 0, 0, 0xB2}) : previous, fileBytes(target_)) << c.name;
        EXPECT_FALSE(exists(pending_)) << c.name;
        KtRegisterStore next(folder_.c_str());
        EXPECT_TRUE(next.loadSystem()) << c.name << ": the next start reads the save";
    }
}

TEST_F(KtRegisterStoreTest, AFailedSwapLeavesThePreviousFile)
{
    KtRegisterStore store(folder_.c_str());
    store.systemRegisters.create(1);
    store.setSystem(0, 1, true);
    const std::string previous = fileBytes(target_);

    // Another program holds the file without allowing it to be replaced.
    HANDLE other = CreateFileA(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    MessageBoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_THROW(store.setSystem(0, 2, true), CannotWriteException);
    CloseHandle(other);

    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("KtFile - write", boxes.last().caption);
    EXPECT_EQ(0x12005u, boxes.last().style);
    EXPECT_EQ(previous, fileBytes(target_));
    EXPECT_FALSE(exists(pending_));

    // Once the other program lets go, the next save goes through.
    store.saveSystem();
    EXPECT_EQ(words({1, 2}), fileBytes(target_));
}

TEST_F(KtRegisterStoreTest, AMissingBaseDirectoryAsksThenCancelThrowsCannotOpen)
{
    KtRegisterStore store((folder_ + "absent\\").c_str());
    store.systemRegisters.create(1);
    MessageBoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_THROW(store.setSystem(0, 1, true), CannotOpenException);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("KtFile - open", boxes.last().caption);
    EXPECT_EQ(1u, store.systemRegisters.item(0)) << "the value is set before the save";
}

// The module's setSystem on the scenario thread and a monitor's write on the
// main thread save at the same time, each with its own copy of the saving
// code (the module's is built into it): one ".system.dat.new" between them.
TEST_F(KtRegisterStoreTest, SavesFromTheHostAndFromAModuleAtOnceAreSerialised)
{
    HMODULE module = LoadLibraryA("module_memory.dll");
    ASSERT_NE(nullptr, module);
    auto saveInModule = reinterpret_cast<int(__cdecl*)(KtRegisterStore*, int)>(
        GetProcAddress(module, "saveInModule"));
    ASSERT_NE(nullptr, saveInModule);
    KtRegisterStore store(folder_.c_str());
    store.systemRegisters.create(20000);   // big enough for the saves to overlap
    MessageBoxRecorder boxes;
    boxes.answerAlways(IDCANCEL);
    const int saves = 25;
    int moduleFailures = -1;
    int hostFailures = 0;
    std::thread scenario([&] { moduleFailures = saveInModule(&store, saves); });
    for (int i = 0; i < saves; ++i) {
        try {
            store.setSystem(1, static_cast<DWORD>(i), true);
        } catch (Diagnostic&) {
            ++hostFailures;
        }
    }
    scenario.join();
    FreeLibrary(module);
    EXPECT_EQ(0, moduleFailures);
    EXPECT_EQ(0, hostFailures);
    EXPECT_EQ(0u, boxes.count());
    EXPECT_FALSE(exists(pending_));
    std::string saved = fileBytes(target_);
    store.saveSystem();
    EXPECT_TRUE(saved == fileBytes(target_)) << "the last save holds both threads' last values";
}

// Another program may create any kernel object under any name. Whatever it
// made under the name a save lock might use, saves from two threads still
// finish, serialised, without a word to the player.
TEST_F(KtRegisterStoreTest, NoNamedObjectOfAnotherProgramStopsOrUnserialisesSaves)
{
    const std::string name = "Pomelo.systemSave." + std::to_string(GetCurrentProcessId());
    struct Case {
        const char* kind;
        std::function<HANDLE()> take;
    };
    const Case cases[] = {
        {"owned mutex", [&] { return CreateMutexA(nullptr, TRUE, name.c_str()); }},
        {"event", [&] { return CreateEventA(nullptr, TRUE, FALSE, name.c_str()); }},
        {"semaphore", [&] { return CreateSemaphoreA(nullptr, 0, 1, name.c_str()); }},
    };
    for (const Case& c : cases) {
        // The squatter lives on a thread of its own, which owns a mutex
        // until it is told to let go.
        HANDLE letGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread squatter([&] {
            HANDLE object = c.take();
            SetEvent(taken);
            WaitForSingleObject(letGo, 60000);
            if (object) {
                ReleaseMutex(object);
                CloseHandle(object);
            }
        });
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(taken, 10000)) << c.kind;

        KtRegisterStore store(folder_.c_str());
        store.systemRegisters.create(20000);   // big enough for the saves to overlap
        MessageBoxRecorder boxes;
        boxes.answerAlways(IDCANCEL);
        const int saves = 25;
        int failures[2] = {0, 0};
        HANDLE finished[2];
        std::thread savers[2];
        for (int t = 0; t < 2; ++t) {
            finished[t] = CreateEventA(nullptr, TRUE, FALSE, nullptr);
            savers[t] = std::thread([&, t] {
                for (int i = 0; i < saves; ++i) {
                    try {
                        store.setSystem(t, static_cast<DWORD>(i), true);
                    } catch (Diagnostic&) {
                        ++failures[t];
                    }
                }
                SetEvent(finished[t]);
            });
        }
        DWORD waited = WaitForMultipleObjects(2, finished, TRUE, 30000);
        // Whatever happened, the squatter goes, so that stuck saves end.
        SetEvent(letGo);
        squatter.join();
        for (int t = 0; t < 2; ++t) {
            savers[t].join();
            CloseHandle(finished[t]);
        }
        CloseHandle(letGo);
        CloseHandle(taken);
        EXPECT_EQ(WAIT_OBJECT_0, waited) << c.kind << ": the saves waited for the other program";
        EXPECT_EQ(0, failures[0] + failures[1]) << c.kind;
        EXPECT_EQ(0u, boxes.count()) << c.kind;
        EXPECT_FALSE(exists(pending_)) << c.kind;
        EXPECT_EQ(words({20000}), fileBytes(target_).substr(0, 4)) << c.kind;
    }
}

}  // namespace
