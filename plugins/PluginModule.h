// PluginModule: the instance handle of the plug-in library the code runs in.
#pragma once
#include <windows.h>

// Set by each plug-in's DllMain; the trace names the plug-in by its file.
extern HINSTANCE pluginInstance;
