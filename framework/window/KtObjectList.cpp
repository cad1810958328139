// KtObjectList: insertion, search, removal and walks of the object ring.
#include "KtObjectList.h"
#include "ListLinks.h"
#include "ListWalk.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <cstdint>
#include <new>

#ifndef _WIN64
static_assert(sizeof(KtObjectList) == 12, "vtable, count, last");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtObjectList, count) == 4, "count follows the vtable");
static_assert(offsetof(KtObjectList, last) == 8, "last");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtObjectList, count), offsetof(KtObjectList, last)}),
              "vtable, count, last");
#endif

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
    // The callback may remove any item, the one it is given or others.
    return ListWalk::forEach(*this, [callback](KtObjectNode* node) { return callback(node->object); });
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

void KtObjectList::removeObject(void* object)
{
    KtObjectNode* node = findWhere(object, [](void* item, void* wanted) { return item == wanted; });
    if (node == notFound)
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
