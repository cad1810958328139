// Test module: reaches the host's objects only through their fields and virtual
// tables, records what it saw, then throws a diagnostic for the host to catch.
#include "Diagnostic.h"
#include "KtVelka.h"
#include "KtWindow.h"

namespace {

// Bits of inputCode, one per check that passed.
enum : int {
    doneEventsSignalled = 1 << 0,   // windowDone, inputDone, menuDone created signalled
    quitNotSignalled = 1 << 1,      // quitRequest created not signalled
    unsignalWorks = 1 << 2,         // menuDone reset and set again through the vtable
    hostTypeSeen = 1 << 3,          // the host window object answers windowType
    threadIdSeen = 1 << 4,          // windowThread has a thread id to post to
};

int exceptionEntryCalls = 0;

bool signalled(KtEvent& event)
{
    return event.wait(0) == WAIT_OBJECT_0;
}

KtNextStep __cdecl fail(KtVelka*)
{
    throw CannotOpenException("cannot open", "probe.dat");
}

KtNextStep __cdecl probe(KtVelka* velka)
{
    int seen = 0;
    if (signalled(velka->windowDone) && signalled(velka->inputDone) && signalled(velka->menuDone))
        seen |= doneEventsSignalled;
    if (!signalled(velka->quitRequest))
        seen |= quitNotSignalled;
    velka->menuDone.unsignal();
    bool reset = !signalled(velka->menuDone);
    velka->menuDone.signal();
    if (reset && signalled(velka->menuDone))
        seen |= unsignalWorks;
    auto* host = reinterpret_cast<KtWindow*>(GetWindowLongPtrA(velka->host.handle, 0));
    if (host) {
        velka->inputPosition = host->windowType();
        seen |= hostTypeSeen;
    }
    if (velka->windowThread.threadId != 0)
        seen |= threadIdSeen;
    velka->inputCode = seen;
    return ktNext(&fail);
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    exceptionEntryCalls = 0;
    return ktNext(&probe);
}

extern "C" __declspec(dllexport) KtNextStep __cdecl EXCEPTION_ENTRY(KtVelka* velka)
{
    velka->inputMode = ++exceptionEntryCalls;
    return nullptr;
}
