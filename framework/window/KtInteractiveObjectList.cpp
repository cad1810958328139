// KtInteractiveObjectList: matching interactive objects by their second word.
#include "KtInteractiveObjectList.h"
#include <cstdint>

namespace {
bool sameSecondWord(void* object, void* key)
{
    return object && static_cast<const int32_t*>(object)[1] == static_cast<const int32_t*>(key)[1];
}
}

KtObjectNode* KtInteractiveObjectList::find(void* key)
{
    if (!key)
        return notFound;
    return findWhere(key, &sameSecondWord);
}
