// KtSentMessageWait: a bounded wait for a kernel object that answers messages sent to the waiting thread.
#pragma once
#include <windows.h>

// A thread that owns windows and blocks in a plain wait cannot answer a
// message another thread sends to one of them: if that other thread is the
// one being waited for (a redraw that ends in UpdateWindow, a child window
// that notifies its parent), both threads block for good. This wait answers
// sent messages while it waits; posted messages, input among them, stay in
// the queue for the thread's own loop.
class KtSentMessageWait {
public:
    // WAIT_OBJECT_0 when the object was signalled within the limit,
    // WAIT_TIMEOUT when it was not, WAIT_FAILED for a bad handle. A null
    // handle counts as signalled.
    static DWORD forObject(HANDLE object, DWORD milliseconds);
};
