// main: entry point of the setup tool KtConfig.exe.
#include "SetupDialog.h"
#include "SetupKey.h"
#include "SetupOptions.h"
#include "SystemDrives.h"
#include <windows.h>
#include <string>

namespace {

// The host recognises a running setup tool by this caption; the dialog
// template carries the same text.
const char* const setupCaption = "ＰＯＭＥＬＯ セットアップ";

enum ExitCode { saved = 0, cancelled = 1, badCommandLine = 2, registryFailed = 3, noDialog = 4 };

// A GUI program has no console; the message reaches whoever started the
// tool with a standard error handle (scripts, tests) and is lost otherwise.
void report(const std::string& message)
{
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err == nullptr || err == INVALID_HANDLE_VALUE)
        return;
    std::string line = "KtConfig: " + message + "\n";
    DWORD written = 0;
    WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int runAutomatic(const SetupKey& key, const SetupOptions& options, const DriveList& drives)
{
    SetupValues values;
    values.drive = drives.firstCdrom();
    options.applyTo(values);
    if (!key.save(values)) {
        report("cannot write the settings");
        return registryFailed;
    }
    return saved;
}

int runDialog(HINSTANCE instance, const SetupKey& key, const SetupOptions& options, const DriveList& drives)
{
    // A second start only brings the open dialog forward.
    if (HWND open = FindWindowA(nullptr, setupCaption)) {
        SetForegroundWindow(open);
        return cancelled;
    }
    SetupValues values = key.load();
    if (!key.isSetUp() && values.drive.empty())
        values.drive = drives.firstCdrom();
    options.applyTo(values);

    SetupDialog dialog(values, drives);
    INT_PTR answer = dialog.run(instance);
    if (answer == IDOK) {
        if (key.save(dialog.values()))
            return saved;
        report("cannot write the settings");
        return registryFailed;
    }
    // Closing without OK keeps a set-up product as it was and records a new
    // one as "never set up", so the host knows the tool has run.
    key.markUnsetIfAbsent();
    if (answer == -1) {
        report("cannot show the dialog");
        return noDialog;
    }
    return cancelled;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    SetupOptions options;
    if (!options.parse(commandLine)) {
        report(options.error());
        return badCommandLine;
    }
    SetupKey key;
    LONG rc = key.open(options.keyPath());
    if (rc != ERROR_SUCCESS) {
        report("cannot open HKEY_CURRENT_USER\\" + options.keyPath() + " (error " + std::to_string(rc) + ")");
        return registryFailed;
    }
    DriveList drives = SystemDrives::scan();
    return options.automatic() ? runAutomatic(key, options, drives)
                               : runDialog(instance, key, options, drives);
}
