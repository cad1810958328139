// KtThread: an owned thread started through the C runtime, with the state the scenario module reads.
#pragma once
#include <windows.h>

// A thread procedure: standard calling convention, one pointer in, the
// thread's exit code out.
using KtThreadProc = unsigned(__stdcall*)(void* argument);

// The fields and the three slots are shared with scenario modules. Threads
// are started with _beginthreadex, so that the C runtime's per-thread state
// exists in them. Only isRunning and wait may be called from a thread other
// than the owner's.
class KtThread {
public:
    KtThread() : handle(nullptr), threadId(0), suspended(0) {}
    virtual ~KtThread();                                  // slot 0: close

    // Overridden to give the thread other security or another stack size.
    virtual SECURITY_ATTRIBUTES* securityAttributes();    // slot 1: null
    virtual unsigned stackSize();                         // slot 2: 0, the default

    // Starts procedure(argument) with the creation flags and returns its
    // handle, or null on failure. While the previous thread still runs,
    // starts nothing and returns 1: a success marker, not a handle.
    HANDLE start(KtThreadProc procedure, void* argument, unsigned flags);
    // Terminates the thread if it still runs (exit code 0), then closes its
    // handle. Callers first tell the thread to stop and wait for it.
    void close();
    // ResumeThread's result, 0xFFFFFFFF without a thread.
    DWORD resume();
    // True only while a started thread has not ended.
    BOOL isRunning();
    // WaitForSingleObject's result; 0 at once when the thread is not running.
    DWORD wait(DWORD milliseconds);

    // One owner per thread handle: a copy would close it twice.
    KtThread(const KtThread&) = delete;
    KtThread& operator=(const KtThread&) = delete;

    HANDLE handle;      // null when no thread is held
    DWORD threadId;     // target of thread messages; 0 when no thread is held
    int suspended;      // 1 while created suspended and not yet resumed
};
