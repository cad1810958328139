// KtMonitor: the register monitor, a window by default and a command-line tool when given arguments.
#include "MonitorCommands.h"
#include "MonitorWindow.h"
#include <windows.h>
#include <shellapi.h>

namespace {
// The arguments as ANSI texts (Shift-JIS on a Japanese system), so that a
// string register can be given on the command line.
std::vector<std::string> arguments()
{
    std::vector<std::string> list;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(bytes > 0 ? bytes - 1 : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_ACP, 0, wide[i], -1, &text[0], bytes, nullptr, nullptr);
        list.push_back(text);
    }
    LocalFree(wide);
    return list;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    std::vector<std::string> given = arguments();
    if (!given.empty()) {
        MonitorOptions options;
        std::string error;
        if (!options.parse(given, &error)) {
            HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
            error = "KtMonitor: " + error + "\n";
            DWORD written = 0;
            if (out && out != INVALID_HANDLE_VALUE)
                WriteFile(out, error.data(), static_cast<DWORD>(error.size()), &written, nullptr);
            return 64;
        }
        return runMonitorCommands(options);
    }
    MonitorWindow window;
    if (!window.create(showCommand))
        return 1;
    return window.run();
}
