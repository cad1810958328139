// The sample game: a title that offers to continue, a name, a choice that branches,
// a movie and an ending, with its progress in saved system registers.
#include "HogePictures.h"
#include "HogeScenes.h"
#include "HogeWindows.h"
#include "KtMessage.h"
#include "KtPopupMenuRequest.h"
#include "KtRegisterStore.h"
#include "KtVelka.h"
#include "resource.h"
#include <cstdio>

namespace {

constexpr int gameRegisterCount = 64;
constexpr int systemRegisterCount = 16;
constexpr int stringRegisterCount = 16;

// Game registers, for the register monitor.
constexpr int stepCounter = 0;          // seconds waited in this run
constexpr int inputCounter = 1;         // inputs the player gave
constexpr int modeRegister = 2;         // input mode of the current wait
constexpr int lastInputRegister = 3;    // last input code
constexpr int lastChoiceRegister = 4;   // last menu choice
constexpr int sceneRegister = 5;        // the scene shown (see Scene)
constexpr int branchRegister = 6;       // 1 mountain, 2 sea
constexpr int offerRegister = 7;        // 1 while the title offers to continue
constexpr int waitingRegister = 8;      // what the scene waits for (see Waiting)
// System registers, kept in ".system.dat" beside Pomelo.ini.
constexpr int startCounter = 0;         // how often the game has been started
constexpr int progressRegister = 1;     // the furthest scene reached
constexpr int finishCounter = 2;        // how often the game was played to the end
constexpr int lastBranchRegister = 3;   // the branch of the last play
constexpr int savedSceneRegister = 4;   // the scene saved from the menu
// String register 0: the player's name; 1: the first line of the dialogue.
constexpr int nameRegister = 0;
constexpr int dialogueRegister = 1;

constexpr int anyInputMode = 0;
constexpr int confirmationMode = 1;
constexpr int escapeCode = 0x1B;
constexpr int returnCode = 13;

// Transitions of the scenes: the fade and the cut. The title shows every
// family while it waits (HogePictures::cycleTitle).
constexpr int fade = 9;
constexpr int atOnce = 0;

enum Scene { title = 0, forest = 1, town = 2, journey = 3, movie = 4, ending = 5 };

KtRegisterStore store("");
HogePictures pictures;
// The pictures and the movie lie in the folder "hoge" beside this module,
// wherever the player starts the game from.
char dataFolder[MAX_PATH];

void findDataFolder()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&findDataFolder), &self);
    DWORD length = GetModuleFileNameA(self, dataFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        length = 0;
    // Cut after the last separator; a double-byte character's second byte
    // may look like one, so walk by characters.
    char* cut = dataFolder;
    for (char* p = dataFolder; p < dataFolder + length && *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/')
            cut = p + 1;
    *cut = '\0';
    lstrcpynA(cut, "hoge\\", int(dataFolder + MAX_PATH - cut));
}

// A file of the game's data folder; valid until the next call.
const char* data(const char* name)
{
    static char path[MAX_PATH * 2];
    std::snprintf(path, sizeof path, "%s%s", dataFolder, name);
    return path;
}

KtNextStep __cdecl titleStep(KtVelka* velka);
KtNextStep __cdecl forestStep(KtVelka* velka);
KtNextStep __cdecl townStep(KtVelka* velka);
KtNextStep __cdecl journeyStep(KtVelka* velka);
KtNextStep __cdecl movieStep(KtVelka* velka);
KtNextStep __cdecl endingStep(KtVelka* velka);

KtNextStep stepOf(int scene)
{
    switch (scene) {
    case forest: return ktNext(&forestStep);
    case town: return ktNext(&townStep);
    case journey: return ktNext(&journeyStep);
    case movie: return ktNext(&movieStep);
    case ending: return ktNext(&endingStep);
    default: return ktNext(&titleStep);
    }
}

// Every way out of the chain: the picture window and its thread go before
// the host unloads this module.
KtNextStep end()
{
    pictures.stop();
    return nullptr;
}

DWORD& game(int index) { return store.gameRegisters.item(index); }
DWORD system(int index) { return store.systemRegisters.item(index); }

const char* playerName()
{
    KtString& name = store.stringRegisters.item(nameRegister);
    return name.length() > 0 ? name.text() : "旅人";
}

// What a scene waits for, for scripts that play the game.
enum Waiting { busy = 0, forInput = 1, forName = 2, forChoice = 3, forMovie = 4 };

void enterScene(int scene, Waiting waitingFor)
{
    // Busy first: whoever sees the new scene never reads the last one's wait.
    game(waitingRegister) = busy;
    game(sceneRegister) = static_cast<DWORD>(scene);
    game(waitingRegister) = static_cast<DWORD>(waitingFor);
    if (scene > 0 && static_cast<DWORD>(scene) > system(progressRegister))
        store.setSystem(progressRegister, static_cast<DWORD>(scene), true);
    pictures.setStatus(scene, waitingFor);
    KtString text("場面 ");
    text.appendUInt(static_cast<DWORD>(scene));
    text.append(" / 起動回数 ");
    text.appendUInt(system(startCounter));
    store.monitorText = text;
}

// The picture with its dialogue; the first line also goes to a string
// register, where the monitor shows it.
void showScene(const char* file, const char* const* lines, int lineCount, int code)
{
    store.stringRegisters.item(dialogueRegister) = KtString(lines[0]);
    pictures.showScene(file, lines, lineCount, code);
}

void prepareRegisters()
{
    store.gameRegisters.create(gameRegisterCount);
    store.stringRegisters.create(stringRegisterCount);
    store.systemRegisters.create(systemRegisterCount);
    store.loadSystem();
    store.setSystem(startCounter, system(startCounter) + 1, true);
}

// The game menu of the program's resources, at the mouse cursor. Returns
// the chosen command, 0 when it was dismissed or on quit.
int showGameMenu(KtVelka* velka)
{
    // Outside the stack: an answer that comes after a quit lands in live memory.
    static int chosen;
    static KtPopupMenuRequest menu;
    chosen = 0;
    menu = KtPopupMenuRequest{0, &chosen, IDR_GAME_MENU, GetAncestor(velka->host.handle, GA_ROOT),
                              KtPopupMenuRequest::atCursor, KtPopupMenuRequest::atCursor};
    velka->menuDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::popupMenu,
                       reinterpret_cast<WPARAM>(&menu), 0);
    if (!HogeWindows::awaitEvent(velka, velka->menuDone.handle))
        return 0;
    return chosen;
}

void tick()
{
    game(stepCounter) += 1;
}

// What a scene's wait came to.
enum class Outcome { input, quit, load };

// Waits for one input of the mode; Escape opens the menu, whose save keeps
// the scene in the system registers and whose load goes back to it.
Outcome waitForPlayer(KtVelka* velka, int scene, int mode, void (*onTick)() = &tick)
{
    for (;;) {
        game(modeRegister) = static_cast<DWORD>(mode);
        enterScene(scene, forInput);
        const bool answered = HogeWindows::awaitInput(velka, mode, onTick);
        enterScene(scene, busy);
        if (!answered)
            return Outcome::quit;
        game(lastInputRegister) = static_cast<DWORD>(velka->inputCode);
        if (velka->inputCode != escapeCode) {
            game(inputCounter) += 1;
            return Outcome::input;
        }
        const int choice = showGameMenu(velka);
        game(lastChoiceRegister) = static_cast<DWORD>(choice);
        if (choice == IDM_GAME_END || velka->quitRequest.wait(0) == WAIT_OBJECT_0)
            return Outcome::quit;
        if (choice == IDM_GAME_SAVE)
            store.setSystem(savedSceneRegister, static_cast<DWORD>(scene), true);
        if (choice == IDM_GAME_LOAD && system(savedSceneRegister) > 0)
            return Outcome::load;
    }
}

// The step after a wait: the next scene, the saved one, or the end.
KtNextStep after(Outcome outcome, int next)
{
    if (outcome == Outcome::quit)
        return end();
    if (outcome == Outcome::load)
        return stepOf(static_cast<int>(system(savedSceneRegister)));
    return stepOf(next);
}

// While the title waits, day and dusk take turns every few seconds, each
// time through the next transition of the cycle: a player who waits sees
// every family in turn.
void titleTick()
{
    tick();
    static bool dusk;
    if (game(stepCounter) % 3 == 0) {
        dusk = !dusk;
        pictures.cycleTitle(data(dusk ? "dusk.bmp" : "title.bmp"));
    }
}

KtNextStep __cdecl titleStep(KtVelka* velka)
{
    const int reached = static_cast<int>(system(progressRegister));
    game(offerRegister) = reached > 0 ? 1 : 0;
    static const char* const fresh[] = {"クリックかキーで はじめる"};
    static const char* const offer[] = {"Return: つづきから", "ほかのキーかクリック: はじめから"};
    if (reached > 0)
        pictures.showTitle(data("title.bmp"), offer, 2);
    else
        pictures.showTitle(data("title.bmp"), fresh, 1);
    const Outcome outcome = waitForPlayer(velka, title, anyInputMode, &titleTick);
    const bool resume = reached > 0 && velka->inputCode == returnCode;
    game(offerRegister) = 0;
    return after(outcome, resume ? reached : forest);
}

KtNextStep __cdecl forestStep(KtVelka* velka)
{
    const char* lines[] = {"森の入口で だれかが 呼びとめた。", "「旅のかた、お名前は？」"};
    showScene(data("forest.mcg"), lines, 2, fade);
    enterScene(forest, busy);
    KtString name(playerName());
    if (!HogeScenes::askName(velka, name, [] { enterScene(forest, forName); }))
        return end();
    store.stringRegisters.item(nameRegister) = name;
    return after(waitForPlayer(velka, forest, confirmationMode), town);
}

KtNextStep __cdecl townStep(KtVelka* velka)
{
    char first[96];
    std::snprintf(first, sizeof first, "%sさん、町へ ようこそ。", playerName());
    const char* lines[] = {first, "山と海、どちらへ 行きますか？"};
    showScene(data("town.sld"), lines, 2, atOnce);
    enterScene(town, busy);
    int choice = 0;
    if (!HogeScenes::choose(velka, "山", "海", choice, [] { enterScene(town, forChoice); }))
        return end();
    game(branchRegister) = static_cast<DWORD>(choice);
    return ktNext(&journeyStep);
}

KtNextStep __cdecl journeyStep(KtVelka* velka)
{
    const bool sea = game(branchRegister) == 2;
    char first[96];
    std::snprintf(first, sizeof first, sea ? "%sさんは 海へ 向かった。" : "%sさんは 山に 登った。",
                  playerName());
    const char* lines[] = {first, sea ? "波の音が 聞こえる。" : "風が 冷たい。"};
    showScene(data(sea ? "sea.pgm" : "mountain.pgm"), lines, 2, sea ? fade : atOnce);
    return after(waitForPlayer(velka, journey, anyInputMode), movie);
}

KtNextStep __cdecl movieStep(KtVelka* velka)
{
    enterScene(movie, busy);
    if (!HogeScenes::playMovie(velka, data("opening.avi"), [] { enterScene(movie, forMovie); }))
        return end();
    return ktNext(&endingStep);
}

KtNextStep __cdecl endingStep(KtVelka* velka)
{
    store.setSystem(finishCounter, system(finishCounter) + 1, false);
    store.setSystem(lastBranchRegister, game(branchRegister), true);
    char thanks[96];
    std::snprintf(thanks, sizeof thanks, "%sさん、遊んでくれて ありがとう。", playerName());
    const char* lines[] = {"おしまい", thanks};
    showScene(data("title.bmp"), lines, 2, fade);
    const Outcome outcome = waitForPlayer(velka, ending, confirmationMode);
    if (outcome == Outcome::load)
        return after(outcome, ending);
    return end();
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    findDataFolder();
    prepareRegisters();
    velka->registers = &store;
    if (velka->quitRequest.wait(0) == WAIT_OBJECT_0)
        return nullptr;
    pictures.start(velka->host.handle);
    return ktNext(&titleStep);
}

// A diagnostic that escaped a step ends the game too: the picture thread must
// not outlive the module.
extern "C" __declspec(dllexport) KtNextStep __cdecl EXCEPTION_ENTRY(KtVelka* velka)
{
    return end();
}
