// KtPrintSurface: forwards change notices to its print area.
#include "KtPrintSurface.h"
#include "KtPrintArea.h"
#include <cstddef>

#ifndef _WIN64
static_assert(offsetof(KtPrintSurface, printArea) == 92 && sizeof(KtPrintSurface) == 96,
              "the one field after KtVSurface's");
#else
static_assert(offsetof(KtPrintSurface, printArea) >= sizeof(KtVSurface), "after KtVSurface's fields");
#endif

KtPrintSurface::~KtPrintSurface() = default;

void KtPrintSurface::changed(const KtRect* area)
{
    if (printArea)
        printArea->changed(area);
}
