// SystemInfo: filled at construction; display mode captured on demand.
#include "SystemInfo.h"
#include <cstring>

static_assert(sizeof(DEVMODEA) == 156, "the display mode record is 156 bytes");
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record is 148 bytes");

SystemInfo::SystemInfo() : label(256, nullptr)
{
    std::memset(&memory, 0, sizeof memory);
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    GetLocalTime(&startTime);
    std::memset(&displayMode, 0, sizeof displayMode);
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::memset(reserved, 0, sizeof reserved);
}

SystemInfo::~SystemInfo() = default;

void SystemInfo::captureDisplayMode()
{
    displayMode.dmSize = sizeof(DEVMODEA);
    displayMode.dmDriverExtra = 0;
    displayMode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    HDC screen = GetDC(nullptr);
    displayMode.dmPelsWidth = GetDeviceCaps(screen, HORZRES);
    displayMode.dmPelsHeight = GetDeviceCaps(screen, VERTRES);
    displayMode.dmBitsPerPel = GetDeviceCaps(screen, BITSPIXEL);
    displayMode.dmDisplayFrequency = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
}

LONG SystemInfo::changeDisplayMode(DWORD flags, DEVMODEA* mode)
{
    return ChangeDisplaySettingsA(mode ? mode : &displayMode, flags);
}

int SystemInfo::colourDepth()
{
    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return depth;
}
