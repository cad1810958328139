// FileDialogDriver: finding the dialog, filling its file-name box and pressing its buttons.
#include "FileDialogDriver.h"
#include <cstring>

namespace {

// The combo box that holds the file name in the Explorer-style dialogs.
constexpr int fileNameCombo = 0x47C;
constexpr DWORD pollMs = 20;

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK takeDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && std::strcmp(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findDescendant(HWND parent, const char* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, className) == 0)
            return child;
        if (HWND inner = findDescendant(child, className))
            return inner;
    }
    return nullptr;
}

}  // namespace

FileDialogDriver::FileDialogDriver(Action action, std::string path, DWORD timeoutMs)
    : action_(action), path_(std::move(path)), timeoutMs_(timeoutMs)
{
    thread_ = std::thread([this] { run(); });
}

FileDialogDriver::~FileDialogDriver()
{
    finish();
}

void FileDialogDriver::finish()
{
    if (thread_.joinable())
        thread_.join();
}

bool FileDialogDriver::answered()
{
    finish();
    return answered_;
}

HWND FileDialogDriver::findDialog()
{
    Search search = {GetCurrentProcessId(), nullptr};
    EnumWindows(takeDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FileDialogDriver::findEdit(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, fileNameCombo);
    return combo ? findDescendant(combo, "Edit") : nullptr;
}

void FileDialogDriver::run()
{
    // A bounded wait for a window that another thread shows: the dialog
    // sends no signal of its own to wait on.
    DWORD start = GetTickCount();
    HWND dialog = nullptr;
    HWND edit = nullptr;
    while (GetTickCount() - start < timeoutMs_) {
        dialog = findDialog();
        edit = dialog ? findEdit(dialog) : nullptr;
        if (dialog && (edit || action_ == Action::cancel))
            break;
        Sleep(pollMs);
    }
    if (!dialog)
        return;
    char caption[256] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    caption_ = caption;
    if (action_ == Action::cancel) {
        answered_ = PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0) != 0;
        return;
    }
    if (!edit) {
        // Never leave the caller stuck in a dialog nobody will answer.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path_.c_str()));
    answered_ = PostMessageA(dialog, WM_COMMAND, IDOK, 0) != 0;
}
