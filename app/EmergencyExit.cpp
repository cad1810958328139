// EmergencyExit: the two handlers and the restore they share.
#include "EmergencyExit.h"
#include "KtVelka.h"
#include <exception>

namespace {
volatile LONG screenSaverPaused = 0;
volatile LONG displayModeChanged = 0;
volatile LONG restored = 0;
}  // namespace

void EmergencyExit::install()
{
    SetUnhandledExceptionFilter(&EmergencyExit::onUnhandledFault);
    std::set_terminate(&EmergencyExit::onTerminate);
    KtVelka::setHungEndHandler(&EmergencyExit::endHung);
}

void EmergencyExit::setScreenSaverPaused(bool paused)
{
    InterlockedExchange(&screenSaverPaused, paused ? 1 : 0);
}

void EmergencyExit::setDisplayModeChanged(bool changed)
{
    InterlockedExchange(&displayModeChanged, changed ? 1 : 0);
}

// The process may be in any state: no unwinding, no C run-time shutdown,
// nothing but the two system calls, then the end. The mode was switched
// without touching the registry, so the registry's mode is the one to go
// back to.
void EmergencyExit::restoreAndEnd(UINT exitCode)
{
    if (InterlockedExchange(&restored, 1) == 0) {
        if (displayModeChanged)
            ChangeDisplaySettingsA(nullptr, 0);
        if (screenSaverPaused) {
            SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0);
            // Read back, so that the display has taken the change before
            // the process is gone (Wine's X11 driver buffers it).
            BOOL active = FALSE;
            SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        }
    }
    TerminateProcess(GetCurrentProcess(), exitCode);
    for (;;)
        Sleep(INFINITE);
}

void EmergencyExit::endHung()
{
    restoreAndEnd(hungExitCode);
}

LONG WINAPI EmergencyExit::onUnhandledFault(EXCEPTION_POINTERS*)
{
    restoreAndEnd();
}

void EmergencyExit::onTerminate()
{
    restoreAndEnd();
}
