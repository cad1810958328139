// MessagePump: bounded waits that keep the calling thread's windows served.
#pragma once
#include <functional>
#include <windows.h>

// For tests whose windows live on the test thread: every wait dispatches the
// thread's messages while it waits, and every wait has a time limit.
namespace MessagePump {

// Dispatches until event is signalled; false when the time ran out.
bool untilSignalled(HANDLE event, DWORD milliseconds = 5000);

// Dispatches until done() is true; false when the time ran out.
bool until(const std::function<bool()>& done, DWORD milliseconds = 5000);

// Dispatches everything that was posted to window before this call: a marker
// message is posted behind it and the queue is served until the marker
// comes through. False when the marker did not arrive in time.
bool drain(HWND window, DWORD milliseconds = 5000);

}  // namespace MessagePump
