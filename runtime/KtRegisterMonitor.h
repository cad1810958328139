// KtRegisterMonitor: the game's side of the register monitor protocol, served by the top-level window hook.
#pragma once
#include <windows.h>

class KtRegisterStore;
class KtVelka;

// A register monitor is a window, usually of another program, that attaches
// to the game's top-level window and reads and writes the scenario's
// registers. Reads are answered with WM_COPYDATA records sent to the
// monitor's window; writes arrive as private messages or, for a string
// register, as WM_COPYDATA. Nothing is read or written while the module has
// not published its register store.
class KtRegisterMonitor {
public:
    // True for the private messages this class serves (0x74C is left to the
    // window's own procedure).
    static bool isRequest(UINT message);
    // Serves one request and returns the window procedure's result.
    static LRESULT handleRequest(KtVelka& velka, UINT message, WPARAM wParam, LPARAM lParam);
    // A WM_COPYDATA to the top-level window. Returns false when no monitor
    // is attached or the record did not come from it, so that the window's
    // own procedure sees it. A record longer than maxRecordBytes is consumed
    // and ignored. May throw when memory runs out.
    static bool receive(KtVelka& velka, WPARAM sender, const COPYDATASTRUCT* data);

    // A message to the monitor's window that gives up after
    // monitorTimeoutMilliseconds.
    static LRESULT sendToMonitor(HWND monitor, UINT message, WPARAM wParam, LPARAM lParam);
    static constexpr UINT monitorTimeoutMilliseconds = 2000;

    // The longest string register text a monitor may write, with its NUL.
    static constexpr DWORD maxRecordBytes = 64 * 1024;

private:
    static KtRegisterStore* store(KtVelka& velka);
    static bool inRange(WPARAM index, int count);
    static void send(KtVelka& velka, DWORD dwData, const void* data, DWORD size);
    static void sendGameRegisters(KtVelka& velka, KtRegisterStore& registers);
    static void sendSystemRegisters(KtVelka& velka, KtRegisterStore& registers);
    static void sendStringRegister(KtVelka& velka, KtRegisterStore& registers, WPARAM index);
    static void sendRegisterText(KtVelka& velka, KtRegisterStore& registers);
    static void setSystemRegister(KtVelka& velka, KtRegisterStore& registers, WPARAM index,
                                  LPARAM value);
};
