// HangWatchdog: one event and one waiting thread per guarded step.
#include "HangWatchdog.h"
#include <cstdio>

HangWatchdog::HangWatchdog(const char* what, DWORD milliseconds)
    : what_(what), milliseconds_(milliseconds),
      disarmed_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_(nullptr)
{
    thread_ = CreateThread(nullptr, 0, &HangWatchdog::watch, this, 0, nullptr);
}

HangWatchdog::~HangWatchdog()
{
    SetEvent(disarmed_);
    if (thread_) {
        WaitForSingleObject(thread_, INFINITE);   // it returns at once once disarmed
        CloseHandle(thread_);
    }
    CloseHandle(disarmed_);
}

DWORD WINAPI HangWatchdog::watch(void* self)
{
    HangWatchdog& dog = *static_cast<HangWatchdog*>(self);
    if (WaitForSingleObject(dog.disarmed_, dog.milliseconds_) == WAIT_OBJECT_0)
        return 0;
    std::fprintf(stderr, "FAILED: %s did not return within %lu ms (deadlock)\n", dog.what_,
                 static_cast<unsigned long>(dog.milliseconds_));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 1);
    return 1;
}
