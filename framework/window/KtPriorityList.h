// KtPriorityList: an identity list kept in ascending priority of its objects.
#pragma once

#include "KtObjectList.h"

// insertLast (and so add) puts a new object before the first one of higher
// priority: the list stays in ascending priority and equal priorities keep
// their insertion order. The owner says where an object keeps its priority.
class KtPriorityList : public KtObjectList {
public:
    int insertLast(void* object, int owned) override;   // slot 5

    // The signed 32-bit priority of an object of this list.
    virtual int priorityOf(void* object) = 0;          // slot 14
};
