// KtRecordList: insertion, search, removal and walks of the record ring.
#include "KtRecordList.h"
#include "ListLinks.h"
#include "ListWalk.h"
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

namespace {
// A walk of a list on this thread. Records its callbacks remove from that
// list are unlinked at once but freed when the outermost walk of the list
// ends: a record added in the same callback could otherwise take a removed
// one's address, and the walk, which finds its way by addresses, would jump
// to it.
class RecordWalk {
public:
    explicit RecordWalk(const KtRecordList* list) : list_(list), removed_(nullptr), outer_(innermost)
    {
        innermost = this;
    }
    ~RecordWalk()
    {
        innermost = outer_;
        while (removed_) {
            KtRecordNode* following = removed_->next;
            KtRecordNode::destroy(removed_);
            removed_ = following;
        }
    }
    RecordWalk(const RecordWalk&) = delete;
    RecordWalk& operator=(const RecordWalk&) = delete;

    // Frees an unlinked node now, or keeps it for the end of the outermost
    // walk of its list.
    static void release(const KtRecordList* list, KtRecordNode* node)
    {
        RecordWalk* keeper = nullptr;
        for (RecordWalk* walk = innermost; walk; walk = walk->outer_) {
            if (walk->list_ == list)
                keeper = walk;
        }
        if (!keeper) {
            KtRecordNode::destroy(node);
            return;
        }
        node->next = keeper->removed_;
        keeper->removed_ = node;
    }

private:
    static thread_local RecordWalk* innermost;

    const KtRecordList* list_;
    KtRecordNode* removed_;   // chained through next
    RecordWalk* outer_;
};
thread_local RecordWalk* RecordWalk::innermost = nullptr;
}  // namespace

KtRecordList::KtRecordList() : count(0), last(nullptr)
{
}

KtRecordList::~KtRecordList()
{
    KtRecordList::clear();
}

int KtRecordList::forEach(Callback callback)
{
    // The callback may remove any record, the one it is given or others.
    RecordWalk walk(this);
    return ListWalk::forEach(*this, [callback](KtRecordNode* node) { return callback(node->record); });
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
        RecordWalk::release(this, node);
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
    RecordWalk::release(this, node);
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
