// GameProcess: the game being played, started by the player or found running, and its windows.
#pragma once
#include <windows.h>
#include <string>

// Owns the process handle (closed on destruction); the game itself is
// left running unless terminate() is called.
class GameProcess {
public:
    // The class of the game's application window.
    static constexpr const char* windowClass = "desert_Pomelo";

    GameProcess() = default;
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts the program with the folder as its current folder.
    bool start(const std::string& program, const std::string& folder, std::string* error);
    // Takes the game that runs already: the process of its window.
    bool attach(std::string* error);

    // The game's visible application window, null while there is none.
    HWND window() const;
    // A visible message box of the game's process, null when none shows.
    HWND messageBox() const;
    // The keyboard focus of the game: the focus window of one of its
    // threads, the one that is not the application window when there is
    // such; null when the game has none.
    HWND focus() const;

    bool running() const;
    bool waitEnd(DWORD milliseconds) const;
    DWORD exitCode() const;
    DWORD id() const { return id_; }
    void terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
