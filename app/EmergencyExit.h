// EmergencyExit: puts the display mode and the screen saver back when an exception ends the process.
#pragma once
#include <windows.h>

// Start-up switches the display mode and the screen saver off for the run,
// and an orderly end switches them back. An exception that nothing catches,
// on any thread (a C++ exception of any type, or a fault such as an access
// violation in the scenario module), would end the process with both still
// switched. The handlers installed here put back what start-up has recorded
// and end the process at once with crashExitCode. The same end, with
// hungExitCode, is taken when the game does not end after the player has
// closed it: a thread of the scenario is still running when the time for
// its end is up.
class EmergencyExit {
public:
    static constexpr UINT crashExitCode = 5;
    static constexpr UINT hungExitCode = 6;

    // Installs the handlers for unhandled faults, for std::terminate and for
    // a scenario runtime whose threads do not end in time.
    static void install();
    // What an emergency end has to put back; start-up keeps it current.
    static void setScreenSaverPaused(bool paused);
    static void setDisplayModeChanged(bool changed);

    // Puts back what is recorded (only the first call does anything) and
    // ends the process with crashExitCode.
    [[noreturn]] static void restoreAndEnd(UINT exitCode = crashExitCode);
    // The same with hungExitCode.
    [[noreturn]] static void endHung();

private:
    static LONG WINAPI onUnhandledFault(EXCEPTION_POINTERS* fault);
    static void onTerminate();
};
