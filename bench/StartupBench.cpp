// StartupBench: the time from starting Pomelo.exe to the sample game's title on the screen.
#include "HogePlayer.h"
#include "BenchClock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Usage: StartupBench [runs]   (default 5)
// Each run starts Pomelo.exe in a folder of its own with the sample game
// (the settings' defaults), as a player starting it from the desktop would,
// inside an already running Wine session, and reads the screen until the
// title's swatch colour shows: the first picture the game puts up. The game
// is then stopped and the next run waits for its process to end. Figures
// are milliseconds: the first run (files not yet in the cache) apart, then
// the median and the fastest of the rest.

namespace {

const COLORREF titleSwatch = RGB(0x20, 0x40, 0xC0);   // the picture script's title colour
const DWORD limitMs = 30000;

std::string programFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.rfind('\\') + 1);
}

// The product set up, windowed: what the tests of the game start from.
void setUp(const std::string& folder)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lumen\\VELKA\\Pomelo", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD one = 1, zero = 0;
        RegSetValueExA(key, "setupMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
        RegSetValueExA(key, "frameMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
        RegCloseKey(key);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\Pomelo.ini").c_str());
    DeleteFileA((folder + "\\.system.dat").c_str());
}

// Milliseconds to the title, or a negative number when it did not show.
double oneRun(const std::string& program, const std::string& folder)
{
    const HogePlayer player;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + program + "\"";
    const double start = benchNowMs();
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &si, &pi))
        return -1;
    double shown = -1;
    while (benchNowMs() - start < limitMs) {
        if (player.host() && player.pixel(HogePlayer::swatchX, HogePlayer::swatchY) == titleSwatch) {
            shown = benchNowMs() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;   // ended without a title
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, limitMs);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return shown;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 5;
    const std::string folder = programFolder() + "run-StartupBench";
    const std::string program = programFolder() + "Pomelo.exe";
    setUp(folder);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = oneRun(program, folder);
        if (ms < 0) {
            std::printf("run %d: no title within %lu ms\n", i + 1, limitMs);
            return 1;
        }
        times.push_back(ms);
    }
    const double first = times.front();
    std::vector<double> rest(times.begin() + 1, times.end());
    std::sort(rest.begin(), rest.end());
    std::printf("start of Pomelo.exe to the title on screen, %d runs\n", runs);
    std::printf("first run %8.1f ms; the others: median %8.1f ms, fastest %8.1f ms (aim: under 1000)\n",
                first, rest[rest.size() / 2], rest.front());
    return 0;
}
