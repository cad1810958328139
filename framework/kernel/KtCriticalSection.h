// KtCriticalSection: a re-entrant lock over an embedded Win32 critical section.
#pragma once
#include <windows.h>

// Embedded in many objects that the scenario module reaches, so the layout is
// fixed: the virtual table, then the CRITICAL_SECTION itself. Code on either
// side may call EnterCriticalSection(&lock.section) directly; enter and leave
// are the same calls.
class KtCriticalSection {
public:
    KtCriticalSection();
    virtual ~KtCriticalSection();                  // slot 0

    void enter() { EnterCriticalSection(&section); }
    void leave() { LeaveCriticalSection(&section); }
    bool tryEnter() { return TryEnterCriticalSection(&section) != FALSE; }

    // Holds the lock for the lifetime of a scope, so that an exception
    // thrown while it is held cannot leave it taken.
    class Hold {
    public:
        explicit Hold(KtCriticalSection& lock) : lock_(lock) { lock_.enter(); }
        ~Hold() { lock_.leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        KtCriticalSection& lock_;
    };

    // A critical section must not move once initialised: no copies.
    KtCriticalSection(const KtCriticalSection&) = delete;
    KtCriticalSection& operator=(const KtCriticalSection&) = delete;

    CRITICAL_SECTION section;
};
