// PluginModule: DllMain of every plug-in, remembering its own instance.
#include "PluginModule.h"

HINSTANCE pluginInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        pluginInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

int copyPluginInfo(const char* text, LPSTR buffer, int length)
{
    if (!text || !buffer || length <= 0)
        return 0;
    lstrcpynA(buffer, text, length);
    return lstrlenA(buffer);
}
