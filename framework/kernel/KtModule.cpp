// KtModule: loading, looking into and freeing the held library.
#include "KtModule.h"

#include <cstddef>

// Scenario modules reach these fields by offset.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(KtModule) == 8, "table pointer and handle");
static_assert(offsetof(KtModule, handle) == 4, "handle after the table pointer");
#pragma GCC diagnostic pop

KtModule::~KtModule()
{
    free();
}

HMODULE KtModule::load(const char* fileName, DWORD flags)
{
    free();
    handle = LoadLibraryExA(fileName, nullptr, flags);
    return handle;
}

BOOL KtModule::free()
{
    if (!handle)
        return FALSE;
    BOOL freed = FreeLibrary(handle);
    handle = nullptr;
    return freed;
}

FARPROC KtModule::procAddress(const char* name) const
{
    return handle ? GetProcAddress(handle, name) : nullptr;
}
