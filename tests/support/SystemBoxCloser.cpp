// SystemBoxCloser: the watching thread and what it does with a box.
#include "SystemBoxCloser.h"

namespace {
constexpr DWORD lookEvery = 20;
constexpr DWORD stopWithin = 5000;
}  // namespace

SystemBoxCloser::SystemBoxCloser(DWORD watchedThread) : watched_(watchedThread)
{
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &SystemBoxCloser::watch, this, 0, nullptr);
}

SystemBoxCloser::~SystemBoxCloser()
{
    SetEvent(stop_);
    WaitForSingleObject(thread_, stopWithin);
    CloseHandle(thread_);
    CloseHandle(stop_);
}

std::vector<std::string> SystemBoxCloser::captions() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return captions_;
}

// The stop event paces the looks: it ends the wait at once when set.
DWORD WINAPI SystemBoxCloser::watch(void* self)
{
    auto* closer = static_cast<SystemBoxCloser*>(self);
    while (WaitForSingleObject(closer->stop_, lookEvery) == WAIT_TIMEOUT)
        EnumThreadWindows(closer->watched_, &SystemBoxCloser::closeIfBox, reinterpret_cast<LPARAM>(closer));
    return 0;
}

BOOL CALLBACK SystemBoxCloser::closeIfBox(HWND window, LPARAM self)
{
    auto* closer = reinterpret_cast<SystemBoxCloser*>(self);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    {
        std::lock_guard<std::mutex> guard(closer->mutex_);
        if (closer->seen_.insert(window).second) {
            char caption[128] = {};
            GetWindowTextA(window, caption, sizeof caption);
            closer->captions_.push_back(caption);
        }
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}
