// FailingPlugin: an import plug-in that claims every file and then fails to decode it.
#include "PluginModule.h"
#include "PluginTrace.h"
#include "SusieApi.h"

// GetPicture hands back two locked blocks before reporting broken data, as
// a careless plug-in might: the host must still free both.
extern "C" {

int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int length)
{
    PluginTrace::note(pluginInstance, "GetPluginInfo");
    return copyPluginInfo(infoNumber == 0 ? "00IN" : nullptr, buffer, length);
}

int __stdcall IsSupported(LPCSTR, DWORD_PTR)
{
    PluginTrace::note(pluginInstance, "IsSupported");
    return 1;
}

int __stdcall GetPictureInfo(LPCSTR, long, unsigned, SusiePictureInfo*)
{
    PluginTrace::note(pluginInstance, "GetPictureInfo");
    return SusieResult::brokenData;
}

int __stdcall GetPicture(LPCSTR, long, unsigned, HLOCAL* info, HLOCAL* bits, SusieProgress, long)
{
    PluginTrace::note(pluginInstance, "GetPicture");
    if (info && (*info = LocalAlloc(LMEM_MOVEABLE, 64)) != nullptr)
        LocalLock(*info);
    if (bits && (*bits = LocalAlloc(LMEM_MOVEABLE, 64)) != nullptr) {
        LocalLock(*bits);
        LocalLock(*bits);
    }
    return SusieResult::brokenData;
}

}  // extern "C"
