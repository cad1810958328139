// KtTopLevelHook: force-quit confirmation, input forwarding, activation and focus, monitor requests.
#include "KtTopLevelHook.h"
#include "KtMessage.h"
#include "Diagnostic.h"
#include "KtMessageBox.h"
#include "KtModuleGuard.h"
#include "KtRegisterMonitor.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include <new>

namespace {
// The procedure the hook replaced; the hook passes everything else to it.
WNDPROC volatile savedProcedure = nullptr;
// Process-wide, like the window it describes.
volatile int activation = 1;
// A close that came while this thread was inside a use of the module's
// memory (a Retry box of a save pumps messages): closing then would wait for
// a scenario thread that waits for that use.
volatile bool closeDeferred = false;
}

const char* const KtTopLevelHook::forceQuitText = "ゲームを強制終了します。よろしいですか？";
const char* const KtTopLevelHook::forceQuitCaption = "scenario manager";

HWND KtTopLevelHook::topLevelOf(HWND window)
{
    while (window) {
        HWND parent = GetParent(window);
        if (!parent)
            break;
        window = parent;
    }
    return window;
}

void KtTopLevelHook::install(HWND host)
{
    HWND top = topLevelOf(host);
    if (!top || !IsWindow(top))
        return;
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(top, GWLP_WNDPROC));
    if (current == &KtTopLevelHook::procedure)
        return;
    savedProcedure = current;
    SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KtTopLevelHook::procedure));
}

void KtTopLevelHook::remove(HWND host)
{
    HWND top = topLevelOf(host);
    if (!top || !IsWindow(top) || !savedProcedure)
        return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(top, GWLP_WNDPROC)) != &KtTopLevelHook::procedure)
        return;
    SetWindowLongPtrA(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProcedure));
}

int KtTopLevelHook::activationFlag()
{
    return activation;
}

LRESULT KtTopLevelHook::passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC saved = savedProcedure;
    // CallWindowProcA rather than a plain call: what GetWindowLongPtrA returned
    // may be a thunk for a procedure of the other character set.
    if (!saved)
        return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(saved, window, message, wParam, lParam);
}

LRESULT CALLBACK KtTopLevelHook::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam)
{
    KtVelka* velka = KtVelka::current();
    if (!velka)
        return passOn(window, message, wParam, lParam);
    if (KtRegisterMonitor::isRequest(message))
        return serveMonitor(*velka, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        forwardInput(*velka, wParam, lParam);
        break;
    case WM_ACTIVATEAPP:
        onActivateApp(*velka, window, wParam, lParam);
        break;
    case WM_SETFOCUS:
        onSetFocus(*velka, window);
        break;
    case WM_NCACTIVATE:
        wParam = static_cast<WPARAM>(activation);
        break;
    case WM_COPYDATA:
        if (receiveFromMonitor(*velka, wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam)))
            return 0;
        break;
    case WM_CLOSE:
        if (KtModuleGuard::heldHere()) {
            closeDeferred = true;
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Only the plain close command: one with extra low bits set is not
        // the player's close and goes on unchanged.
        if (wParam == SC_CLOSE) {
            confirmForceQuit(*velka, window);
            return 0;
        }
        break;
    }
    return passOn(window, message, wParam, lParam);
}

// Nothing may unwind out of a window procedure: a failure of a monitor's
// request is shown (a Diagnostic) or dropped (memory exhausted by a record),
// and the game goes on.
LRESULT KtTopLevelHook::serveMonitor(KtVelka& velka, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        result = KtRegisterMonitor::handleRequest(velka, message, wParam, lParam);
    } catch (Diagnostic& diagnostic) {
        diagnostic.show(velka.host.handle);
    } catch (std::bad_alloc&) {
    }
    postDeferredClose(velka);
    return result;
}

bool KtTopLevelHook::receiveFromMonitor(KtVelka& velka, WPARAM sender, const COPYDATASTRUCT* data)
{
    bool consumed = true;
    try {
        consumed = KtRegisterMonitor::receive(velka, sender, data);
    } catch (Diagnostic& diagnostic) {
        diagnostic.show(velka.host.handle);
    } catch (std::bad_alloc&) {
    }
    postDeferredClose(velka);
    return consumed;
}

void KtTopLevelHook::postDeferredClose(KtVelka& velka)
{
    if (!closeDeferred || KtModuleGuard::heldHere())
        return;
    closeDeferred = false;
    PostMessageA(velka.topLevelWindow(FALSE), WM_CLOSE, 0, 0);
}

void KtTopLevelHook::forwardInput(KtVelka& velka, WPARAM wParam, LPARAM lParam)
{
    // The window thread decides whether the input counts (a click arrives
    // with the code 1, which confirmation mode does not accept).
    if (velka.waitingForInput == 1 && velka.windowThread.isRunning())
        PostThreadMessageA(velka.windowThread.threadId, KtMessage::inputEvent, wParam, lParam);
}

void KtTopLevelHook::onActivateApp(KtVelka& velka, HWND window, WPARAM active, LPARAM otherThread)
{
    // Activation moving between this program's own threads is not a change
    // of the application's activation.
    DWORD other = static_cast<DWORD>(otherThread);
    if (other == GetCurrentThreadId() || other == velka.windowThread.threadId)
        return;
    int flag = active ? 1 : 0;
    if (velka.windowThread.isRunning())
        PostThreadMessageA(velka.windowThread.threadId, KtMessage::showPopupsActive, active, 0);
    activation = flag;
    PostMessageA(window, WM_NCACTIVATE, static_cast<WPARAM>(flag), 0);
    velka.appActive = flag;
}

void KtTopLevelHook::onSetFocus(KtVelka& velka, HWND window)
{
    KtWindow* focus = velka.focusWindow;
    if (focus && focus->handle != window && velka.windowThread.isRunning())
        PostThreadMessageA(velka.windowThread.threadId, KtMessage::restoreFocus, 0, 0);
}

void KtTopLevelHook::confirmForceQuit(KtVelka& velka, HWND window)
{
    int answer = KtMessageBox::show(velka.host.handle, forceQuitText, forceQuitCaption,
                                    KtMessageBox::yesNo);
    if (answer != IDYES)
        return;
    if (IsIconic(window))
        ShowWindow(window, SW_SHOWNORMAL);
    velka.quitRequest.signal();
}
