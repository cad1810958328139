// HogeWindows: the sample game's requests for host windows (winCreate and destroy by name).
#pragma once
#include "KtWindowDescription.h"
#include <windows.h>

class KtVelka;
class KtWindow;

// Windows asked of the host's window thread: the module fills a description,
// posts its address and waits for windowDone. The description and the slot
// for the answer live outside the stack, so that an answer that comes after
// a quit request still lands in memory that exists.
class HogeWindows {
public:
    // Asks for the window; null when it could not be made or the player quit.
    static KtWindow* create(KtVelka* velka, const KtWindowDescription& description);
    // Destroys the window of that name, if there is one.
    static void destroy(KtVelka* velka, const char* name);
    // Asks for one input in the mode (0 any key or button, 1 confirm or
    // cancel only) and waits for it; every second without one, tick runs
    // (when given). False when the player quit. The code is inputCode.
    static bool awaitInput(KtVelka* velka, int mode, void (*tick)() = nullptr);
    // Asks for one input as awaitInput does, and waits for it or for the
    // event, whichever comes first.
    enum class Woken { input, event, quit };
    static Woken awaitInputOr(KtVelka* velka, int mode, HANDLE event);
    // Waits for the event or the player's quit; tick as above.
    static bool awaitEvent(KtVelka* velka, HANDLE event, void (*tick)() = nullptr);
};
