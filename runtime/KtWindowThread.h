// KtWindowThread: the thread that owns every scenario window and serves the module's requests.
#pragma once
#include <windows.h>

class KtThread;
class KtVelka;

class KtWindowThread {
public:
    // Thread procedure; the argument is the KtVelka that owns the thread.
    static unsigned __stdcall main(void* argument);

    // Posts a thread message to a thread that may not have made its message
    // queue yet (PostThreadMessageA fails until it has). Gives up when the
    // thread has ended. Returns whether the message was posted.
    static bool postWhenReady(KtThread& thread, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    explicit KtWindowThread(KtVelka& velka) : velka_(velka) {}
    unsigned run();
    // Returns false when the loop must end.
    bool handleThreadMessage(const MSG& message);
    void destroyAllWindows();

    KtVelka& velka_;
};
