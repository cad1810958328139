// KtInteractiveObjectList: matching interactive objects by their second word.
#include "KtInteractiveObjectList.h"
#include <cstdint>

namespace {
// The key is the 32-bit field right after the object's table pointer: its
// second word in the 32-bit program, at the pointer's size in any build.
int32_t keyOf(const void* object)
{
    return *reinterpret_cast<const int32_t*>(static_cast<const char*>(object) + sizeof(void*));
}

bool sameSecondWord(void* object, void* key)
{
    return object && keyOf(object) == keyOf(key);
}
}

KtObjectNode* KtInteractiveObjectList::find(void* key)
{
    if (!key)
        return notFound;
    return findWhere(key, &sameSecondWord);
}
