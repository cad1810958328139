// MonitorConnection: the monitor's link to the running game's top-level window.
#pragma once
#include "RegisterSnapshot.h"
#include <windows.h>
#include <functional>
#include <string>

// Attaches a window of this program (the receiver) to the game. The game
// answers every read with WM_COPYDATA records sent to the receiver while
// the request is still in progress, so a request's answer is complete when
// the request returns. The receiver's window procedure passes its messages
// to handleMessage first.
class MonitorConnection {
public:
    explicit MonitorConnection(HWND receiver);
    ~MonitorConnection();   // detaches
    MonitorConnection(const MonitorConnection&) = delete;
    MonitorConnection& operator=(const MonitorConnection&) = delete;

    // The game's application window, or null when no game runs.
    static HWND findGame();

    // Finds the game and attaches; false when there is no game or it does
    // not answer yet (its runtime is not up).
    bool attach();
    // Tells the game that the monitor goes; nothing when not attached.
    void detach();
    bool attached() const { return game_ != nullptr; }
    // Set when the game has told the monitor that its scenario ended.
    bool gameEnded() const { return ended_; }
    HWND game() const { return game_; }

    // Reads every register and the store's text into the snapshot. String
    // registers are asked for from index 0 until the game sends none.
    void refresh();
    const RegisterSnapshot& snapshot() const { return snapshot_; }

    bool setGameRegister(int index, std::int32_t value);
    bool setSystemRegister(int index, std::int32_t value);
    bool setStringRegister(int index, const std::string& text);
    // Sends one request as it is (for scripts that test the game's checks).
    bool request(UINT message, WPARAM wParam, LPARAM lParam);

    // Called with every record received, before it is taken apart.
    void onRecord(std::function<void(DWORD dwData, DWORD cbData)> observer)
    {
        recordObserver_ = std::move(observer);
    }

    // True when the message was the game's and has been handled.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    bool send(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer = nullptr);
    void take(const COPYDATASTRUCT& record);
    bool readString(int index);

    HWND receiver_;
    HWND game_ = nullptr;
    bool ended_ = false;
    int stringsReceived_ = 0;
    RegisterSnapshot snapshot_;
    std::function<void(DWORD, DWORD)> recordObserver_;
};
