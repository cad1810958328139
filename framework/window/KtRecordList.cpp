// KtRecordList: insertion, search, removal and walks of the record ring.
#include "KtRecordList.h"
#include "ListLinks.h"
#include "KtLayoutCheck.h"
#include <cstddef>

#ifndef _WIN64
static_assert(sizeof(KtRecordList) == 12, "vtable, count, last");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtRecordList, count) == 4, "count follows the vtable");
static_assert(offsetof(KtRecordList, last) == 8, "last");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtRecordList, count), offsetof(KtRecordList, last)}),
              "vtable, count, last");
#endif

KtRecordNode* const KtRecordList::notFound = reinterpret_cast<KtRecordNode*>(UINTPTR_MAX);

KtRecordList::KtRecordList() : count(0), last(nullptr)
{
}

KtRecordList::~KtRecordList()
{
    KtRecordList::clear();
}

int KtRecordList::forEach(Callback callback)
{
    // Read ahead and count from the start: the callback may remove the
    // record it is given.
    KtRecordNode* node = first();
    int n = count;
    for (int i = 0; i < n; ++i) {
        KtRecordNode* following = node->next;
        if (callback(node->record) == 0)
            return 0;
        node = following;
    }
    return 1;
}

void KtRecordList::removeAll()
{
    clear();
}

void KtRecordList::clear()
{
    KtRecordNode* node = first();
    int n = count;
    count = 0;
    last = nullptr;
    for (int i = 0; i < n; ++i) {
        KtRecordNode* following = node->next;
        KtRecordNode::destroy(node);
        node = following;
    }
}

int KtRecordList::insertNodeFirst(KtRecordNode* node)
{
    if (!isValidNode(node))
        return 0;
    bool wasEmpty = last == nullptr;
    ListLinks::linkFirst(last, node);
    ++count;
    return wasEmpty ? 0 : count;
}

int KtRecordList::insertFirst(const int32_t* record)
{
    return insertNodeFirst(KtRecordNode::make(record));
}

int KtRecordList::insertNodeLast(KtRecordNode* node)
{
    if (!isValidNode(node))
        return 0;
    bool wasEmpty = last == nullptr;
    ListLinks::linkLast(last, node);
    ++count;
    return wasEmpty ? 0 : count;
}

int KtRecordList::insertLast(const int32_t* record)
{
    return insertNodeLast(KtRecordNode::make(record));
}

int KtRecordList::add(const int32_t* record)
{
    return insertLast(record);
}

void KtRecordList::remove(const int32_t* key)
{
    KtRecordNode* node = find(key);
    if (!isValidNode(node))
        return;
    ListLinks::unlink(last, node);
    --count;
    KtRecordNode::destroy(node);
}

KtRecordNode* KtRecordList::find(const int32_t* key)
{
    if (!key)
        return notFound;   // nothing to compare with
    KtRecordNode* node = first();
    for (int i = 0; i < count; ++i, node = node->next) {
        if (node->record[0] == key[0])
            return node;
    }
    return notFound;
}

KtRecordNode* KtRecordList::findChecked(const int32_t* key)
{
    return key ? find(key) : notFound;
}

int KtRecordList::containsNode(KtRecordNode* node)
{
    KtRecordNode* walk = first();
    for (int i = 0; i < count; ++i, walk = walk->next) {
        if (walk == node)
            return 1;
    }
    return 0;
}

int KtRecordList::contains(const int32_t* key)
{
    return isValidNode(find(key));
}

int KtRecordList::containsChecked(const int32_t* key)
{
    return isValidNode(findChecked(key));
}

int KtRecordList::isValidNode(KtRecordNode* node)
{
    return node != nullptr && node != notFound;
}
