// KtCriticalSection: re-entry on one thread, exclusion of others, the scoped hold.
#include "KtCriticalSection.h"
#include "KtThread.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Exit code 1 when another thread could take the lock, 0 when it could not.
unsigned __stdcall tryFromAnotherThread(void* argument)
{
    KtCriticalSection* lock = static_cast<KtCriticalSection*>(argument);
    if (!lock->tryEnter())
        return 0;
    lock->leave();
    return 1;
}

unsigned otherThreadCanEnter(KtCriticalSection& lock)
{
    KtThread thread;
    if (!thread.start(tryFromAnotherThread, &lock, 0))
        return 99;
    thread.wait(5000);
    DWORD code = 99;
    GetExitCodeThread(thread.handle, &code);
    return code;
}

TEST(KtCriticalSection, IsReEntrantOnOneThreadAndExcludesOthersUntilFullyLeft)
{
    KtCriticalSection lock;
    lock.enter();
    EnterCriticalSection(&lock.section);   // the module's way in: the same lock
    EXPECT_TRUE(lock.tryEnter());
    EXPECT_EQ(0u, otherThreadCanEnter(lock));
    lock.leave();
    lock.leave();
    EXPECT_EQ(0u, otherThreadCanEnter(lock)) << "still held once";
    LeaveCriticalSection(&lock.section);
    EXPECT_EQ(1u, otherThreadCanEnter(lock));
}

TEST(KtCriticalSection, HoldLeavesWhenItsScopeEndsByAnException)
{
    KtCriticalSection lock;
    try {
        KtCriticalSection::Hold hold(lock);
        EXPECT_EQ(0u, otherThreadCanEnter(lock));
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(1u, otherThreadCanEnter(lock));
}

}  // namespace
