// Startup: the program's start-up and shutdown sequence around the application window.
#pragma once
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

    // Exit code of a run whose scenario module could not be loaded.
    static constexpr int cannotLoadExitCode = 3;

private:
    bool anotherInstanceRuns(HANDLE& instanceEvent);
    bool setupToolIsOpen();
    bool ensureSetUp();
    int runApplication();

    HINSTANCE instance_;
    char* commandLine_;
    int showCommand_;
};
