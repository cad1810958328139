// Writes the screen's width, height and colour depth into a file, as the
// device context and as the display settings see them: "1024 768 32 32".
// End-to-end tests run it inside a Wine virtual desktop beside the game.
#include <windows.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 64;
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    FILE* out = std::fopen(argv[1], "w");
    if (!out)
        return 1;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    std::fprintf(out, "%d %d %d %lu\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 bits, mode.dmBitsPerPel);
    std::fclose(out);
    return 0;
}
