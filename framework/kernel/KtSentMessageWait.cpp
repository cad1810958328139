// KtSentMessageWait: MsgWaitForMultipleObjects on sent messages only, against one deadline.
#include "KtSentMessageWait.h"

DWORD KtSentMessageWait::forObject(HANDLE object, DWORD milliseconds)
{
    if (!object)
        return WAIT_OBJECT_0;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD spent = GetTickCount() - start;
        DWORD left = milliseconds == INFINITE ? INFINITE
                                              : (spent >= milliseconds ? 0 : milliseconds - spent);
        DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1)
            return woke;
        // Answers every message sent to this thread; nothing is removed.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (left == 0)
            return WaitForSingleObject(object, 0);
    }
}
