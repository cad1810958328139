// KtSentMessageWait: a wait on the main thread that keeps serving messages other threads send to it.
#pragma once
#include <windows.h>

// The main thread owns the application window, the scenario host window and
// the top-level hook. While it waits for another thread to end, that thread
// may need an answer from one of these windows: a box it shows is owned by
// the host window, a child window it destroys notifies its parent, the
// hook's procedure is called through SendMessage. A plain wait would then
// block both threads for good. This wait serves sent messages (and only
// those: posted messages stay queued for the message loop).
class KtSentMessageWait {
public:
    // WaitForSingleObject's result for object, serving sent messages
    // meanwhile.
    static DWORD wait(HANDLE object, DWORD milliseconds);
};
