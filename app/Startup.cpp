// Startup: single instance, setup checks, screen saver, application window, and the way back.
#include "Startup.h"
#include "Diagnostic.h"
#include "EmergencyExit.h"
#include "KtMessageBox.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "MainWindow.h"
#include "ProductNames.h"
#include <cstring>
#include <new>

namespace {

class InstanceEvent {
public:
    InstanceEvent() : handle(CreateEventA(nullptr, TRUE, TRUE, ProductNames::title)),
                      existed(GetLastError() == ERROR_ALREADY_EXISTS) {}
    ~InstanceEvent() { if (handle) CloseHandle(handle); }
    InstanceEvent(const InstanceEvent&) = delete;
    InstanceEvent& operator=(const InstanceEvent&) = delete;
    HANDLE handle;
    bool existed;
};

// Switches the screen saver off for the run and back on at the end, when it
// was on at the start.
class ScreenSaverPause {
public:
    ScreenSaverPause()
    {
        BOOL active = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        wasActive_ = active != FALSE;
        if (wasActive_)
            SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);
        EmergencyExit::setScreenSaverPaused(wasActive_);
    }
    ~ScreenSaverPause()
    {
        EmergencyExit::setScreenSaverPaused(false);
        if (!wasActive_)
            return;
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
        // Reading the setting back waits until the display has taken it; the
        // X11 driver of Wine otherwise may still hold the change in its
        // buffer when the process ends, and the change is lost.
        BOOL active = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    }
    ScreenSaverPause(const ScreenSaverPause&) = delete;
    ScreenSaverPause& operator=(const ScreenSaverPause&) = delete;

private:
    bool wasActive_;
};

// The configured screen mode for as long as the object lives, also when an
// exception leaves the run.
class ScreenModeSwitch {
public:
    explicit ScreenModeSwitch(MainWindow& window) : window_(window)
    {
        window_.setScreenMode();
        EmergencyExit::setDisplayModeChanged(window_.modeChanged != 0);
    }
    ~ScreenModeSwitch()
    {
        window_.restoreScreenMode();
        EmergencyExit::setDisplayModeChanged(false);
    }
    ScreenModeSwitch(const ScreenModeSwitch&) = delete;
    ScreenModeSwitch& operator=(const ScreenModeSwitch&) = delete;

private:
    MainWindow& window_;
};

HWND findSetupTool()
{
    return FindWindowA(nullptr, ProductNames::setupToolCaption);
}

DWORD readSetupMode()
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey, KtRegistryNames::productKeyOptions);
    return product.getInt(KtRegistryNames::setupMode, 0);
}

}  // namespace

Startup::Startup(HINSTANCE instance, char* commandLine, int showCommand)
    : instance_(instance), commandLine_(commandLine), showCommand_(showCommand)
{
}

int Startup::run()
{
    EmergencyExit::install();
    InstanceEvent instanceEvent;
    if (!instanceEvent.handle || instanceEvent.existed) {
        // A second copy only brings the first one to the front.
        if (HWND first = FindWindowA(ProductNames::windowClass, ProductNames::title))
            SetForegroundWindow(first);
        return 0;
    }
    if (setupToolIsOpen())
        return 0;
    if (!ensureSetUp())
        return 0;
    ScreenSaverPause screenSaver;
    return runGuarded([this] { return runApplication(); });
}

int Startup::runGuarded(const std::function<int()>& body)
{
    try {
        return body();
    } catch (CannotLoadException&) {
        // The module loader has already told the user.
        return cannotLoadExitCode;
    } catch (Diagnostic& diagnostic) {
        diagnostic.show(nullptr);
        return failedExitCode;
    } catch (std::bad_alloc&) {
        return failedExitCode;
    } catch (...) {
        return failedExitCode;
    }
}

bool Startup::setupToolIsOpen()
{
    HWND setupTool = findSetupTool();
    if (!setupTool)
        return false;
    KtMessageBox::show(setupTool,
                       "セットアップ起動中は、ゲームを開始できません。\n"
                       "セットアップを終了させてから実行してください。",
                       "ＰＯＭＥＬＯ execute manager - warning", KtMessageBox::notice);
    return true;
}

// Runs the setup tool when the product is not set up. Returns false when the
// setup tool turned out to be open already (it is brought to the front).
bool Startup::ensureSetUp()
{
    if (readSetupMode() == 1)
        return true;
    if (HWND setupTool = findSetupTool()) {
        SetForegroundWindow(setupTool);
        return false;
    }
    runAndWait(ProductNames::setupTool, "");
    return true;
}

int Startup::runApplication()
{
    MainWindow window(instance_, commandLine_, showCommand_);
    if (!checkSetup())
        return 0;
    ScreenModeSwitch screenMode(window);
    if (!window.create())
        return 0;
    return window.run();
}

DWORD Startup::runAndWait(const char* program, const char* commandLine)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    // CreateProcessA may write into the command line.
    char line[MAX_PATH * 2] = {};
    if (commandLine)
        std::strncpy(line, commandLine, sizeof line - 1);
    if (!CreateProcessA(program, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 0;
    CloseHandle(process.hThread);
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_FAILED)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return exitCode;
}

int Startup::checkSetup()
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey, KtRegistryNames::productKeyOptions);
    switch (product.getInt(KtRegistryNames::setupMode, 0)) {
    case 0:
        KtMessageBox::show(nullptr,
                           "初期設定が行われていません。もう一度ゲームを起動して適切に初期設定して下さい。",
                           ProductNames::title, KtMessageBox::notice);
        return 0;
    case 1: {
        KtRegistryKey framework;
        framework.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
                       KtRegistryNames::frameworkKeyOptions);
        framework.setString(KtRegistryNames::gameDiscDrive,
                            product.getString(KtRegistryNames::cdromDrive));
        return 1;
    }
    case 2:
        KtMessageBox::show(nullptr,
                           "初期設定が中断されています。もう一度ゲームを起動して適切に初期設定して下さい。",
                           ProductNames::title, KtMessageBox::notice);
        return 0;
    default:
        return 0;
    }
}
