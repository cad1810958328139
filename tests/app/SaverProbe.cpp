// Prints whether the screen saver is active ("1") or not ("0"), as a process that has just started sees it.
// A test cannot ask in its own process: Wine keeps a process's own switch
// (and, once it has windows, the display's setting) apart from what the
// switches of other processes left.
#include <windows.h>
#include <cstdio>

int main()
{
    BOOL active = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0))
        return 1;
    std::printf("%d\n", active ? 1 : 0);
    return 0;
}
