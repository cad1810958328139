// The sample game: counts its starts in a saved system register, publishes its registers,
// waits for the player in both input modes, and ends from its menu or on request.
#include "KtMessage.h"
#include "KtPopupMenuRequest.h"
#include "KtRegisterStore.h"
#include "KtVelka.h"
#include "resource.h"

namespace {

constexpr DWORD stepMilliseconds = 1000;
constexpr int gameRegisterCount = 64;
constexpr int systemRegisterCount = 16;
constexpr int stringRegisterCount = 16;
// System register 0: how often the game has been started.
constexpr int startCounter = 0;
// Game register 0: the seconds waited in this run, to watch in the monitor.
constexpr int stepCounter = 0;
// Game register 1: the inputs the player gave; register 2: the input mode
// of the current wait (0 any key or button, 1 confirm or cancel only).
constexpr int inputCounter = 1;
constexpr int modeRegister = 2;
// Game registers 3 and 4: the last input code and the last menu choice.
constexpr int lastInputRegister = 3;
constexpr int lastChoiceRegister = 4;
constexpr int anyInputMode = 0;
constexpr int confirmationMode = 1;
constexpr int escapeCode = 0x1B;   // Escape, and cancel in confirmation mode

// Kept in the current directory, beside Pomelo.ini.
KtRegisterStore store("");

bool quitRequested(KtVelka* velka, DWORD milliseconds)
{
    // The events belong to the host; their code is KtLIB.dll's, shared by
    // the host and this module.
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

KtNextStep __cdecl waitForPlayer(KtVelka* velka);

// Posts a request to the window thread once its answer event is reset.
void request(KtVelka* velka, KtEvent& answer, UINT message, WPARAM wParam = 0)
{
    answer.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, message, wParam, 0);
}

// Waits for the answer, a second at a time, so that the monitor sees the
// game breathe and a quit request ends the wait at once. False on quit.
bool awaitAnswer(KtVelka* velka, KtEvent& answer)
{
    HANDLE events[2] = {velka->quitRequest.handle, answer.handle};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(2, events, FALSE, stepMilliseconds);
        if (woke == WAIT_OBJECT_0)
            return false;
        if (woke == WAIT_OBJECT_0 + 1)
            return true;
        if (woke == WAIT_FAILED)
            return false;
        store.gameRegisters.item(stepCounter) += 1;
    }
}

// The game menu of the program's resources, at the mouse cursor.
// Returns the chosen command, 0 when the menu was dismissed or on quit.
int showGameMenu(KtVelka* velka)
{
    // Kept outside the stack: when the player quits while the menu is open,
    // this step returns before the window thread has answered, and the
    // answer must still land in memory that exists.
    static int chosen;
    static KtPopupMenuRequest menu;
    chosen = 0;
    menu = KtPopupMenuRequest{0, &chosen, IDR_GAME_MENU, GetAncestor(velka->host.handle, GA_ROOT),
                              KtPopupMenuRequest::atCursor, KtPopupMenuRequest::atCursor};
    request(velka, velka->menuDone, KtMessage::popupMenu, reinterpret_cast<WPARAM>(&menu));
    if (!awaitAnswer(velka, velka->menuDone))
        return 0;
    return chosen;
}

KtNextStep __cdecl afterInput(KtVelka* velka)
{
    DWORD& mode = store.gameRegisters.item(modeRegister);
    store.gameRegisters.item(lastInputRegister) = static_cast<DWORD>(velka->inputCode);
    if (velka->inputCode == escapeCode) {
        int choice = showGameMenu(velka);
        store.gameRegisters.item(lastChoiceRegister) = static_cast<DWORD>(choice);
        if (choice == IDM_GAME_END)
            return nullptr;
        return quitRequested(velka, 0) ? nullptr : ktNext(&waitForPlayer);
    }
    // Any other input counts, and the next wait takes the other mode.
    store.gameRegisters.item(inputCounter) += 1;
    mode = mode == anyInputMode ? confirmationMode : anyInputMode;
    return ktNext(&waitForPlayer);
}

KtNextStep __cdecl waitForPlayer(KtVelka* velka)
{
    velka->inputMode = static_cast<int>(store.gameRegisters.item(modeRegister));
    request(velka, velka->inputDone, KtMessage::startInput);
    if (!awaitAnswer(velka, velka->inputDone))
        return nullptr;
    return ktNext(&afterInput);
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    prepareRegisters();
    velka->registers = &store;
    return quitRequested(velka, 0) ? nullptr : ktNext(&waitForPlayer);
}
