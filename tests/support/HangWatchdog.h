// HangWatchdog: ends the test program with a failure when a step that can deadlock does not return in time.
#pragma once
#include <windows.h>

// Some faults show as two threads blocked on each other for good; a test of
// such a step cannot time out by itself. While the watchdog lives, a thread
// of its own waits for it to be disarmed (by destruction); when the limit
// passes first it prints what did not return and ends the process with
// exit code 1, so that the test fails at once instead of hanging.
class HangWatchdog {
public:
    HangWatchdog(const char* what, DWORD milliseconds);
    ~HangWatchdog();
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

private:
    static DWORD WINAPI watch(void* self);
    const char* what_;
    DWORD milliseconds_;
    HANDLE disarmed_;
    HANDLE thread_;
};
