// MonitorWindow: the monitor's window that shows the game's registers and changes them.
#pragma once
#include "MonitorConnection.h"
#include <windows.h>
#include <memory>

// Looks for the game every second, attaches and refreshes the listing;
// also refreshes on request. A register is changed by choosing
// its kind, typing its index and the new value (a number, or the text of a
// string register) and pressing the set button. Closing the window detaches.
class MonitorWindow {
public:
    MonitorWindow() = default;
    MonitorWindow(const MonitorWindow&) = delete;
    MonitorWindow& operator=(const MonitorWindow&) = delete;

    bool create(int showCommand);
    // Runs the message loop until the window is closed; returns its exit code.
    int run();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layout(int width, int height);
    void onTimer();
    void refresh();
    void applyChange();
    void setStatus(const char* text);
    std::string controlText(int id) const;

    HWND window_ = nullptr;
    std::unique_ptr<MonitorConnection> link_;
    bool reportedEnd_ = false;
    HWND endedGame_ = nullptr;   // not attached to again while it closes
};
