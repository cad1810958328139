// A register monitor that hangs: it makes its window and then stops taking messages until told to end.
#include <windows.h>

int main()
{
    HWND window = CreateWindowExA(0, "STATIC", "PomeloHungMonitor", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return 1;
    HANDLE end = CreateEventA(nullptr, TRUE, FALSE, "PomeloHungMonitorEnd");
    // No message is taken from here on: a SendMessage to the window blocks.
    WaitForSingleObject(end, 60000);
    CloseHandle(end);
    DestroyWindow(window);
    return 0;
}
