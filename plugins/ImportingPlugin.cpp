// ImportingPlugin: a plug-in that imports a library of its own, to show where a host lets that library come from.
#include "PluginModule.h"
#include "PluginTrace.h"
#include "SpiDependency.h"
#include "SusieApi.h"

// An export filter, so a host asks nothing but the version; the call into
// the imported library makes the import real.
extern "C" {

int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int length)
{
    PluginTrace::note(pluginInstance, "GetPluginInfo");
    return copyPluginInfo(infoNumber == 0 && spiDependencyPresent() ? "00XN" : nullptr, buffer,
                          length);
}

}  // extern "C"
