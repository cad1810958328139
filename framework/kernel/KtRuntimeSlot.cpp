// KtRuntimeSlot: an interlocked pointer, read by any thread.
#include "KtRuntimeSlot.h"
#include <windows.h>

namespace {
void* volatile currentRuntime = nullptr;
}

void* KtRuntimeSlot::get()
{
    return currentRuntime;
}

void* KtRuntimeSlot::set(void* runtime)
{
    return InterlockedExchangePointer(const_cast<void**>(&currentRuntime), runtime);
}

void KtRuntimeSlot::clear(void* runtime)
{
    InterlockedCompareExchangePointer(const_cast<void**>(&currentRuntime), nullptr, runtime);
}
