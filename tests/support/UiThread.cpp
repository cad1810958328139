// UiThread: the message loop and the hand-over of work.
#include "UiThread.h"

namespace {

const UINT runMessage = WM_APP + 0x3A;

struct Job {
    const std::function<void()>* work;
    HANDLE done;
};

}  // namespace

UiThread::UiThread()
{
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &UiThread::main, this, 0, &threadId_);
    // Thread messages need the thread's queue: it signals once it has one.
    WaitForSingleObject(ready_, 10000);
}

UiThread::~UiThread()
{
    if (thread_) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        if (WaitForSingleObject(thread_, 10000) != WAIT_OBJECT_0)
            TerminateThread(thread_, 1);
        CloseHandle(thread_);
    }
    CloseHandle(ready_);
}

bool UiThread::run(const std::function<void()>& work, DWORD timeoutMs)
{
    Job job{&work, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool finished = false;
    if (PostThreadMessageA(threadId_, runMessage, 0, reinterpret_cast<LPARAM>(&job)))
        finished = WaitForSingleObject(job.done, timeoutMs) == WAIT_OBJECT_0;
    if (!finished) {
        // The job still points at this frame: the thread must not start it
        // later. Give up on the thread altogether.
        TerminateThread(thread_, 1);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    CloseHandle(job.done);
    return finished;
}

DWORD WINAPI UiThread::main(void* self)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(static_cast<UiThread*>(self)->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == runMessage) {
            Job* job = reinterpret_cast<Job*>(msg.lParam);
            (*job->work)();
            SetEvent(job->done);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
