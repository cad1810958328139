// KtEvent: creation, signalling, waiting and closing of the owned event.
#include "KtEvent.h"

#include <cstddef>

// Scenario modules reach these fields by offset.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(KtEvent) == 8, "table pointer and handle");
static_assert(offsetof(KtEvent, handle) == 4, "handle after the table pointer");
#pragma GCC diagnostic pop

KtEvent::~KtEvent()
{
    close();
}

HANDLE KtEvent::create(BOOL manualReset, BOOL initialState)
{
    if (!handle)
        handle = CreateEventA(nullptr, manualReset, initialState, nullptr);
    return handle;
}

BOOL KtEvent::close()
{
    if (!handle)
        return FALSE;
    BOOL closed = CloseHandle(handle);
    handle = nullptr;
    return closed;
}

BOOL KtEvent::set()
{
    return handle ? SetEvent(handle) : FALSE;
}

BOOL KtEvent::reset()
{
    return handle ? ResetEvent(handle) : FALSE;
}

BOOL KtEvent::pulse()
{
    return handle ? PulseEvent(handle) : FALSE;
}

DWORD KtEvent::wait(DWORD milliseconds)
{
    return handle ? WaitForSingleObject(handle, milliseconds) : 0;
}

BOOL KtEvent::signal()
{
    return set();
}

BOOL KtEvent::unsignal()
{
    return reset();
}
