// PluginModule: the instance handle of the plug-in library the code runs in, and its info answer.
#pragma once
#include <windows.h>

// Set by each plug-in's DllMain; the trace names the plug-in by its file.
extern HINSTANCE pluginInstance;

// Copies one of the plug-in's info texts ("00IN", "00XN", ...) into the
// caller's buffer; returns its length, or 0 when there is nothing to copy.
int copyPluginInfo(const char* text, LPSTR buffer, int length);
