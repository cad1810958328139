// KtTopLevelHook: the window procedure put in front of the top-level window while a scenario runtime exists.
#pragma once
#include <windows.h>

class KtVelka;

// Runs on the main thread. It asks before the player forces the game to end,
// passes input of the top-level window on to the window thread during a
// wait, keeps popup viewports and the caption in step with the
// application's activation, hands the keyboard focus back to the scenario's
// focus window and serves the register monitor. Everything it does not
// consume goes on to the procedure it replaced.
class KtTopLevelHook {
public:
    // Puts the hook in front of the top-level window that contains host.
    // Does nothing when there is no such window or the hook is already there.
    static void install(HWND host);
    // Puts the replaced procedure back (only while the hook is still the
    // window's procedure, so that a later subclass is not cut off).
    static void remove(HWND host);

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // What WM_NCACTIVATE is made to report: 1 until another application
    // takes the activation.
    static int activationFlag();

    static const char* const forceQuitText;
    static const char* const forceQuitCaption;

private:
    static HWND topLevelOf(HWND window);
    static LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT serveMonitor(KtVelka& velka, UINT message, WPARAM wParam, LPARAM lParam);
    static bool receiveFromMonitor(KtVelka& velka, WPARAM sender, const COPYDATASTRUCT* data);
    static void postDeferredClose(KtVelka& velka);
    static void forwardInput(KtVelka& velka, WPARAM wParam, LPARAM lParam);
    static void onActivateApp(KtVelka& velka, HWND window, WPARAM active, LPARAM otherThread);
    static void onSetFocus(KtVelka& velka, HWND window);
    static void confirmForceQuit(KtVelka& velka, HWND window);
};
