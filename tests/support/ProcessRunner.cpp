// ProcessRunner: child processes with captured output for end-to-end tests.
#include "ProcessRunner.h"
#include <mutex>

namespace {

// Children inherit every inheritable handle of the parent. Creating the
// pipes, starting the child and closing the parent's copies of the child's
// ends under one lock keeps a second runner's child from inheriting them,
// which would hold the first runner's pipes open past its child's end.
std::mutex startLock;

struct PipePair {
    HANDLE read = nullptr, write = nullptr;
    bool create()
    {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
        if (!CreatePipe(&read, &write, &sa, 0))
            return false;
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);  // our end stays ours
        return true;
    }
    void closeWrite() { if (write) { CloseHandle(write); write = nullptr; } }
    void closeRead() { if (read) { CloseHandle(read); read = nullptr; } }
};

} // namespace

ProcessRunner::~ProcessRunner()
{
    terminate();
    closeHandles();
}

bool ProcessRunner::start(const std::string& program, const std::string& arguments,
                          const std::string& workingDirectory)
{
    terminate();
    closeHandles();
    output_.clear();
    errors_.clear();
    startError_ = 0;

    std::lock_guard<std::mutex> guard(startLock);
    PipePair out, err;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    if (!out.create() || !err.create() || nul == INVALID_HANDLE_VALUE) {
        startError_ = GetLastError();
        out.closeRead(); out.closeWrite(); err.closeRead(); err.closeWrite();
        if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
        return false;
    }

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul;
    si.hStdOutput = out.write;
    si.hStdError = err.write;
    std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &si, &pi);
    startError_ = started ? 0 : GetLastError();
    CloseHandle(nul);
    out.closeWrite();
    err.closeWrite();
    if (!started) {
        out.closeRead();
        err.closeRead();
        return false;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    processId_ = pi.dwProcessId;
    // Each reader owns its read end and closes it at end of file.
    outReader_ = std::thread(&ProcessRunner::drain, out.read, &output_);
    errReader_ = std::thread(&ProcessRunner::drain, err.read, &errors_);
    return true;
}

void ProcessRunner::drain(HANDLE pipe, std::string* into)
{
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        into->append(buffer, got);
    CloseHandle(pipe);
}

bool ProcessRunner::wait(DWORD timeoutMs)
{
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    // The pipes reach end of file once the child's handles are gone with it.
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
    return true;
}

void ProcessRunner::terminate()
{
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
}

DWORD ProcessRunner::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (!process_ || !GetExitCodeProcess(process_, &code))
        return STILL_ACTIVE;
    return code;
}

bool ProcessRunner::run(const std::string& program, const std::string& arguments, DWORD timeoutMs)
{
    return start(program, arguments) && wait(timeoutMs);
}

void ProcessRunner::closeHandles()
{
    if (process_) {
        CloseHandle(process_);
        process_ = nullptr;
    }
    processId_ = 0;
}

std::string ProcessRunner::programFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}
