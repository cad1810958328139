// PluginTrace: appending one call to the process's trace variable.
#include "PluginTrace.h"

void PluginTrace::note(HINSTANCE plugin, const char* call)
{
    static char text[32768];
    SetLastError(0);
    DWORD length = GetEnvironmentVariableA(variable, text, sizeof text);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return;
    if (length >= sizeof text)
        return;
    char path[4 * MAX_PATH];
    DWORD pathLength = GetModuleFileNameA(plugin, path, sizeof path);
    if (pathLength == 0 || pathLength >= sizeof path)
        return;
    // The file name alone: a folder of double-byte names would reach the
    // variable, which Wine's GetEnvironmentVariableA then gives back cut
    // to its length in characters.
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\')
            name = p + 1;
    if (length + lstrlenA(name) + lstrlenA(call) + 3 >= sizeof text)
        return;
    lstrcatA(text, name);
    lstrcatA(text, ":");
    lstrcatA(text, call);
    lstrcatA(text, "\n");
    SetEnvironmentVariableA(variable, text);
}
