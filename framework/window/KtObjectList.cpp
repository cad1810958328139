// KtObjectList: insertion, search, removal and walks of the object ring.
#include "KtObjectList.h"
#include "ListLinks.h"
#include <cstddef>
#include <cstdint>
#include <new>

static_assert(sizeof(KtObjectList) == 12, "vtable, count, last");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtObjectList, count) == 4, "count follows the vtable");
static_assert(offsetof(KtObjectList, last) == 8, "last");
#pragma GCC diagnostic pop

KtObjectNode* const KtObjectList::notFound = reinterpret_cast<KtObjectNode*>(UINTPTR_MAX);

KtObjectList::KtObjectList() : count(0), last(nullptr)
{
}

KtObjectList::~KtObjectList()
{
    KtObjectList::clear();
}

int KtObjectList::forEach(Callback callback)
{
    // At most the items there at the start; the callback may remove any
    // item, the one it is given or others, so the next node is checked
    // again whenever the count has changed under the call.
    KtObjectNode* node = first();
    for (int left = count; left > 0 && node; --left) {
        Neighbours around{node->prev, node->next, node == first()};
        const bool wasLast = node == last;
        const int before = count;
        if (callback(node->object) == 0)
            return 0;
        if (wasLast || !last)
            break;
        node = count == before ? around.following : nextAfterChange(node, around);
    }
    return 1;
}

// The node to visit after node once a callback has changed the list: the
// first of node's old successor, node's new successor and its old
// predecessor's new successor that is still there; none when that would
// wrap round to the start. (node was not last when the callback began.)
KtObjectNode* KtObjectList::nextAfterChange(KtObjectNode* node, const Neighbours& around)
{
    if (KtObjectList::containsNode(around.following))
        return around.following;
    if (KtObjectList::containsNode(node))
        return node == last ? nullptr : node->next;
    if (around.wasFirst)
        return first();
    if (KtObjectList::containsNode(around.previous))
        return around.previous == last ? nullptr : around.previous->next;
    return nullptr;
}

void KtObjectList::removeAll()
{
    clear();
}

void KtObjectList::clear()
{
    KtObjectNode* node = first();
    int n = count;
    count = 0;
    last = nullptr;
    for (int i = 0; i < n; ++i) {
        KtObjectNode* following = node->next;
        delete node;
        node = following;
    }
}

KtObjectNode* KtObjectList::makeNode(void* object, int owned)
{
    return new (std::nothrow) KtObjectNode(object, owned);
}

int KtObjectList::linkFirst(KtObjectNode* node)
{
    bool wasEmpty = last == nullptr;
    ListLinks::linkFirst(last, node);
    ++count;
    return wasEmpty ? 0 : count;
}

int KtObjectList::linkLast(KtObjectNode* node)
{
    bool wasEmpty = last == nullptr;
    ListLinks::linkLast(last, node);
    ++count;
    return wasEmpty ? 0 : count;
}

int KtObjectList::insertFirst(void* object, int owned)
{
    KtObjectNode* node = makeNode(object, owned);
    if (!isValidNode(node))
        return discard(node);
    return linkFirst(node);
}

int KtObjectList::insertLast(void* object, int owned)
{
    KtObjectNode* node = makeNode(object, owned);
    if (!isValidNode(node))
        return discard(node);
    return linkLast(node);
}

// A variant may refuse a node that was made: it is deleted, but the object
// stays the caller's, since the insertion did not happen.
int KtObjectList::discard(KtObjectNode* node)
{
    if (node && node != notFound) {
        node->owned = 0;
        delete node;
    }
    return 0;
}

int KtObjectList::add(void* object, int owned)
{
    return insertLast(object, owned);
}

void KtObjectList::remove(void* key)
{
    KtObjectNode* node = findChecked(key);
    if (!isValidNode(node))
        return;
    ListLinks::unlink(last, node);
    --count;
    delete node;
}

KtObjectNode* KtObjectList::find(void* key)
{
    return findWhere(key, [](void* object, void* wanted) { return object == wanted; });
}

KtObjectNode* KtObjectList::findChecked(void* key)
{
    return key ? find(key) : notFound;
}

int KtObjectList::containsNode(KtObjectNode* node)
{
    KtObjectNode* walk = first();
    for (int i = 0; i < count; ++i, walk = walk->next) {
        if (walk == node)
            return 1;
    }
    return 0;
}

int KtObjectList::contains(void* key)
{
    return isValidNode(find(key));
}

int KtObjectList::containsChecked(void* key)
{
    return isValidNode(findChecked(key));
}

int KtObjectList::isValidNode(KtObjectNode* node)
{
    return node != nullptr && node != notFound;
}
