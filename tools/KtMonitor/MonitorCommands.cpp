// MonitorCommands: attaches through a hidden window, runs the commands in order and prints the answers.
#include "MonitorCommands.h"
#include "MonitorConnection.h"
#include <windows.h>
#include <cstdio>

namespace {
const char receiverClass[] = "KtMonitorReceiver";
MonitorConnection* connection = nullptr;

void write(const std::string& text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) {
        // A window program started from a console has no output of its own.
        if (AttachConsole(ATTACH_PARENT_PROCESS))
            out = GetStdHandle(STD_OUTPUT_HANDLE);
    }
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK receiverProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (connection && connection->handleMessage(message, wParam, lParam, &result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createReceiver()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &receiverProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = receiverClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, receiverClass, "KtMonitor", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Polls, because the game's window belongs to another process and its
// runtime may not be up yet.
bool attachWithin(MonitorConnection& link, unsigned milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (link.attach())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        Sleep(50);
    }
}

bool waitForEnd(MonitorConnection& link, unsigned milliseconds)
{
    DWORD start = GetTickCount();
    while (!link.gameEnded()) {
        DWORD used = GetTickCount() - start;
        if (used >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - used, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    return true;
}

bool runOne(MonitorConnection& link, const MonitorCommand& command)
{
    switch (command.kind) {
    case MonitorCommand::print:
        link.refresh();
        write(link.snapshot().format("\n"));
        return link.attached();
    case MonitorCommand::setGame:
        return link.setGameRegister(command.first, command.second);
    case MonitorCommand::setSystem:
        return link.setSystemRegister(command.first, command.second);
    case MonitorCommand::setString:
        return link.setStringRegister(command.first, command.text);
    case MonitorCommand::request:
        return link.request(static_cast<UINT>(command.first), static_cast<WPARAM>(command.second),
                            static_cast<LPARAM>(command.third));
    case MonitorCommand::waitEnd:
        if (!waitForEnd(link, static_cast<unsigned>(command.first)))
            return false;
        write("ended\n");
        return true;
    }
    return false;
}
}  // namespace

int runMonitorCommands(const MonitorOptions& options)
{
    HWND receiver = createReceiver();
    if (!receiver) {
        write("cannot create the receiving window\n");
        return 2;
    }
    int exitCode = 0;
    {
        MonitorConnection link(receiver);
        connection = &link;
        if (options.records)
            link.onRecord([](DWORD dwData, DWORD cbData) {
                char line[64];
                std::snprintf(line, sizeof line, "record dwData=0x%08lX cbData=%lu\n",
                              static_cast<unsigned long>(dwData), static_cast<unsigned long>(cbData));
                write(line);
            });
        if (!attachWithin(link, options.timeout)) {
            write("no game to attach to\n");
            exitCode = 1;
        } else {
            write("attached\n");
            // Lets a script see from outside that the game now knows the monitor.
            SetWindowTextA(receiver, "KtMonitor attached");
            for (const MonitorCommand& command : options.commands)
                if (!runOne(link, command)) {
                    write("the game did not answer\n");
                    exitCode = 2;
                    break;
                }
        }
        link.detach();
        connection = nullptr;
    }
    DestroyWindow(receiver);
    return exitCode;
}
