// MessagePump: dispatching the thread's messages while waiting for an event, a state or a marker.
#include "MessagePump.h"

namespace {
constexpr UINT markerMessage = WM_APP + 0x3F00;

void dispatchWaiting(bool& markerSeen, HWND markerWindow)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == markerMessage && message.hwnd == markerWindow) {
            markerSeen = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool serve(HANDLE event, const std::function<bool()>& done, HWND markerWindow, bool& markerSeen,
           DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        dispatchWaiting(markerSeen, markerWindow);
        if (done())
            return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= milliseconds)
            return false;
        DWORD rest = milliseconds - spent;
        DWORD slice = rest < 20 ? rest : 20;
        MsgWaitForMultipleObjects(event ? 1 : 0, event ? &event : nullptr, FALSE, slice, QS_ALLINPUT);
    }
}
}  // namespace

namespace MessagePump {

bool untilSignalled(HANDLE event, DWORD milliseconds)
{
    bool unused = false;
    return serve(event, [event] { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }, nullptr,
                 unused, milliseconds);
}

bool until(const std::function<bool()>& done, DWORD milliseconds)
{
    bool unused = false;
    return serve(nullptr, done, nullptr, unused, milliseconds);
}

bool drain(HWND window, DWORD milliseconds)
{
    bool markerSeen = false;
    if (!PostMessageA(window, markerMessage, 0, 0))
        return false;
    return serve(nullptr, [&markerSeen] { return markerSeen; }, window, markerSeen, milliseconds);
}

}  // namespace MessagePump
