// FileDialogDriver: answers the next common file dialog of this process from a thread of its own.
#pragma once
#include <windows.h>
#include <string>
#include <thread>

// Waits (at most timeoutMs) for a visible dialog of this process, then
// either types a path into its file-name box and presses OK, or cancels it.
// Start it before the call that shows the dialog; the destructor waits for
// the thread, which gives up by itself after the time limit.
class FileDialogDriver {
public:
    enum class Action { choose, cancel };

    FileDialogDriver(Action action, std::string path = std::string(), DWORD timeoutMs = 20000);
    ~FileDialogDriver();
    FileDialogDriver(const FileDialogDriver&) = delete;
    FileDialogDriver& operator=(const FileDialogDriver&) = delete;

    // After the call that showed the dialog has returned: did the driver
    // find the dialog (and, for choose, its file-name box)?
    bool answered();
    // The dialog's caption as found.
    const std::string& caption() { finish(); return caption_; }

private:
    void run();
    void finish();
    static HWND findDialog();
    static HWND findEdit(HWND dialog);

    Action action_;
    std::string path_;
    DWORD timeoutMs_;
    bool answered_ = false;
    std::string caption_;
    std::thread thread_;
};
