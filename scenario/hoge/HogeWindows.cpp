// HogeWindows: window requests posted to the host's window thread and their answers.
#include "HogeWindows.h"
#include "KtMessage.h"
#include "KtVelka.h"

namespace {

bool answered(KtVelka* velka)
{
    HANDLE events[2] = {velka->quitRequest.handle, velka->windowDone.handle};
    return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
}

}  // namespace

namespace HogeWindows {

KtWindow* create(KtVelka* velka, const KtWindowDescription& record)
{
    // The answer lands here, so it too must outlive a quit.
    static KtWindow* made;
    made = nullptr;
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::createWindow,
                       reinterpret_cast<WPARAM>(&made), reinterpret_cast<LPARAM>(&record));
    return answered(velka) ? made : nullptr;
}

bool destroy(KtVelka* velka, const char* name)
{
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::destroyWindow,
                       reinterpret_cast<WPARAM>(name), 0);
    return answered(velka);
}

SIZE hostSize(KtVelka* velka)
{
    RECT client = {};
    GetClientRect(velka->host.handle, &client);
    return SIZE{client.right, client.bottom};
}

}  // namespace HogeWindows
