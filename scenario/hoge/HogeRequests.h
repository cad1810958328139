// HogeRequests: the sample game's requests to the window thread and its waits for the answers.
#pragma once
#include <windows.h>

class KtEvent;
class KtRect;
class KtVelka;
class KtViewport;
class KtWindow;

namespace HogeRequests {

// Called once a second while a wait goes on, so the monitor sees the game breathe.
using Heartbeat = void (*)();
void setHeartbeat(Heartbeat beat);

// Posts a request to the window thread once its answer event is reset.
void request(KtVelka* velka, KtEvent& answer, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Waits for the answer; false when the player quits first.
bool awaitAnswer(KtVelka* velka, KtEvent& answer);

// A panel over the game's window: a popup viewport without a caption at
// area of the game's window, of which the client viewport is handed back.
// Null on quit or when nothing was made. Destroyed by name like any window.
KtViewport* openPanel(KtVelka* velka, const char* name, const KtRect& area);
// Destroys the panel of that name and waits for it, even after a quit
// request (for at most ten seconds): a panel may hold objects and callbacks
// of this module, which must be gone before the module is. False when no
// answer came.
bool destroyPanel(KtVelka* velka, const char* name);
// One key or click in the given input mode: its code, or -1 on quit.
int waitForInput(KtVelka* velka, int mode);
// Gives the keyboard focus to window (null: to nobody in particular).
void focus(KtVelka* velka, KtWindow* window);

}  // namespace HogeRequests
