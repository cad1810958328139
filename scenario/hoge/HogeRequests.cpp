// HogeRequests: requests posted to the window thread and answered on the runtime's events.
#include "HogeRequests.h"
#include "HogeWindows.h"
#include "KtMessage.h"
#include "KtPopupViewport.h"
#include "KtVelka.h"

namespace HogeRequests {

namespace {
constexpr DWORD heartbeatMilliseconds = 1000;
constexpr DWORD destroyMilliseconds = 10000;
Heartbeat heartbeat = nullptr;
}  // namespace

void setHeartbeat(Heartbeat beat)
{
    heartbeat = beat;
}

void request(KtVelka* velka, KtEvent& answer, UINT message, WPARAM wParam, LPARAM lParam)
{
    answer.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, message, wParam, lParam);
}

bool awaitAnswer(KtVelka* velka, KtEvent& answer)
{
    HANDLE events[2] = {velka->quitRequest.handle, answer.handle};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, events, FALSE, heartbeatMilliseconds);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED)
            return false;
        if (woke == WAIT_OBJECT_0 + 1)
            return true;
        if (heartbeat)
            heartbeat();
    }
}

KtViewport* openPanel(KtVelka* velka, const char* name, const KtRect& area)
{
    // Read by the window thread after a quit too: kept outside the stack.
    static KtWindowDescription record;
    record.kind = KtWindowDescription::popupWithoutCaption;
    record.rect = area;
    record.name = KtString(name);
    record.showCmd = SW_SHOWNORMAL;
    KtWindow* window = HogeWindows::create(velka, record);
    // A popup floats above everything on the game's window, pictures included.
    if (!window || window->windowType() != 6)
        return nullptr;
    return static_cast<KtPopupViewport*>(window)->client;
}

bool destroyPanel(KtVelka* velka, const char* name)
{
    static KtString asked;
    asked = KtString(name);
    request(velka, velka->windowDone, KtMessage::destroyWindow,
            reinterpret_cast<WPARAM>(asked.text()));
    return velka->windowDone.wait(destroyMilliseconds) == WAIT_OBJECT_0;
}

int waitForInput(KtVelka* velka, int mode)
{
    velka->inputMode = mode;
    request(velka, velka->inputDone, KtMessage::startInput);
    if (!awaitAnswer(velka, velka->inputDone))
        return -1;
    return velka->inputCode;
}

void focus(KtVelka* velka, KtWindow* window)
{
    velka->focusWindow = window;
    if (window)
        PostThreadMessageA(velka->windowThread.threadId, KtMessage::restoreFocus, 0, 0);
}

}  // namespace HogeRequests
