// ProcessRunner: starts another program of the build and collects its output.
#pragma once
#include <windows.h>
#include <string>
#include <thread>

// One child process with its standard output and error captured through
// pipes. The child gets NUL as input. A child still running when the
// runner is destroyed is terminated, so a failing test leaves nothing behind.
class ProcessRunner {
public:
    ProcessRunner() = default;
    ~ProcessRunner();
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // program is a path (relative to the current or the given working
    // directory); arguments follow its quoted name on the command line.
    // Returns false when the process could not start; startError() tells why.
    bool start(const std::string& program, const std::string& arguments,
               const std::string& workingDirectory = std::string());
    // True once the process has ended and its output is complete; false on
    // a time-out (the process keeps running) or when nothing was started.
    bool wait(DWORD timeoutMs);
    void terminate();

    DWORD exitCode() const;          // STILL_ACTIVE while running
    DWORD startError() const { return startError_; }
    const std::string& output() const { return output_; }   // complete after wait()
    const std::string& errors() const { return errors_; }
    DWORD processId() const { return processId_; }

    // The folder of the running program, with its trailing backslash: the
    // build's programs and modules all lie there.
    static std::string programFolder();

    // Starts, waits and returns true only when the program ended in time.
    bool run(const std::string& program, const std::string& arguments, DWORD timeoutMs);

private:
    static void drain(HANDLE pipe, std::string* into);
    void closeHandles();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD startError_ = 0;
    std::thread outReader_, errReader_;
    std::string output_, errors_;
};
