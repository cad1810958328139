// KtObjectNode: construction and deletion of an owned object with its node.
#include "KtObjectNode.h"
#include "KtLayoutCheck.h"
#include <cstddef>

#ifndef _WIN64
static_assert(sizeof(KtObjectNode) == 20, "vtable, prev, next, owned, object");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtObjectNode, prev) == 4, "prev follows the vtable");
static_assert(offsetof(KtObjectNode, next) == 8, "next");
static_assert(offsetof(KtObjectNode, owned) == 12, "owned");
static_assert(offsetof(KtObjectNode, object) == 16, "object");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtObjectNode, prev), offsetof(KtObjectNode, next),
                               offsetof(KtObjectNode, owned), offsetof(KtObjectNode, object)}),
              "vtable, prev, next, owned, object");
#endif

KtObjectNode::Owned::~Owned() = default;

KtObjectNode::KtObjectNode(void* item, int isOwned)
    : prev(this), next(this), owned(isOwned), object(item)
{
}

KtObjectNode::~KtObjectNode()
{
    if (owned && object)
        delete static_cast<Owned*>(object);
    object = nullptr;
}
