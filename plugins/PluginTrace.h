// PluginTrace: lets a test see which plug-in files were asked what.
#pragma once
#include <windows.h>

// When the process has the variable KT_SPI_TRACE, each call appends
// "<plug-in file name>:<call>\n" to it. The variable belongs to the process, so
// the record outlives the plug-in's unloading. Without it nothing happens.
class PluginTrace {
public:
    static constexpr const char* variable = "KT_SPI_TRACE";
    static void note(HINSTANCE plugin, const char* call);

    PluginTrace() = delete;
};
