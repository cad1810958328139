// Test module: hands the host records and a register store in its own static memory, then waits for a quit.
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtPopupMenuRequest.h"
#include "KtRegisterStore.h"
#include "KtVelka.h"
#include "resource.h"

namespace {
// All of this is gone once the module is freed: a host that still reads or
// calls into it afterwards faults.
int chosen = -1;
KtPopupMenuRequest menu;
KtRegisterStore store("module-memory-store\\");
}  // namespace

// Opens the game menu and, without waiting for its answer, ends the chain
// when the player quits.
extern "C" __declspec(dllexport) KtNextStep __cdecl menuUntilQuit(KtVelka* velka)
{
    menu = KtPopupMenuRequest{0, &chosen, IDR_GAME_MENU, velka->host.handle, 200, 200};
    velka->menuDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::popupMenu,
                       reinterpret_cast<WPARAM>(&menu), 0);
    velka->quitRequest.wait(60000);
    return nullptr;
}

// Publishes the store, whose system registers carry this module's table,
// and ends the chain when the player quits.
extern "C" __declspec(dllexport) KtNextStep __cdecl registersUntilQuit(KtVelka* velka)
{
    store.systemRegisters.create(4);
    velka->registers = &store;
    velka->quitRequest.wait(60000);
    return nullptr;
}

// Saves the given store's system registers with this module's own copy of
// the saving code, as a module's setSystem does on the scenario thread.
// Its boxes go to the program's box handler. Returns how many saves failed.
extern "C" __declspec(dllexport) int __cdecl saveInModule(KtRegisterStore* registers, int times)
{
    int failures = 0;
    for (int i = 0; i < times; ++i) {
        try {
            registers->setSystem(0, static_cast<DWORD>(i), true);
        } catch (Diagnostic&) {
            ++failures;
        }
    }
    return failures;
}
