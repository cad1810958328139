// UiThread: a second thread with a message loop, to own windows while the test thread drives them.
#pragma once
#include <windows.h>
#include <functional>

// Windows made inside run() belong to this thread, which keeps dispatching
// their messages (and so reads the X server's input) while the test thread
// is busy: the layout of the real program, where the window thread paints
// and the scenario thread draws. run() waits for its work with a time limit.
class UiThread {
public:
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Runs work on the thread; false when it did not finish within timeoutMs.
    bool run(const std::function<void()>& work, DWORD timeoutMs = 20000);
    DWORD threadId() const { return threadId_; }

private:
    static DWORD WINAPI main(void* self);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
};
