// KtThread: starting, resuming, waiting for and closing the owned thread.
#include "KtThread.h"
#include <process.h>

#include <cstddef>

// Scenario modules reach these fields by offset.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(KtThread) == 16, "table pointer, handle, id, suspended");
static_assert(offsetof(KtThread, handle) == 4, "handle");
static_assert(offsetof(KtThread, threadId) == 8, "threadId");
static_assert(offsetof(KtThread, suspended) == 12, "suspended");
#pragma GCC diagnostic pop

KtThread::~KtThread()
{
    close();
}

SECURITY_ATTRIBUTES* KtThread::securityAttributes()
{
    return nullptr;
}

unsigned KtThread::stackSize()
{
    return 0;
}

HANDLE KtThread::start(KtThreadProc procedure, void* argument, unsigned flags)
{
    if (isRunning())
        return reinterpret_cast<HANDLE>(1);
    if (handle)
        close();
    suspended = (flags & CREATE_SUSPENDED) ? 1 : 0;
    unsigned id = 0;
    uintptr_t started = _beginthreadex(securityAttributes(), stackSize(), procedure, argument,
                                       flags, &id);
    handle = reinterpret_cast<HANDLE>(started);
    threadId = handle ? id : 0;
    if (!handle)
        suspended = 0;
    return handle;
}

void KtThread::close()
{
    if (!handle)
        return;
    if (isRunning())
        TerminateThread(handle, 0);
    CloseHandle(handle);
    handle = nullptr;
    threadId = 0;
    suspended = 0;
}

DWORD KtThread::resume()
{
    if (!handle)
        return 0xFFFFFFFF;
    DWORD previousCount = ResumeThread(handle);
    if (previousCount == 0 || previousCount == 1)
        suspended = 0;
    return previousCount;
}

BOOL KtThread::isRunning()
{
    DWORD code = 0;
    return handle && GetExitCodeThread(handle, &code) && code == STILL_ACTIVE;
}

DWORD KtThread::wait(DWORD milliseconds)
{
    return isRunning() ? WaitForSingleObject(handle, milliseconds) : 0;
}
