// The sample game: counts its starts in a saved system register, publishes its registers and ends on request.
#include "KtRegisterStore.h"
#include "KtVelka.h"

namespace {

constexpr int stepCount = 60;
constexpr DWORD stepMilliseconds = 1000;
constexpr int gameRegisterCount = 64;
constexpr int systemRegisterCount = 16;
constexpr int stringRegisterCount = 16;
// System register 0: how often the game has been started.
constexpr int startCounter = 0;
// Game register 0: the steps taken in this run, to watch in the monitor.
constexpr int stepCounter = 0;

// Kept in the current directory, beside Pomelo.ini.
KtRegisterStore store("");

bool quitRequested(KtVelka* velka, DWORD milliseconds)
{
    // The events are reached through their virtual tables: this module has
    // its own copy of the framework code, the objects belong to the host.
    return velka->quitRequest.wait(milliseconds) == WAIT_OBJECT_0;
}

void prepareRegisters()
{
    store.gameRegisters.create(gameRegisterCount);
    store.stringRegisters.create(stringRegisterCount);
    store.systemRegisters.create(systemRegisterCount);
    store.loadSystem();
    DWORD starts = store.systemRegisters.item(startCounter) + 1;
    store.setSystem(startCounter, starts, true);

    KtString text("起動回数 ");
    text.appendUInt(starts);
    store.monitorText = text;
}

KtNextStep __cdecl tick(KtVelka* velka)
{
    if (quitRequested(velka, stepMilliseconds))
        return nullptr;
    DWORD& steps = store.gameRegisters.item(stepCounter);
    return static_cast<int>(++steps) < stepCount ? ktNext(&tick) : nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    prepareRegisters();
    velka->registers = &store;
    return quitRequested(velka, 0) ? nullptr : ktNext(&tick);
}
