// KtLibrarySearch: the process's DLL search and the load flags of plug-ins and the scenario module.
#include "KtLibrarySearch.h"

FARPROC KtLibrarySearch::kernelExport(const char* name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

// The search flags came with AddDllDirectory, on every system that has it.
bool KtLibrarySearch::searchFlagsOffered()
{
    return kernelExport("AddDllDirectory") != nullptr;
}

bool KtLibrarySearch::excludeCurrentDirectory()
{
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Looked up rather than imported: a system without them still starts.
    auto setDllDirectory = reinterpret_cast<SetDllDirectoryFn>(kernelExport("SetDllDirectoryA"));
    auto setDefaults =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(kernelExport("SetDefaultDllDirectories"));
    bool changed = false;
    // An empty text takes the current directory out of the search.
    if (setDllDirectory && setDllDirectory(""))
        changed = true;
    if (setDefaults && setDefaults(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        changed = true;
    return changed;
}

DWORD KtLibrarySearch::pluginFlags()
{
    if (searchFlagsOffered())
        return LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}

// Without the search flags the altered path lacks the program's folder;
// KtLIB.dll and the run-time DLLs are then found because the program has
// loaded them already.
DWORD KtLibrarySearch::moduleFlags()
{
    if (searchFlagsOffered())
        return LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS;
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}
