// Entry point of Pomelo.exe.
#include "Startup.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    Startup startup(instance, commandLine, showCommand);
    return startup.run();
}
