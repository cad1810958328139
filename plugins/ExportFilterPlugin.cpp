// ExportFilterPlugin: a plug-in that declares itself an export filter; hosts must not ask it to read.
#include "PluginModule.h"
#include "PluginTrace.h"
#include "SusieApi.h"

// Every entry point is there and would claim any file, so a host that
// skipped the version check would be caught by the trace.
extern "C" {

int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int length)
{
    PluginTrace::note(pluginInstance, "GetPluginInfo");
    return copyPluginInfo(infoNumber == 0 ? "00XN" : nullptr, buffer, length);
}

int __stdcall IsSupported(LPCSTR, DWORD_PTR)
{
    PluginTrace::note(pluginInstance, "IsSupported");
    return 1;
}

int __stdcall GetPictureInfo(LPCSTR, long, unsigned, SusiePictureInfo*)
{
    PluginTrace::note(pluginInstance, "GetPictureInfo");
    return SusieResult::notImplemented;
}

int __stdcall GetPicture(LPCSTR, long, unsigned, HLOCAL*, HLOCAL*, SusieProgress, long)
{
    PluginTrace::note(pluginInstance, "GetPicture");
    return SusieResult::notImplemented;
}

}  // extern "C"
