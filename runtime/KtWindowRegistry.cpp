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
        if (window) {
            if (window->windowType() == popupViewportType) {
                KtWindow* client = static_cast<KtPopupViewport*>(window)->client;
                if (client)
                    destroyByName(velka, client->name.text(), FALSE);
            }
            // The list finds the item by the window's name (by its handle
            // when it has none); its owned item deletes the window.
            velka.windows.remove(static_cast<KtWindowHandle*>(window));
        }
    }
    if (notify)
        velka.windowDone.signal();
}

void KtWindowRegistry::destroyAll(KtVelka& velka)
{
    KtCriticalSection::Hold hold(velka.lock);
    velka.windows.clear();
}
