// A scenario module for the register monitor tests: known registers, published and ended when the test says so.
#include "KtRegisterStore.h"
#include "KtVelka.h"

// The test makes two named manual-reset events before it starts the game:
// the module publishes its registers once the first is set and ends its
// chain once the second is set. Without them it publishes at once and runs
// until the player quits.
namespace {

KtRegisterStore store("");

bool waitFor(KtVelka* velka, const char* eventName)
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, eventName);
    HANDLE handles[2] = {velka->quitRequest.handle, event};
    DWORD which = WaitForMultipleObjects(event ? 2 : 1, handles, FALSE, event ? INFINITE : 0);
    if (event)
        CloseHandle(event);
    return which != WAIT_OBJECT_0;   // false: the player asked to quit
}

void fill()
{
    const DWORD game[] = {11, static_cast<DWORD>(-22), 33, 0x7FFFFFFF};
    store.gameRegisters.create(4);
    for (int i = 0; i < 4; ++i)
        store.gameRegisters.item(i) = game[i];
    store.systemRegisters.create(3);
    for (int i = 0; i < 3; ++i)
        store.systemRegisters.item(i) = 5 + i;
    store.stringRegisters.create(3);
    store.stringRegisters.item(0).create(256, "alpha");
    store.stringRegisters.item(1).create(256, "ベータ");
    store.monitorText.create(256, "probe\ntext");
}

KtNextStep __cdecl waitForEnd(KtVelka* velka)
{
    waitFor(velka, "KtMonitorProbe.end");
    return nullptr;
}

KtNextStep __cdecl publish(KtVelka* velka)
{
    if (!waitFor(velka, "KtMonitorProbe.publish"))
        return nullptr;
    velka->registers = &store;
    return ktNext(&waitForEnd);
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    fill();
    return ktNext(&publish);
}
