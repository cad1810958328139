// KtWindowList: the object list of windows, matched by name or else by window handle.
#pragma once

#include "KtObjectList.h"

// Items are window objects (KtWindowHandle and everything derived from it).
// A key with a name matches the window of that name (lstrcmpA) whatever its
// handle; a key with an empty name matches the window with its handle.
class KtWindowList : public KtObjectList {
public:
    KtObjectNode* find(void* key) override;       // slot 8
};
