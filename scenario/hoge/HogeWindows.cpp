// HogeWindows: the sample game's requests for host windows (winCreate and destroy by name).
#include "HogeWindows.h"
#include "KtMessage.h"
#include "KtVelka.h"

namespace {

KtWindowDescription asked;
KtWindow* made;
char nameToDestroy[64];

// Waits for windowDone, or for the player's quit: false then.
bool awaitWindow(KtVelka* velka)
{
    HANDLE events[2] = {velka->quitRequest.handle, velka->windowDone.handle};
    return WaitForMultipleObjects(2, events, FALSE, 10000) == WAIT_OBJECT_0 + 1;
}

}  // namespace

KtWindow* HogeWindows::create(KtVelka* velka, const KtWindowDescription& description)
{
    asked = description;
    made = nullptr;
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::createWindow,
                       reinterpret_cast<WPARAM>(&made), reinterpret_cast<LPARAM>(&asked));
    return awaitWindow(velka) ? made : nullptr;
}

void HogeWindows::destroy(KtVelka* velka, const char* name)
{
    lstrcpynA(nameToDestroy, name, sizeof nameToDestroy);
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::destroyWindow,
                       reinterpret_cast<WPARAM>(nameToDestroy), 0);
    awaitWindow(velka);
}

bool HogeWindows::awaitEvent(KtVelka* velka, HANDLE event, void (*tick)())
{
    HANDLE events[2] = {velka->quitRequest.handle, event};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, events, FALSE, 1000);
        if (woke == WAIT_OBJECT_0 + 1)
            return true;
        if (woke != WAIT_TIMEOUT)
            return false;
        if (tick)
            tick();
    }
}

bool HogeWindows::awaitInput(KtVelka* velka, int mode, void (*tick)())
{
    velka->inputMode = mode;
    velka->inputDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::startInput, 0, 0);
    // The request stays open meanwhile: input that comes while tick runs
    // is collected and found at the next look.
    return awaitEvent(velka, velka->inputDone.handle, tick);
}

HogeWindows::Woken HogeWindows::awaitInputOr(KtVelka* velka, int mode, HANDLE event)
{
    velka->inputMode = mode;
    velka->inputDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::startInput, 0, 0);
    HANDLE events[3] = {velka->quitRequest.handle, velka->inputDone.handle, event};
    switch (WaitForMultipleObjects(3, events, FALSE, INFINITE)) {
    case WAIT_OBJECT_0 + 1: return Woken::input;
    case WAIT_OBJECT_0 + 2: return Woken::event;
    default: return Woken::quit;
    }
}
