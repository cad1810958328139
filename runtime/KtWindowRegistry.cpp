// KtWindowRegistry: lookup by name, registration, destruction by name and of everything.
#include "KtWindowRegistry.h"
#include "Diagnostic.h"
#include "KtPopupViewport.h"
#include "KtVelka.h"
#include "KtViewport.h"
#include "KtWindow.h"

namespace {
constexpr int popupViewportType = 6;

KtWindow* windowOf(KtObjectNode* node)
{
    return static_cast<KtWindow*>(static_cast<KtWindowHandle*>(node->object));
}
}  // namespace

KtWindow* KtWindowRegistry::find(KtVelka& velka, const char* name)
{
    if (!name)
        return nullptr;
    KtCriticalSection::Hold hold(velka.lock);
    KtObjectNode* node = velka.windows.first();
    for (int i = 0; i < velka.windows.count; ++i, node = node->next) {
        KtWindow* window = windowOf(node);
        if (window && (window->name.text() == name || lstrcmpA(window->name.text(), name) == 0))
            return window;
    }
    return nullptr;
}

void KtWindowRegistry::add(KtVelka& velka, KtWindow* window, bool owned)
{
    KtCriticalSection::Hold hold(velka.lock);
    int before = velka.windows.count;
    velka.windows.insertLast(static_cast<KtWindowHandle*>(window), owned ? 1 : 0);
    if (velka.windows.count > before)
        return;
    if (owned)
        delete window;
    throw NotEnoughMemoryException("KtVelka - winCreate", "メモリが足りません！");
}

void KtWindowRegistry::destroyByName(KtVelka& velka, const char* name, BOOL notify)
{
    {
        KtCriticalSection::Hold hold(velka.lock);
        KtWindow* window = find(velka, name);
        if (window)
            unregister(velka, window);
    }
    if (notify)
        velka.windowDone.signal();
}

// The items are taken out by the window object itself, never by its name:
// a module's own viewport may carry the name of a popup's client ("AClient"
// beside the popup "A"), and matching by name would delete the module's
// window and leave the client's item behind.
void KtWindowRegistry::unregister(KtVelka& velka, KtWindow* window)
{
    if (window->windowType() == popupViewportType) {
        KtWindow* client = static_cast<KtPopupViewport*>(window)->client;
        if (client)
            velka.windows.removeObject(static_cast<KtWindowHandle*>(client));   // not owned: unlinked only
    }
    velka.windows.removeObject(static_cast<KtWindowHandle*>(window));   // owned: deletes the window
}

void KtWindowRegistry::destroyAll(KtVelka& velka)
{
    KtCriticalSection::Hold hold(velka.lock);
    velka.windows.clear();
}
