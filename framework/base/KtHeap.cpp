// KtHeap: allocation and release on the process heap.
#include "KtHeap.h"
#include "Diagnostic.h"

static_assert(KtHeap::throwOnFailure == HEAP_GENERATE_EXCEPTIONS,
              "the throwing flag sits on the heap's own exception bit and must be removed");
static_assert(KtHeap::zeroFill == HEAP_ZERO_MEMORY, "zero-fill is the heap's own flag");

void* KtHeap::malloc(DWORD size, DWORD flags)
{
    void* block = size <= largestBlock ? HeapAlloc(GetProcessHeap(), flags & ~throwOnFailure, size)
                                       : nullptr;
    if (!block && (flags & throwOnFailure))
        throw NotEnoughMemoryException("KtHeap - malloc", "メモリが足りません！");
    return block;
}

BOOL KtHeap::free(void* block, DWORD flags)
{
    if (!block)
        return FALSE;
    return HeapFree(GetProcessHeap(), flags & ~throwOnFailure, block);
}
