// KtThread: start, suspend and resume, exit codes, waits, termination and handle ownership.
#include "KtEvent.h"
#include "KtThread.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>

namespace {

constexpr DWORD kTimeout = 5000;   // a wait that should end at once; guards against hangs

bool handleIsOpen(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

// What a test thread sees and does: it records its id, then (when release
// is set) waits for it before returning exitCode.
struct Work {
    KtEvent release;
    volatile LONG ran = 0;
    volatile DWORD seenId = 0;
    unsigned exitCode = 0;
};

unsigned __stdcall runWork(void* argument)
{
    Work* work = static_cast<Work*>(argument);
    work->seenId = GetCurrentThreadId();
    InterlockedIncrement(&work->ran);
    if (work->release.handle)
        WaitForSingleObject(work->release.handle, 10000);
    return work->exitCode;
}

TEST(KtThread, WithoutAThreadNothingHappens)
{
    KtThread thread;
    EXPECT_EQ(0xFFFFFFFFu, thread.resume());
    EXPECT_FALSE(thread.isRunning());
    EXPECT_EQ(0u, thread.wait(INFINITE));
    thread.close();
    EXPECT_EQ(nullptr, thread.handle);
}

TEST(KtThread, StartRunsTheProcedureAndKeepsItsExitCode)
{
    Work work;
    work.exitCode = 42;
    KtThread thread;
    HANDLE h = thread.start(runWork, &work, 0);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(h, thread.handle);
    EXPECT_EQ(0, thread.suspended);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kTimeout));
    EXPECT_EQ(1, work.ran);
    EXPECT_EQ(thread.threadId, work.seenId);
    EXPECT_FALSE(thread.isRunning());
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread.handle, &code));
    EXPECT_EQ(42u, code);
    // An ended thread is not waited for.
    EXPECT_EQ(0u, thread.wait(INFINITE));
}

TEST(KtThread, StartWhileRunningStartsNothingAndReturnsOne)
{
    Work work;
    work.release.create(TRUE, FALSE);
    KtThread thread;
    HANDLE h = thread.start(runWork, &work, 0);
    ASSERT_NE(nullptr, h);
    DWORD id = thread.threadId;
    EXPECT_TRUE(thread.isRunning());

    Work other;
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), thread.start(runWork, &other, 0));
    EXPECT_EQ(h, thread.handle);
    EXPECT_EQ(id, thread.threadId);

    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), thread.wait(50));
    work.release.signal();
    EXPECT_EQ(WAIT_OBJECT_0, thread.wait(kTimeout));
    EXPECT_EQ(0, other.ran);
}

TEST(KtThread, StartAfterTheThreadEndedReplacesTheOldHandle)
{
    Work first;
    KtThread thread;
    HANDLE old = thread.start(runWork, &first, 0);
    ASSERT_NE(nullptr, old);
    ASSERT_EQ(WAIT_OBJECT_0, thread.wait(kTimeout));
    // The first start may have handed back a thread that already ended.
    WaitForSingleObject(old, kTimeout);

    Work second;
    second.exitCode = 7;
    HANDLE h = thread.start(runWork, &second, 0);
    ASSERT_NE(nullptr, h);
    EXPECT_FALSE(handleIsOpen(old) && old != h) << "the old handle must be closed";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kTimeout));
    EXPECT_EQ(1, second.ran);
}

TEST(KtThread, ASuspendedThreadRunsOnlyAfterResume)
{
    Work work;
    KtThread thread;
    ASSERT_NE(nullptr, thread.start(runWork, &work, CREATE_SUSPENDED));
    EXPECT_EQ(1, thread.suspended);
    EXPECT_TRUE(thread.isRunning());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), thread.wait(50));
    EXPECT_EQ(0, work.ran);

    EXPECT_EQ(1u, thread.resume());
    EXPECT_EQ(0, thread.suspended);
    EXPECT_EQ(WAIT_OBJECT_0, thread.wait(kTimeout));
    EXPECT_EQ(1, work.ran);
    EXPECT_EQ(0u, thread.resume());
}

TEST(KtThread, CloseTerminatesARunningThreadAndClosesItsHandle)
{
    Work work;
    work.release.create(TRUE, FALSE);
    work.exitCode = 5;
    KtThread thread;
    HANDLE h = thread.start(runWork, &work, 0);
    ASSERT_NE(nullptr, h);
    HANDLE watch = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &watch, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    while (!work.ran && WaitForSingleObject(watch, 10) == WAIT_TIMEOUT) {
    }

    thread.close();
    EXPECT_EQ(nullptr, thread.handle);
    EXPECT_EQ(0u, thread.threadId);
    EXPECT_FALSE(handleIsOpen(h));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch, kTimeout));
    DWORD code = 99;
    GetExitCodeThread(watch, &code);
    EXPECT_EQ(0u, code) << "terminated, not returned";
    CloseHandle(watch);
    thread.close();   // a second close does nothing
}

TEST(KtThread, DestructionClosesTheHandle)
{
    Work work;
    HANDLE h;
    {
        KtThread thread;
        h = thread.start(runWork, &work, 0);
        ASSERT_NE(nullptr, h);
        thread.wait(kTimeout);
        ASSERT_TRUE(handleIsOpen(h));
    }
    EXPECT_FALSE(handleIsOpen(h));
}

// A thread whose creation settings come from overridden slots 1 and 2.
class BigStackThread : public KtThread {
public:
    SECURITY_ATTRIBUTES* securityAttributes() override
    {
        ++asked;
        return &attributes;
    }
    unsigned stackSize() override
    {
        ++asked;
        return 1 << 20;
    }
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    int asked = 0;
};

TEST(KtThread, StartTakesItsSettingsFromSlotsOneAndTwo)
{
    KtThread plain;
    EXPECT_EQ(nullptr, callSlot<SECURITY_ATTRIBUTES*>(&plain, 1));
    EXPECT_EQ(0u, callSlot<unsigned>(&plain, 2));

    Work work;
    BigStackThread thread;
    EXPECT_EQ(&thread.attributes, callSlot<SECURITY_ATTRIBUTES*>(&thread, 1));
    EXPECT_EQ(1u << 20, callSlot<unsigned>(&thread, 2));
    thread.asked = 0;
    ASSERT_NE(nullptr, thread.start(runWork, &work, 0));
    EXPECT_EQ(2, thread.asked);
    EXPECT_EQ(WAIT_OBJECT_0, thread.wait(kTimeout));
}

}  // namespace
