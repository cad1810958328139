// KtModule: an owned handle of a loaded library, freed when the holder goes.
#pragma once
#include <windows.h>

// Holds the scenario module or a Susie plug-in. The layout (virtual table,
// then the handle) is shared with scenario modules.
class KtModule {
public:
    KtModule() : handle(nullptr) {}
    virtual ~KtModule();                                  // slot 0: frees the library

    // Frees any library held, then loads fileName with LoadLibraryExA;
    // returns the new handle, null on failure.
    HMODULE load(const char* fileName, DWORD flags = 0);
    // Frees the library held, if any; returns FreeLibrary's result, 0 without one.
    BOOL free();
    // GetProcAddress on the library held; null without one.
    FARPROC procAddress(const char* name) const;

    // One owner per module reference: a copy would free it twice.
    KtModule(const KtModule&) = delete;
    KtModule& operator=(const KtModule&) = delete;

    HMODULE handle;     // null when no library is held
};
