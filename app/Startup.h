// Startup: the program's start-up and shutdown sequence around the application window.
#pragma once
#include <functional>
#include <windows.h>

class Startup {
public:
    Startup(HINSTANCE instance, char* commandLine, int showCommand);
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Runs the whole program; the result is the process exit code.
    int run();

    // Starts a program from the current directory and waits for it to end.
    // Returns its exit code, or 0 when it could not be started.
    static DWORD runAndWait(const char* program, const char* commandLine);
    // 1 when the product is set up; otherwise tells the user why and returns 0.
    static int checkSetup();

    // Exit codes besides 0 (a normal run, a refused start): the scenario
    // module could not be loaded (3); another diagnostic, memory exhaustion
    // or an exception of any other type reached the entry point (4). An
    // exception that nothing catches ends the process with
    // EmergencyExit::crashExitCode (5); a game that has not ended in time
    // after the player closed it, with EmergencyExit::hungExitCode (6).
    // Every one of these exits restores the display mode and the screen saver.
    static constexpr int cannotLoadExitCode = 3;
    static constexpr int failedExitCode = 4;

    // body's result, or the exit code for what it threw (a diagnostic not
    // shown yet is shown first, with no owner).
    static int runGuarded(const std::function<int()>& body);

private:
    bool setupToolIsOpen();
    bool ensureSetUp();
    int runApplication();

    HINSTANCE instance_;
    char* commandLine_;
    int showCommand_;
};
