// Entry point of Pomelo.exe.
#include "KtLibrarySearch.h"
#include "Startup.h"
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    // Before anything is loaded at run time: the program's own imports are
    // resolved by now, and nothing later is looked for in the current folder.
    KtLibrarySearch::excludeCurrentDirectory();
    Startup startup(instance, commandLine, showCommand);
    return startup.run();
}
