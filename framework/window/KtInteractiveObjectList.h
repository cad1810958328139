// KtInteractiveObjectList: the object list of a viewport's interactive objects.
#pragma once

#include "KtObjectList.h"

// An object matches a key when their second 32-bit words are equal (the
// word after the virtual table of an interactive object).
class KtInteractiveObjectList : public KtObjectList {
public:
    KtObjectNode* find(void* key) override;       // slot 8
};
