// KtModuleGuard: a count of running uses behind a lock, and an event set while the count is zero.
#include "KtModuleGuard.h"

namespace {
struct GuardState {
    GuardState() : idle(CreateEventA(nullptr, TRUE, TRUE, nullptr)), users(0), closed(false)
    {
        InitializeCriticalSection(&lock);
    }
    CRITICAL_SECTION lock;
    HANDLE idle;   // manual reset: signalled while no use runs
    int users;
    bool closed;
};

GuardState& state()
{
    static GuardState guard;
    return guard;
}

thread_local int usesHere = 0;
}  // namespace

KtModuleGuard::Use::Use() : granted_(false)
{
    GuardState& guard = state();
    EnterCriticalSection(&guard.lock);
    if (!guard.closed || usesHere > 0) {
        if (guard.users++ == 0)
            ResetEvent(guard.idle);
        ++usesHere;
        granted_ = true;
    }
    LeaveCriticalSection(&guard.lock);
}

KtModuleGuard::Use::~Use()
{
    if (!granted_)
        return;
    GuardState& guard = state();
    EnterCriticalSection(&guard.lock);
    --usesHere;
    if (--guard.users == 0)
        SetEvent(guard.idle);
    LeaveCriticalSection(&guard.lock);
}

void KtModuleGuard::open()
{
    GuardState& guard = state();
    EnterCriticalSection(&guard.lock);
    guard.closed = false;
    LeaveCriticalSection(&guard.lock);
}

void KtModuleGuard::close()
{
    GuardState& guard = state();
    EnterCriticalSection(&guard.lock);
    guard.closed = true;
    LeaveCriticalSection(&guard.lock);
    WaitForSingleObject(guard.idle, INFINITE);
}

bool KtModuleGuard::heldHere()
{
    return usesHere > 0;
}
