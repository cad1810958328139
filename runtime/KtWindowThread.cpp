// KtWindowThread: message loop of the window thread.
#include "KtWindowThread.h"
#include "KtMessage.h"
#include "KtThread.h"
#include "KtVelka.h"

unsigned __stdcall KtWindowThread::main(void* argument)
{
    KtWindowThread thread(*static_cast<KtVelka*>(argument));
    return thread.run();
}

bool KtWindowThread::postWhenReady(KtThread& thread, UINT message, WPARAM wParam, LPARAM lParam)
{
    while (thread.isRunning()) {
        if (PostThreadMessageA(thread.threadId, message, wParam, lParam))
            return true;
        // The queue does not exist yet: give the thread a moment to make it.
        thread.wait(5);
    }
    return false;
}

unsigned KtWindowThread::run()
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);   // makes the queue
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!message.hwnd && !handleThreadMessage(message))
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

bool KtWindowThread::handleThreadMessage(const MSG& message)
{
    if (message.message == KtMessage::stop) {
        destroyAllWindows();
        return false;
    }
    return true;
}

void KtWindowThread::destroyAllWindows()
{
    KtCriticalSection::Hold hold(velka_.lock);
    velka_.windows.clear();
}
