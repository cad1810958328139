// SystemInfo: memory, start time, display mode and system version, kept by the application window.
#pragma once
#include <windows.h>
#include "KtString.h"

// Only displayMode is used by the host; the rest is filled once and kept for
// anything that wants to show it.
class SystemInfo {
public:
    SystemInfo();
    virtual ~SystemInfo();
    SystemInfo(const SystemInfo&) = delete;
    SystemInfo& operator=(const SystemInfo&) = delete;

    // Reads the current screen size, depth and refresh rate into displayMode.
    void captureDisplayMode();
    // ChangeDisplaySettingsA with the given mode, or displayMode when null.
    LONG changeDisplayMode(DWORD flags, DEVMODEA* mode = nullptr);
    static int colourDepth();

    MEMORYSTATUS memory;
    SYSTEMTIME startTime;
    DEVMODEA displayMode;
    OSVERSIONINFOA version;
    DWORD reserved[4];
    KtString label;
};
