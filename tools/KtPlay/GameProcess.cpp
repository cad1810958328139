// GameProcess: starting or finding the game, and looking up its windows by class and process.
#include "GameProcess.h"
#include <vector>

namespace {

struct Search {
    DWORD process;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (owner == search->process && IsWindowVisible(window) && !lstrcmpA(name, search->className))
        search->found.push_back(window);
    return TRUE;
}

HWND firstWindow(DWORD process, const char* className)
{
    Search search{process, className, {}};
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

struct Threads {
    DWORD process;
    std::vector<DWORD> ids;
};

BOOL CALLBACK collectThreads(HWND window, LPARAM param)
{
    auto* threads = reinterpret_cast<Threads*>(param);
    DWORD owner = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &owner);
    if (owner == threads->process)
        threads->ids.push_back(thread);
    return TRUE;
}

std::string lastError(const std::string& what)
{
    return what + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

GameProcess::~GameProcess()
{
    if (process_)
        CloseHandle(process_);
}

bool GameProcess::start(const std::string& program, const std::string& folder, std::string* error)
{
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        *error = lastError("cannot start " + program);
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool GameProcess::attach(std::string* error)
{
    HWND window = FindWindowA(windowClass, nullptr);
    if (!window) {
        *error = "no game runs";
        return false;
    }
    GetWindowThreadProcessId(window, &id_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id_);
    if (!process_) {
        *error = lastError("cannot open the game's process");
        return false;
    }
    return true;
}

HWND GameProcess::window() const
{
    return firstWindow(id_, windowClass);
}

HWND GameProcess::messageBox() const
{
    return firstWindow(id_, "#32770");
}

HWND GameProcess::focus() const
{
    HWND application = window();
    HWND fallback = nullptr;
    // Every thread that owns a window may hold a focus: the scenario's
    // windows belong to a thread of their own.
    Threads threads{id_, {}};
    EnumWindows(&collectThreads, reinterpret_cast<LPARAM>(&threads));
    for (DWORD thread : threads.ids) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus)
            continue;
        if (info.hwndFocus != application)
            return info.hwndFocus;
        fallback = info.hwndFocus;
    }
    return fallback;
}

bool GameProcess::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool GameProcess::waitEnd(DWORD milliseconds) const
{
    return process_ && WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

DWORD GameProcess::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_)
        GetExitCodeProcess(process_, &code);
    return code;
}

void GameProcess::terminate()
{
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
}
