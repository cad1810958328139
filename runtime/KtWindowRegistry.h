// KtWindowRegistry: the scenario's windows registered by name in KtVelka, found and destroyed.
#pragma once
#include <windows.h>

class KtString;
class KtVelka;
class KtWindow;

// Works on KtVelka's windows list under its lock. Windows are appended as
// owned items, so removing or emptying deletes them (and their windows);
// a popup's client viewport is registered as an item that is not owned,
// because its popup deletes it. Runs on the window thread.
class KtWindowRegistry {
public:
    // The first registered window of that name (equal text), or null.
    static KtWindow* find(KtVelka& velka, const char* name);
    // Appends the window. When no item can be made, an owned window is
    // deleted and NotEnoughMemoryException is thrown.
    static void add(KtVelka& velka, KtWindow* window, bool owned);
    // Removes (and so deletes) the first window of that name; a popup's
    // client viewport's own item is unlinked first. A name not registered changes nothing.
    // With notify, windowDone is set once the lock has been left.
    static void destroyByName(KtVelka& velka, const char* name, BOOL notify);
    // Empties the registry, deleting every owned window.
    static void destroyAll(KtVelka& velka);

private:
    // Takes out the window's own item (and a popup's client's), under lock.
    static void unregister(KtVelka& velka, KtWindow* window);
};
