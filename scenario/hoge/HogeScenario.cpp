// The sample game: counts its starts in a saved system register, plays a short movie and shows
// pictures in windows it asks of the host, waits for the player in both input modes, takes a name,
// shows a map whose places light up, and ends from its menu or on request.
#include "HogeOpening.h"
#include "HogePictures.h"
#include "HogeRequests.h"
#include "KtMessage.h"
#include "KtPopupMenuRequest.h"
#include "KtRegisterStore.h"
#include "KtVelka.h"
#include "NameEntry.h"
#include "PictureMap.h"
#include "resource.h"

namespace {

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
// Game registers 3 and 4: the last input code and the last menu choice;
// register 5: the last place picked on the map.
constexpr int lastInputRegister = 3;
constexpr int lastChoiceRegister = 4;
constexpr int lastPlaceRegister = 5;
// String register 0: the player's name.
constexpr int nameRegister = 0;
constexpr int anyInputMode = 0;
constexpr int confirmationMode = 1;
constexpr int escapeCode = 0x1B;   // Escape, and cancel in confirmation mode

// Kept in the current directory, beside Pomelo.ini.
KtRegisterStore store("");
// Pictures over the game's window; each input shows the next transition.
HogePictures pictures;
constexpr DWORD pauseBetweenPictures = 400;

// Every way out of the chain: the picture window and its thread go before
// the host unloads this module.
KtNextStep end()
{
    pictures.stop();
    return nullptr;
}

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

KtNextStep __cdecl waitForPlayer(KtVelka* velka);

using HogeRequests::awaitAnswer;
using HogeRequests::request;

void countSecond()
{
    store.gameRegisters.item(stepCounter) += 1;
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

// The name entry or the map, on a panel over the pictures; false on quit.
bool runScene(KtVelka* velka, int choice)
{
    if (choice == IDM_GAME_NAME)
        return NameEntry::run(velka, store.stringRegisters.item(nameRegister));
    return PictureMap::run(velka, store.gameRegisters.item(lastPlaceRegister));
}

KtNextStep __cdecl afterInput(KtVelka* velka)
{
    DWORD& mode = store.gameRegisters.item(modeRegister);
    store.gameRegisters.item(lastInputRegister) = static_cast<DWORD>(velka->inputCode);
    if (velka->inputCode == escapeCode) {
        int choice = showGameMenu(velka);
        store.gameRegisters.item(lastChoiceRegister) = static_cast<DWORD>(choice);
        if (choice == IDM_GAME_END)
            return end();
        if ((choice == IDM_GAME_NAME || choice == IDM_GAME_MAP) && !runScene(velka, choice))
            return end();
        return quitRequested(velka, 0) ? end() : ktNext(&waitForPlayer);
    }
    // Any other input counts, and the next wait takes the other mode.
    store.gameRegisters.item(inputCounter) += 1;
    mode = mode == anyInputMode ? confirmationMode : anyInputMode;
    pictures.showNext();
    return ktNext(&waitForPlayer);
}

KtNextStep __cdecl waitForPlayer(KtVelka* velka)
{
    velka->inputMode = static_cast<int>(store.gameRegisters.item(modeRegister));
    request(velka, velka->inputDone, KtMessage::startInput);
    // Published once the game listens: whoever watches the registers may
    // give the first input from then on.
    velka->registers = &store;
    if (!awaitAnswer(velka, velka->inputDone))
        return end();
    return ktNext(&afterInput);
}

// One picture after another through each kind of transition, then the game waits.
KtNextStep __cdecl showTransitions(KtVelka* velka)
{
    if (!pictures.showEveryKind(velka->quitRequest.handle, pauseBetweenPictures))
        return end();
    return ktNext(&waitForPlayer);
}

// The short movie over the picture window, then the pictures.
KtNextStep __cdecl playOpening(KtVelka* velka)
{
    if (!HogeOpening::play(velka, HogePictures::windowName))
        return end();
    return ktNext(&showTransitions);
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    prepareRegisters();
    HogeRequests::setHeartbeat(&countSecond);
    if (quitRequested(velka, 0))
        return nullptr;
    // The windows come from the host (winCreate); a game without its
    // picture window still plays, without pictures or movie.
    if (!pictures.start(velka))
        return quitRequested(velka, 0) ? end() : ktNext(&waitForPlayer);
    return ktNext(&playOpening);
}
