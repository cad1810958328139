// KtLibrarySearch: where the libraries loaded at run time, and the libraries they import, are looked for.
#pragma once
#include <windows.h>

// The current directory is not a place to look for code: the Open dialog
// moves it to the folder of the picked picture, and a player may start the
// game from a download folder. Plug-ins and the scenario module are loaded
// by absolute path, with flags that make the libraries they import come
// from their own folder and the system's.
//
// Newer systems offer search flags that name the folders exactly; where
// they are missing (kernel32 without AddDllDirectory), the altered search
// path gives the library's own folder first, then the system's, and
// excludeCurrentDirectory keeps the current directory out of it.
class KtLibrarySearch {
public:
    // For the whole process: SetDllDirectoryA(""), and
    // SetDefaultDllDirectories with the default folders (program, system,
    // added ones) where the system offers it. Called once at start-up, after
    // the program's own imports are resolved. False when neither exists.
    static bool excludeCurrentDirectory();

    // LoadLibraryExA flags for a plug-in given by absolute path: its imports
    // come from its own folder, then from the system's.
    static DWORD pluginFlags();
    // LoadLibraryExA flags for the scenario module given by absolute path:
    // its own folder, the program's (KtLIB.dll and the run-time DLLs lie
    // there), then the system's.
    static DWORD moduleFlags();

    // True when LoadLibraryExA takes the LOAD_LIBRARY_SEARCH_ flags.
    static bool searchFlagsOffered();

private:
    static FARPROC kernelExport(const char* name);
};
