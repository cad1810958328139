// KtWordList: a KtRecordList whose records are a single 32-bit word.
#pragma once

#include "KtRecordList.h"

// Its nodes hold one word; searches compare that word as for any record list.
class KtWordList : public KtRecordList {
public:
    int insertFirst(const int32_t* record) override;   // slot 5
    int insertLast(const int32_t* record) override;    // slot 7
};
