// KtCriticalSection: initialisation and deletion of the embedded section.
#include "KtCriticalSection.h"

#include <cstddef>

// Scenario modules reach these fields by offset.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(CRITICAL_SECTION) == 24, "the embedded section");
static_assert(sizeof(KtCriticalSection) == 28, "table pointer and section");
static_assert(offsetof(KtCriticalSection, section) == 4, "section after the table pointer");
#pragma GCC diagnostic pop

KtCriticalSection::KtCriticalSection()
{
    InitializeCriticalSection(&section);
}

KtCriticalSection::~KtCriticalSection()
{
    DeleteCriticalSection(&section);
}
