// KtSentMessageWait: MsgWaitForMultipleObjects on sent messages only, with the remaining time.
#include "KtSentMessageWait.h"

DWORD KtSentMessageWait::wait(HANDLE object, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        // PeekMessage calls the window procedures of pending sent messages
        // and leaves posted ones where they are.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        DWORD remaining = INFINITE;
        if (milliseconds != INFINITE) {
            DWORD elapsed = GetTickCount() - start;
            remaining = elapsed >= milliseconds ? 0 : milliseconds - elapsed;
        }
        DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, remaining, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
    }
}
