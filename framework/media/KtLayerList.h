// KtLayerList: the layer viewport's defined layers in ascending priority.
#pragma once
#include "KtPriorityList.h"

// Items are KtPrintArea objects, not owned; their priority field orders them.
class KtLayerList : public KtPriorityList {
public:
    int priorityOf(void* object) override;   // slot 14
};
