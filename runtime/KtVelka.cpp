// KtVelka: module loading, the scenario thread's chain of steps, and orderly teardown.
#include "KtVelka.h"
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtLibrarySearch.h"
#include "KtMessageBox.h"
#include "KtModuleGuard.h"
#include "KtModulePath.h"
#include "KtRegisterMonitor.h"
#include "KtString.h"
#include "KtTopLevelHook.h"
#include "KtWindowRegistry.h"
#include "KtWindowThread.h"
#include "KtLayoutCheck.h"
#include <cstddef>

KtVelka::KtVelka(HWND hostWindow)
    : topWindow(nullptr), waitingForInput(0), inputMode(0), inputCode(0),
      inputPosition(0), focusWindow(nullptr), unloading(0), continuation(nullptr), appActive(0),
      dragging(0), registers(nullptr), monitorWindow(nullptr)
{
    host.handle = hostWindow;
    GetSystemInfo(&systemInfo);
    windowDone.create(TRUE, TRUE);
    inputDone.create(TRUE, TRUE);
    menuDone.create(TRUE, TRUE);
    quitRequest.create(TRUE, FALSE);
    windowThread.start(&KtWindowThread::main, this, CREATE_SUSPENDED);
    KtModuleGuard::open();
    KtRuntimeSlot::set(this);
    KtTopLevelHook::install(hostWindow);
    windowThread.resume();
    // The module may post its first request as soon as it runs; a thread
    // message posted before the window thread has its queue would be lost.
    KtWindowThread::waitUntilReady(windowThread);
}

namespace {
KtVelka::HungEndHandler hungEndHandler = nullptr;
}  // namespace

void KtVelka::setHungEndHandler(HungEndHandler handler)
{
    hungEndHandler = handler;
}

// The scenario's windows (and what the module attached to them) go before
// the module is freed at the end of the chain; what is left here comes from
// a chain that has not ended, or from tests that never started one.
KtVelka::~KtVelka()
{
    KtTopLevelHook::remove(host.handle);
    bool ended = endScenarioThread();
    ended = stopWindowThread() && ended;
    if (ended) {
        KtWindowRegistry::destroyAll(*this);
        scenarioThread.close();
        module.free();
    } else {
        giveUpOnThreads();
    }
    KtRuntimeSlot::clear(this);
}

bool KtVelka::endScenarioThread()
{
    if (!scenarioThread.isRunning())
        return true;
    if (waitingForInput == 1) {
        inputDone.signal();
        waitingForInput = 0;
    }
    quitRequest.signal();
    // The ending chain may show a box owned by the host window, wait for
    // the window thread, or for the hook to finish with the module's
    // registers: all of them need this thread to answer.
    return KtWindowThread::waitAnsweringSentMessages(scenarioThread, endLimitMilliseconds)
           != WAIT_TIMEOUT;
}

bool KtVelka::stopWindowThread()
{
    if (!windowThread.isRunning())
        return true;
    return KtWindowThread::stop(windowThread, endLimitMilliseconds);
}

// Only when nobody ends the process: the stuck threads are terminated (their
// windows go with them). The registry is not walked under a lock that a
// terminated thread may have held, and the module stays loaded, since code
// of it may still run on threads of its own.
void KtVelka::giveUpOnThreads()
{
    if (hungEndHandler)
        hungEndHandler();
    scenarioThread.close();
    windowThread.close();
    module.handle = nullptr;
}

INT_PTR KtVelka::load(const char* moduleFile)
{
    if (scenarioThread.isRunning())
        return 1;
    module.free();
    // By absolute path: the current directory is no part of the DLL search.
    KtString path = KtModulePath::resolve(moduleFile);
    if (module.load(path.text(), KtLibrarySearch::moduleFlags()))
        return reinterpret_cast<INT_PTR>(module.handle);

    KtString text(moduleFile);
    text.append("がロードできません");
    KtMessageBox::show(nullptr, text.text(), "KtString class", KtMessageBox::notice);
    throw CannotLoadException("KtVelka - load", text.text());
}

int KtVelka::start(const char* entryName)
{
    if (scenarioThread.isRunning())
        return 1;
    continuation = nullptr;
    KtModuleGuard::open();
    if (module.handle && entryName)
        continuation = reinterpret_cast<ContinuationFn>(module.procAddress(entryName));
    return scenarioThread.start(&KtVelka::scenarioThreadMain, this, 0) != nullptr;
}

HWND KtVelka::topLevelWindow(BOOL refresh)
{
    if (topWindow && !refresh)
        return topWindow;
    topWindow = findTopLevel();
    return topWindow;
}

HWND KtVelka::findTopLevel() const
{
    HWND window = host.handle;
    while (window) {
        HWND parent = GetParent(window);
        if (!parent)
            break;
        window = parent;
    }
    return window;
}

unsigned __stdcall KtVelka::scenarioThreadMain(void* argument)
{
    return static_cast<KtVelka*>(argument)->runChain();
}

DWORD KtVelka::runChain()
{
    DWORD exitCode = chainEnded;
    try {
        ContinuationFn step = continuation;
        while (step) {
            step = reinterpret_cast<ContinuationFn>(step(this));
            // A stop message in the thread's own queue ends the chain after
            // the current step; any other message found there is dropped.
            MSG message;
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && !message.hwnd
                && message.message == KtMessage::endScenario)
                step = nullptr;
        }
        registers = nullptr;
        unloading = 1;
    } catch (Diagnostic& diagnostic) {
        registers = nullptr;
        unloading = 1;
        callExceptionEntry();
        diagnostic.show(host.handle);
        exitCode = chainFailed;
    }
    finishChain();
    return exitCode;
}

void KtVelka::callExceptionEntry()
{
    if (!module.handle)
        return;
    auto entry = reinterpret_cast<ContinuationFn>(module.procAddress("EXCEPTION_ENTRY"));
    if (entry)
        entry(this);
}

// The hook and the window thread may still be working in the module's
// memory (a save with its Retry box open, a menu request): the module is
// freed only once they are done, and requests still queued for the window
// thread are dropped until it sees that the module has gone. Before that,
// everything that can call into the module goes: the scenario's windows,
// the objects the module attached to them, the threads it runs on them.
// Input stays off (unloading) until the module is gone. When the windows
// could not be released in time the module stays loaded: a callback of it
// may still be running.
void KtVelka::finishChain()
{
    KtModuleGuard::close();
    if (releaseModuleObjects())
        module.free();
    if (windowThread.isRunning())
        PostThreadMessageA(windowThread.threadId, KtMessage::moduleReleased, 0, 0);
    unloading = 0;
    HWND monitor = monitorWindow;
    if (monitor) {
        KtRegisterMonitor::sendToMonitor(monitor, KtMessage::monitorDetach, 0, 0);
        monitorWindow = nullptr;
    }
    PostMessageA(host.handle, KtMessage::scenarioEnded, 0, 0);
}

// The windows belong to the window thread; once it has ended they are gone
// with it and only the objects are left to delete.
bool KtVelka::releaseModuleObjects()
{
    if (windowThread.isRunning())
        return KtWindowThread::releaseWindows(windowThread, endLimitMilliseconds);
    KtWindowRegistry::destroyAll(*this);
    return true;
}

// The module reads these fields by position.
#ifndef _WIN64
static_assert(offsetof(KtVelka, topWindow) == 4, "topWindow follows the vtable");
static_assert(offsetof(KtVelka, host) == 8, "host");
static_assert(offsetof(KtVelka, windowDone) == 28, "windowDone");
static_assert(offsetof(KtVelka, inputDone) == 36, "inputDone");
static_assert(offsetof(KtVelka, menuDone) == 44, "menuDone");
static_assert(offsetof(KtVelka, quitRequest) == 52, "quitRequest");
static_assert(offsetof(KtVelka, waitingForInput) == 60, "waitingForInput");
static_assert(offsetof(KtVelka, inputMode) == 64, "inputMode");
static_assert(offsetof(KtVelka, inputCode) == 68, "inputCode");
static_assert(offsetof(KtVelka, inputPosition) == 72, "inputPosition");
static_assert(offsetof(KtVelka, focusWindow) == 76, "focusWindow");
static_assert(offsetof(KtVelka, windowThread) == 80, "windowThread");
static_assert(offsetof(KtVelka, unloading) == 96, "unloading");
static_assert(offsetof(KtVelka, lock) == 100, "lock");
static_assert(offsetof(KtVelka, continuation) == 128, "continuation");
static_assert(offsetof(KtVelka, module) == 132, "module");
static_assert(offsetof(KtVelka, scenarioThread) == 140, "scenarioThread");
static_assert(offsetof(KtVelka, windows) == 156, "windows");
static_assert(offsetof(KtVelka, systemInfo) == 168, "systemInfo");
static_assert(offsetof(KtVelka, appActive) == 204, "appActive");
static_assert(offsetof(KtVelka, dragging) == 208, "dragging");
static_assert(offsetof(KtVelka, registers) == 212, "registers");
static_assert(offsetof(KtVelka, monitorWindow) == 216, "monitorWindow");
static_assert(sizeof(KtVelka) == 224, "the object with its spare word");
#else
static_assert(ktFieldsInOrder({offsetof(KtVelka, topWindow), offsetof(KtVelka, host),
                               offsetof(KtVelka, windowDone), offsetof(KtVelka, inputDone),
                               offsetof(KtVelka, menuDone), offsetof(KtVelka, quitRequest),
                               offsetof(KtVelka, waitingForInput), offsetof(KtVelka, inputMode),
                               offsetof(KtVelka, inputCode), offsetof(KtVelka, inputPosition),
                               offsetof(KtVelka, focusWindow), offsetof(KtVelka, windowThread),
                               offsetof(KtVelka, unloading), offsetof(KtVelka, lock),
                               offsetof(KtVelka, continuation), offsetof(KtVelka, module),
                               offsetof(KtVelka, scenarioThread), offsetof(KtVelka, windows),
                               offsetof(KtVelka, systemInfo), offsetof(KtVelka, appActive),
                               offsetof(KtVelka, dragging), offsetof(KtVelka, registers),
                               offsetof(KtVelka, monitorWindow), offsetof(KtVelka, spare)}),
              "the fields in the order modules read them");
#endif
