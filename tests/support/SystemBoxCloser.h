// SystemBoxCloser: closes the dialog boxes that the system itself shows on a thread.
#pragma once
#include <windows.h>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// Boxes of the framework go through KtMessageBox and can be recorded; a box
// that a system control raises by itself cannot, and would stop the test
// thread until answered. While this object lives, a thread of its own looks
// for dialog windows of the watched thread every few milliseconds, notes
// their captions and answers them with OK, so a test can say that none
// appeared instead of hanging.
class SystemBoxCloser {
public:
    explicit SystemBoxCloser(DWORD watchedThread = GetCurrentThreadId());
    ~SystemBoxCloser();
    SystemBoxCloser(const SystemBoxCloser&) = delete;
    SystemBoxCloser& operator=(const SystemBoxCloser&) = delete;

    // Captions of the boxes seen so far, one per box.
    std::vector<std::string> captions() const;

private:
    static DWORD WINAPI watch(void* self);
    static BOOL CALLBACK closeIfBox(HWND window, LPARAM self);

    DWORD watched_;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    mutable std::mutex mutex_;
    std::set<HWND> seen_;
    std::vector<std::string> captions_;
};
