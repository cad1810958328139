// KtWordList: one-word record nodes.
#include "KtWordList.h"

int KtWordList::insertFirst(const int32_t* record)
{
    return insertNodeFirst(KtRecordNode::make(record, 1));
}

int KtWordList::insertLast(const int32_t* record)
{
    return insertNodeLast(KtRecordNode::make(record, 1));
}
