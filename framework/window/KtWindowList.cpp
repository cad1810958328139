// KtWindowList: window matching by name, or by window handle for a key without a name.
#include "KtWindowList.h"
#include "KtWindowHandle.h"
#include <windows.h>

namespace {
bool sameWindow(void* object, void* key)
{
    if (!object)
        return false;
    const KtWindowHandle* item = static_cast<const KtWindowHandle*>(object);
    const KtWindowHandle* wanted = static_cast<const KtWindowHandle*>(key);
    if (wanted->name.length() > 0)
        return lstrcmpA(wanted->name.text(), item->name.text()) == 0;
    return wanted->handle == item->handle;
}
}

KtObjectNode* KtWindowList::find(void* key)
{
    if (!key)
        return notFound;
    return findWhere(key, &sameWindow);
}
