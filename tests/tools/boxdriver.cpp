// boxdriver: finds a dialog or message box of another process, reports it and presses a button.
//
// Usage: boxdriver [--caption TEXT] [--class NAME] [--button ID] [--post] [--close] [--timeout MS]
//   --caption  exact caption to wait for (any caption when left out)
//   --class    window class to wait for (default "#32770", dialogs and boxes)
//   --button   control id to press (default 1, IDOK); 0 reports without pressing
//   --post     post WM_COMMAND with the id to the box instead of clicking the button
//   --close    post WM_CLOSE to the window instead of pressing a button, as
//              the system's close command would (any top-level window)
//   --timeout  milliseconds allowed for each wait (default 10000)
//
// Prints, one per line, with backslashes, CRs and newlines escaped as \\, \r and \n:
//   caption=..., text=... (the static text, id 0xFFFF), owner-class=..., owner-caption=...
// and pressed=ID (closed with --close) once the box has gone.
// Exit codes: 0 done, 1 no box in time, 2 the box has no such button,
// 3 the box did not go away in time, 64 bad arguments.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    const char* caption = nullptr;
    const char* windowClass = "#32770";
    int button = IDOK;
    bool post = false;
    bool close = false;
    DWORD timeout = 10000;
};

struct Search {
    const Options* options;
    HWND found;
};

std::string escaped(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\\') out += "\\\\";
        else if (*p == '\n') out += "\\n";
        else if (*p == '\r') out += "\\r";
        else out += *p;
    }
    return out;
}

BOOL CALLBACK matchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char name[256] = {};
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof(name))
        || lstrcmpiA(name, search->options->windowClass) != 0)
        return TRUE;
    if (search->options->caption) {
        name[0] = '\0';
        GetWindowTextA(window, name, sizeof(name));
        if (lstrcmpA(name, search->options->caption) != 0)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

// Polls, because the box belongs to another process and gives no signal.
HWND waitForBox(const Options& options)
{
    DWORD start = GetTickCount();
    do {
        Search search{&options, nullptr};
        EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < options.timeout);
    return nullptr;
}

bool waitUntilGone(HWND box, DWORD timeout)
{
    DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (GetTickCount() - start >= timeout)
            return false;
        Sleep(10);
    }
    return true;
}

void report(HWND box)
{
    char caption[512] = {}, text[4096] = {}, ownerClass[256] = {}, ownerCaption[512] = {};
    GetWindowTextA(box, caption, sizeof(caption));
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    if (HWND owner = GetWindow(box, GW_OWNER)) {
        GetClassNameA(owner, ownerClass, sizeof(ownerClass));
        GetWindowTextA(owner, ownerCaption, sizeof(ownerCaption));
    }
    std::printf("caption=%s\ntext=%s\nowner-class=%s\nowner-caption=%s\n", escaped(caption).c_str(),
                escaped(text).c_str(), escaped(ownerClass).c_str(), escaped(ownerCaption).c_str());
    std::fflush(stdout);
}

// Wine accepts any standard id sent to a message box even when the box has
// no such button, so the button is looked up first.
bool press(HWND box, const Options& options)
{
    HWND button = GetDlgItem(box, options.button);
    if (!button)
        return false;
    if (options.post) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(options.button, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    } else {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, options.timeout, &ignored);
    }
    return true;
}

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasNext = i + 1 < argc;
        if (!std::strcmp(arg, "--post"))
            options.post = true;
        else if (!std::strcmp(arg, "--close"))
            options.close = true;
        else if (!std::strcmp(arg, "--caption") && hasNext)
            options.caption = argv[++i];
        else if (!std::strcmp(arg, "--class") && hasNext)
            options.windowClass = argv[++i];
        else if (!std::strcmp(arg, "--button") && hasNext)
            options.button = std::atoi(argv[++i]);
        else if (!std::strcmp(arg, "--timeout") && hasNext)
            options.timeout = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Plain \n line ends, whatever reads the pipe.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: boxdriver [--caption TEXT] [--class NAME] [--button ID] [--post] [--close] [--timeout MS]\n");
        return 64;
    }
    HWND box = waitForBox(options);
    if (!box) {
        std::fprintf(stderr, "boxdriver: no window appeared within %lu ms\n", options.timeout);
        return 1;
    }
    report(box);
    if (options.close) {
        PostMessageA(box, WM_CLOSE, 0, 0);
    } else if (options.button == 0) {
        return 0;
    } else if (!press(box, options)) {
        std::fprintf(stderr, "boxdriver: the window has no control %d\n", options.button);
        return 2;
    }
    if (!waitUntilGone(box, options.timeout)) {
        std::fprintf(stderr, "boxdriver: the window was still there after %lu ms\n", options.timeout);
        return 3;
    }
    if (options.close)
        std::printf("closed\n");
    else
        std::printf("pressed=%d\n", options.button);
    return 0;
}
