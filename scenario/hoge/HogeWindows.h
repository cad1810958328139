// HogeWindows: how the sample game asks the host for its windows and lets them go.
#pragma once
#include "KtWindowDescription.h"
#include <windows.h>

class KtVelka;
class KtWindow;

// Both wait for windowDone, or for a quit request, which ends the wait at
// once (false or null). The record and the name must outlive the request:
// after a quit the window thread may still read them, so callers keep them
// outside the stack.
namespace HogeWindows {

// winCreate: the new window, or the registered one of the same name.
KtWindow* create(KtVelka* velka, const KtWindowDescription& record);
bool destroy(KtVelka* velka, const char* name);

// The game's window area: the scenario host window's client size.
SIZE hostSize(KtVelka* velka);

}  // namespace HogeWindows
