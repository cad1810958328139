// KtRecordNode: allocation of record nodes of seven words or fewer.
#include "KtRecordNode.h"
#include "KtLayoutCheck.h"
#include <cstdlib>
#include <cstring>

#ifndef _WIN64
static_assert(sizeof(KtRecordNode) == 36, "prev, next, seven words");
static_assert(offsetof(KtRecordNode, next) == 4, "next");
static_assert(offsetof(KtRecordNode, record) == 8, "record follows the links");
#else
static_assert(ktFieldsInOrder({offsetof(KtRecordNode, prev), offsetof(KtRecordNode, next),
                               offsetof(KtRecordNode, record)}),
              "prev, next, then the record's words");
#endif

KtRecordNode* KtRecordNode::make(const int32_t* record, int recordWords)
{
    if (!record || recordWords < 1 || recordWords > words)
        return nullptr;
    size_t bytes = offsetof(KtRecordNode, record) + recordWords * sizeof(int32_t);
    KtRecordNode* node = static_cast<KtRecordNode*>(std::malloc(bytes));
    if (!node)
        return nullptr;
    node->prev = node;
    node->next = node;
    std::memcpy(node->record, record, recordWords * sizeof(int32_t));
    return node;
}

void KtRecordNode::destroy(KtRecordNode* node)
{
    std::free(node);
}
