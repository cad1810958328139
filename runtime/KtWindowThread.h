// KtWindowThread: the thread that owns every scenario window, serves the module's requests and collects input.
#pragma once
#include "KtWindowMover.h"
#include <deque>
#include <windows.h>

class Diagnostic;
class KtThread;
class KtVelka;

// One per KtVelka, for the object's whole life. Every scenario window is
// made on this thread, so its loop pumps them all. The module's requests
// arrive as thread messages (KtMessage.h) and are answered by setting the
// events of KtVelka. Keys and clicks on scenario windows, and those that the
// top-level window forwards as 0x46F, are collected here while the module
// waits for one input.
class KtWindowThread {
public:
    // Thread procedure; the argument is the KtVelka that owns the thread.
    static unsigned __stdcall main(void* argument);

    // Posts a thread message to a thread that may not have made its message
    // queue yet (PostThreadMessageA fails until it has). Gives up when the
    // thread has ended. Returns whether the message was posted.
    static bool postWhenReady(KtThread& thread, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Returns once the thread can take thread messages (or has ended).
    static void waitUntilReady(KtThread& thread);

    // Posts the stop message and waits for the thread to end, serving
    // messages the thread sends to the caller's windows. A modal loop on
    // the thread (a popup menu, the move loop) keeps the message until it
    // returns, so such loops are cancelled and the message is posted again
    // from time to time. Returns whether the thread ended within the limit.
    static bool stop(KtThread& thread, DWORD milliseconds = INFINITE);

    // Has the thread delete every registered window and waits, as stop
    // does, until it has. False when the thread could not be asked or did
    // not answer within the limit; its answer may then still come later.
    static bool releaseWindows(KtThread& thread, DWORD milliseconds);

    // Waits for the thread to end while answering messages sent to the
    // caller's windows; WAIT_TIMEOUT when it still runs.
    static DWORD waitAnsweringSentMessages(KtThread& thread, DWORD milliseconds);

private:
    explicit KtWindowThread(KtVelka& velka);
    unsigned run();
    void handle(const MSG& message);

    // --- Thread messages ----------------------------------------------------
    // Returns false for messages that go on to be dispatched.
    bool serveRequest(const MSG& message);
    void createWindow(WPARAM resultSlot, LPARAM record);
    void destroyWindow(WPARAM name);
    void destroyAllWindows();
    void setCursor(WPARAM cursorObject);
    void passActivation(WPARAM wParam, LPARAM lParam);
    void showPopupsActive(int flag);
    void restoreFocus();
    void recordInput(WPARAM code, LPARAM position);

    // --- Window messages ----------------------------------------------------
    // Returns false when the message must not be dispatched.
    bool watchWindowMessage(const MSG& message);
    void postInput(int code, LPARAM position);
    void leftButtonDown(const MSG& message, bool& dispatch);
    void leftButtonUp(const MSG& message);

    // A diagnostic that nothing else catches on this thread: shown, then the
    // scenario is ended after its current step and every wait is released.
    void abandonScenario(Diagnostic& diagnostic);

    static bool isInputMessage(UINT message);
    // WH_MSGFILTER of this thread: keeps the thread messages a modal loop takes.
    static LRESULT CALLBACK modalLoopFilter(int code, WPARAM wParam, LPARAM lParam);
    // A diagnostic that a window procedure of this thread let out.
    static void diagnosticInWindow(HWND window, Diagnostic& diagnostic);

    KtVelka& velka_;
    int running_;
    KtWindowMover mover_;
    // Thread messages taken by a modal loop, served before the queue.
    std::deque<MSG> deferred_;
};
