// KtVelka: the scenario runtime that loads the scenario module and runs its chain of steps.
#pragma once
#include <windows.h>
#include "KtCriticalSection.h"
#include "KtEvent.h"
#include "KtModule.h"
#include "KtRuntimeSlot.h"
#include "KtWindowList.h"
#include "KtThread.h"
#include "KtWindowHandle.h"

class KtVelka;
class KtWindow;

// A step of the scenario returns the next step, or null to end the chain.
// C++ cannot spell a function type that returns itself, so a step returns
// the next one as an untyped pointer; ktNext() makes one from a step.
using KtNextStep = void*;
using ContinuationFn = KtNextStep(__cdecl*)(KtVelka* velka);

inline KtNextStep ktNext(ContinuationFn step)
{
    return reinterpret_cast<KtNextStep>(step);
}

// The object the scenario module is handed at every step. The module reads
// and writes its fields directly, so their order and widths must not change.
class KtVelka {
public:
    explicit KtVelka(HWND hostWindow);
    virtual ~KtVelka();
    KtVelka(const KtVelka&) = delete;
    KtVelka& operator=(const KtVelka&) = delete;

    // Loads the module (nonzero without doing anything while the chain runs).
    // Throws CannotLoadException after a message box when the file cannot be loaded.
    INT_PTR load(const char* moduleFile);
    // Starts the chain at the named export (nonzero, nothing done, while it runs).
    int start(const char* entryName);
    HWND topLevelWindow(BOOL refresh);

    // The one runtime of the process, for the top-level window hook and for
    // scenario modules: kept in KtLIB.dll, so a module sees the host's object.
    static KtVelka* current() { return static_cast<KtVelka*>(KtRuntimeSlot::get()); }

    // Exit codes of the scenario thread.
    static constexpr DWORD chainEnded = 0;
    static constexpr DWORD chainFailed = 256;

    // How long the end of the game waits for each of its threads: the
    // scenario thread to honour quitRequest, the window thread to delete the
    // scenario's windows and to stop. The player has already confirmed.
    static constexpr DWORD endLimitMilliseconds = 5000;

    // Called on the destroying thread when a thread has not ended within
    // the limit; it is expected to end the process. Without one, or when it
    // returns, the threads left are terminated and the module stays loaded.
    using HungEndHandler = void (*)();
    static void setHungEndHandler(HungEndHandler handler);

    HWND topWindow;
    KtWindowHandle host;
    KtEvent windowDone;
    KtEvent inputDone;
    KtEvent menuDone;
    KtEvent quitRequest;
    int waitingForInput;
    int inputMode;
    int inputCode;
    LPARAM inputPosition;
    KtWindow* focusWindow;
    KtThread windowThread;
    int unloading;
    KtCriticalSection lock;
    ContinuationFn continuation;
    KtModule module;
    KtThread scenarioThread;
    KtWindowList windows;
    SYSTEM_INFO systemInfo;
    int appActive;
    int dragging;
    void* registers;
    HWND monitorWindow;
    DWORD spare;   // one word more, never read by the host

private:
    static unsigned __stdcall scenarioThreadMain(void* argument);
    DWORD runChain();
    void callExceptionEntry();
    void finishChain();
    bool releaseModuleObjects();
    bool endScenarioThread();
    bool stopWindowThread();
    void giveUpOnThreads();
    HWND findTopLevel() const;
};
