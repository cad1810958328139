// RegisterWatch: reads the running game's registers through the register monitor messages.
#pragma once
#include "MonitorConnection.h"
#include "PlayCommand.h"
#include <windows.h>
#include <memory>
#include <string>

// Owns a hidden window that the game sends its records to, and the
// monitor connection on it. The game answers while the request is in
// progress, so a read is complete when it returns.
class RegisterWatch {
public:
    enum Result { holds, differs, notYet, failed };

    RegisterWatch();
    ~RegisterWatch();
    RegisterWatch(const RegisterWatch&) = delete;
    RegisterWatch& operator=(const RegisterWatch&) = delete;

    // Whether the condition holds now. notYet while the game's runtime does
    // not answer; failed (with why) when the register lies outside what the
    // game keeps. value receives the register when it was read.
    Result test(const PlayCondition& condition, std::int32_t* value, std::string* why);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND receiver_ = nullptr;
    std::unique_ptr<MonitorConnection> link_;
};
