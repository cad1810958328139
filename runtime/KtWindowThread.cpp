// KtWindowThread: the window thread's loop, its requests and the input it collects.
#include "KtWindowThread.h"
#include "Diagnostic.h"
#include "KtWindow.h"
#include "KtInputRules.h"
#include "KtMessage.h"
#include "KtModuleGuard.h"
#include "KtPopupMenuRequest.h"
#include "KtPopupViewport.h"
#include "KtSentMessageWait.h"
#include "KtThread.h"
#include "KtVelka.h"
#include "KtWindowRegistry.h"
#include "KtWindowRequests.h"

namespace {
constexpr int popupViewportType = 6;
constexpr DWORD stopRepostMilliseconds = 500;
}  // namespace

KtWindowThread::KtWindowThread(KtVelka& velka) : velka_(velka), running_(1), mover_(velka)
{
}

unsigned __stdcall KtWindowThread::main(void* argument)
{
    KtWindowThread thread(*static_cast<KtVelka*>(argument));
    return thread.run();
}

bool KtWindowThread::postWhenReady(KtThread& thread, UINT message, WPARAM wParam, LPARAM lParam)
{
    while (thread.isRunning()) {
        if (PostThreadMessageA(thread.threadId, message, wParam, lParam))
            return true;
        // The queue does not exist yet: give the thread a moment to make it.
        thread.wait(5);
    }
    return false;
}

// WM_NULL as a thread message is dispatched to no window and changes nothing.
void KtWindowThread::waitUntilReady(KtThread& thread)
{
    postWhenReady(thread, WM_NULL);
}

namespace {
// A popup menu or a window move runs a modal loop that drops thread messages:
// cancel it, so that the stop message is seen.
BOOL CALLBACK cancelModalLoop(HWND window, LPARAM)
{
    PostMessageA(window, WM_CANCELMODE, 0, 0);
    return TRUE;
}
}  // namespace

// Scenario windows may be children of the caller's windows (the scenario
// host window): destroying them sends the parent WM_PARENTNOTIFY and waits
// for the answer. The caller therefore answers sent messages while it waits;
// posted messages stay in its queue.
DWORD KtWindowThread::waitAnsweringSentMessages(KtThread& thread, DWORD milliseconds)
{
    return KtSentMessageWait::forObject(thread.handle, milliseconds);
}

namespace {
// What is left of a limit that started at `start`; INFINITE stays so.
DWORD remaining(DWORD start, DWORD milliseconds)
{
    if (milliseconds == INFINITE)
        return INFINITE;
    DWORD spent = GetTickCount() - start;
    return spent >= milliseconds ? 0 : milliseconds - spent;
}
}  // namespace

bool KtWindowThread::stop(KtThread& thread, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (postWhenReady(thread, KtMessage::stop)) {
        DWORD left = remaining(start, milliseconds);
        DWORD slice = left < stopRepostMilliseconds ? left : stopRepostMilliseconds;
        if (waitAnsweringSentMessages(thread, slice) != WAIT_TIMEOUT)
            return true;
        if (remaining(start, milliseconds) == 0)
            return false;
        EnumThreadWindows(thread.threadId, &cancelModalLoop, 0);
    }
    return true;
}

// The event is left open when the answer does not come in time: the
// thread may still set it afterwards.
bool KtWindowThread::releaseWindows(KtThread& thread, DWORD milliseconds)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done)
        return false;
    if (!postWhenReady(thread, KtMessage::releaseWindows, reinterpret_cast<WPARAM>(done))) {
        CloseHandle(done);
        return false;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = remaining(start, milliseconds);
        DWORD slice = left < stopRepostMilliseconds ? left : stopRepostMilliseconds;
        if (KtSentMessageWait::forObject(done, slice) == WAIT_OBJECT_0) {
            CloseHandle(done);
            return true;
        }
        if (remaining(start, milliseconds) == 0 || !thread.isRunning())
            return false;
        EnumThreadWindows(thread.threadId, &cancelModalLoop, 0);
    }
}

// The result of GetMessageA is not looked at: only the stop message ends
// the loop, so a stray WM_QUIT cannot leave the module's requests unserved.
namespace {
// The window thread running on this thread, if any: window procedures of
// scenario windows run here, and their diagnostics end the scenario.
thread_local KtWindowThread* windowThreadHere = nullptr;
}

void KtWindowThread::diagnosticInWindow(HWND window, Diagnostic& diagnostic)
{
    if (windowThreadHere)
        windowThreadHere->abandonScenario(diagnostic);
    else
        diagnostic.show(GetAncestor(window, GA_ROOT));
}

unsigned KtWindowThread::run()
{
    windowThreadHere = this;
    KtWindow::setDiagnosticHandler(&KtWindowThread::diagnosticInWindow);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);   // makes the queue
    HHOOK filter = SetWindowsHookExA(WH_MSGFILTER, &KtWindowThread::modalLoopFilter, nullptr,
                                     GetCurrentThreadId());
    while (running_) {
        if (!deferred_.empty()) {
            message = deferred_.front();
            deferred_.pop_front();
        } else {
            GetMessageA(&message, nullptr, 0, 0);
        }
        try {
            handle(message);
        } catch (Diagnostic& diagnostic) {
            abandonScenario(diagnostic);
        }
    }
    if (filter)
        UnhookWindowsHookEx(filter);
    return 0;
}

// A modal loop on this thread (the window move, a popup menu, a message box)
// dispatches thread messages to no window, which drops them. The filter is
// called for every message such a loop takes: requests are kept, in order,
// and served once the loop has returned.
LRESULT CALLBACK KtWindowThread::modalLoopFilter(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && windowThreadHere && message && !message->hwnd
        && message->message != WM_QUIT) {
        windowThreadHere->deferred_.push_back(*message);
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void KtWindowThread::handle(const MSG& message)
{
    if (velka_.unloading && isInputMessage(message.message))
        return;   // the module is going away: nobody waits for this input
    bool dispatch = message.hwnd ? watchWindowMessage(message) : !serveRequest(message);
    if (!dispatch)
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

bool KtWindowThread::isInputMessage(UINT message)
{
    return (message >= WM_KEYFIRST && message <= 0x108) || (message >= 0x200 && message <= 0x209);
}

bool KtWindowThread::serveRequest(const MSG& message)
{
    switch (message.message) {
    case KtMessage::stop:
        running_ = 0;
        destroyAllWindows();
        return true;
    case KtMessage::createWindow:
        createWindow(message.wParam, message.lParam);
        return true;
    case KtMessage::destroyWindow:
        destroyWindow(message.wParam);
        return true;
    case KtMessage::destroyAllWindows:
        destroyAllWindows();
        return true;
    case KtMessage::setCursor:
        setCursor(message.wParam);
        return true;
    case KtMessage::passActivation:
        passActivation(message.wParam, message.lParam);
        return true;
    case KtMessage::showPopupsActive:
        showPopupsActive(static_cast<int>(message.wParam));
        return true;
    case KtMessage::popupMenu:
        KtPopupMenuRequest::serve(velka_, reinterpret_cast<KtPopupMenuRequest*>(message.wParam));
        return true;
    case KtMessage::startInput:
        velka_.waitingForInput = 1;
        return true;
    case KtMessage::inputEvent:
        recordInput(message.wParam, message.lParam);
        return true;
    case KtMessage::restoreFocus:
        restoreFocus();
        return true;
    case KtMessage::releaseWindows:
        destroyAllWindows();
        SetEvent(reinterpret_cast<HANDLE>(message.wParam));
        return true;
    case KtMessage::moduleReleased:
        // Everything queued before this came from the module that is gone.
        KtModuleGuard::open();
        return true;
    default:
        return false;
    }
}

void KtWindowThread::destroyAllWindows()
{
    KtWindowRegistry::destroyAll(velka_);
}

// The record, the result slot, the name and the cursor object of the next
// three requests live in the module: they are touched only while it is there.
void KtWindowThread::createWindow(WPARAM resultSlot, LPARAM record)
{
    {
        KtModuleGuard::Use use;
        if (use)
            KtWindowRequests::create(velka_, reinterpret_cast<void*>(resultSlot),
                                     reinterpret_cast<const void*>(record));
    }
    velka_.windowDone.signal();
}

void KtWindowThread::destroyWindow(WPARAM name)
{
    KtModuleGuard::Use use;
    if (use)
        KtWindowRequests::destroyByName(velka_, reinterpret_cast<const char*>(name));   // sets windowDone
    else
        velka_.windowDone.signal();
}

void KtWindowThread::setCursor(WPARAM cursorObject)
{
    KtModuleGuard::Use use;
    const KtCursor* cursor = reinterpret_cast<const KtCursor*>(cursorObject);
    if (use && cursor)
        SetCursor(cursor->handle());
}

void KtWindowThread::passActivation(WPARAM wParam, LPARAM lParam)
{
    HWND top = velka_.topLevelWindow(TRUE);
    if (top)
        PostMessageA(top, WM_ACTIVATEAPP, wParam, lParam);
}

void KtWindowThread::showPopupsActive(int flag)
{
    KtCriticalSection::Hold hold(velka_.lock);
    KtObjectNode* node = velka_.windows.first();
    for (int i = 0; i < velka_.windows.count; ++i, node = node->next) {
        KtWindow* window = static_cast<KtWindow*>(static_cast<KtWindowHandle*>(node->object));
        if (!window || window->windowType() != popupViewportType)
            continue;
        KtPopupViewport* popup = static_cast<KtPopupViewport*>(window);
        popup->setAlwaysActive(flag);
        if (popup->alive())
            SendMessageA(popup->handle, WM_NCACTIVATE, flag, 0);
    }
}

void KtWindowThread::restoreFocus()
{
    KtWindow* focus = velka_.focusWindow;
    if (focus && focus->alive() && GetFocus() != focus->handle)
        SetFocus(focus->handle);
}

void KtWindowThread::recordInput(WPARAM code, LPARAM position)
{
    if (velka_.waitingForInput != 1)
        return;
    KtInputRules::Outcome outcome = KtInputRules::record(velka_.inputMode, static_cast<int32_t>(code));
    velka_.inputCode = outcome.storedCode;
    velka_.inputPosition = position;
    if (!outcome.endsWait)
        return;
    velka_.waitingForInput = 0;
    velka_.inputDone.signal();
}

bool KtWindowThread::watchWindowMessage(const MSG& message)
{
    bool dispatch = true;
    switch (message.message) {
    case WM_KEYDOWN:
        if (velka_.waitingForInput == 1)
            postInput(static_cast<int>(message.wParam), message.lParam);
        break;
    case WM_LBUTTONDOWN:
        leftButtonDown(message, dispatch);
        break;
    case WM_MOUSEMOVE:
        mover_.mouseMoved(message.lParam);
        break;
    case WM_TIMER:
        mover_.timerFired(message.hwnd, message.wParam);
        break;
    case WM_LBUTTONUP:
        leftButtonUp(message);
        break;
    case WM_RBUTTONDOWN:
        if (velka_.waitingForInput == 1) {
            KtInputRules::Event event = KtInputRules::rightButton(velka_.inputMode, message.lParam);
            postInput(event.code, event.position);
        }
        break;
    default:
        break;
    }
    return dispatch;
}

// Input goes through this thread's own queue, like the input the top-level
// window forwards, so that all of it is recorded in one place and order.
void KtWindowThread::postInput(int code, LPARAM position)
{
    PostThreadMessageA(GetCurrentThreadId(), KtMessage::inputEvent, code, position);
}

void KtWindowThread::leftButtonDown(const MSG& message, bool& dispatch)
{
    if (mover_.press(message.hwnd, message.lParam)) {
        dispatch = false;   // held back until we know it is not a move
        return;
    }
    if (velka_.waitingForInput == 1) {
        KtInputRules::Event event = KtInputRules::leftButton(velka_.inputMode, message.lParam);
        postInput(event.code, event.position);
    }
}

// The window sees the press it was denied right before the release, as if
// nothing had been held back.
void KtWindowThread::leftButtonUp(const MSG& message)
{
    if (!mover_.release())
        return;
    if (velka_.waitingForInput == 1) {
        KtInputRules::Event event = KtInputRules::leftButton(velka_.inputMode, message.lParam);
        postInput(event.code, event.position);
    }
    SendMessageA(message.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, message.lParam);
}

// The scenario thread may be blocked on any of the events, waiting for an
// answer that will never come; the box is shown first, while nothing else
// on this thread can take the stop message away from a later shutdown.
void KtWindowThread::abandonScenario(Diagnostic& diagnostic)
{
    diagnostic.show(velka_.host.handle);
    if (velka_.scenarioThread.isRunning())
        PostThreadMessageA(velka_.scenarioThread.threadId, KtMessage::endScenario, 0, 0);
    velka_.quitRequest.signal();
    if (velka_.waitingForInput == 1) {
        velka_.waitingForInput = 0;
        velka_.inputDone.signal();
    }
    velka_.windowDone.signal();
    velka_.menuDone.signal();
}
