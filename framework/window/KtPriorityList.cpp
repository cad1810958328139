// KtPriorityList: ordered insertion by priority.
#include "KtPriorityList.h"
#include "ListLinks.h"

int KtPriorityList::insertLast(void* object, int owned)
{
    KtObjectNode* node = makeNode(object, owned);
    if (!node)
        return 0;   // out of memory: nothing to link
    if (!last || priorityOf(object) >= priorityOf(last->object))
        return linkLast(node);
    int priority = priorityOf(object);
    KtObjectNode* walk = first();
    for (int i = 0; i < count; ++i, walk = walk->next) {
        if (priorityOf(walk->object) > priority)
            break;
    }
    // walk is never last here, so last stays; before the first node is still
    // the ring position after last.
    ListLinks::linkBefore(walk, node);
    ++count;
    return count;
}
