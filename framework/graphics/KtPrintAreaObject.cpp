// KtPrintAreaObject: the default operations do nothing.
#include "KtPrintAreaObject.h"
#include <cstddef>

#ifndef _WIN64
static_assert(offsetof(KtPrintAreaObject, viewport) == 4 && offsetof(KtPrintAreaObject, surface) == 8 &&
              offsetof(KtPrintAreaObject, number) == 12 && offsetof(KtPrintAreaObject, rect) == 16 &&
              offsetof(KtPrintAreaObject, value) == 36 && offsetof(KtPrintAreaObject, active) == 40,
              "fields laid out by scenario modules");
#else
static_assert(offsetof(KtPrintAreaObject, viewport) < offsetof(KtPrintAreaObject, surface) &&
              offsetof(KtPrintAreaObject, surface) < offsetof(KtPrintAreaObject, number) &&
              offsetof(KtPrintAreaObject, number) < offsetof(KtPrintAreaObject, rect) &&
              offsetof(KtPrintAreaObject, rect) < offsetof(KtPrintAreaObject, value) &&
              offsetof(KtPrintAreaObject, value) < offsetof(KtPrintAreaObject, active),
              "fields laid out by scenario modules");
#endif

KtPrintAreaObject::KtPrintAreaObject()
    : viewport(nullptr), surface(nullptr), number(-1), value(0), active(0)
{
}

KtPrintAreaObject::~KtPrintAreaObject() = default;

int KtPrintAreaObject::release(KtWindow*, int)
{
    return 1;
}

void KtPrintAreaObject::moduleSlot2() {}
void KtPrintAreaObject::moduleSlot3() {}
void KtPrintAreaObject::moduleSlot4() {}
void KtPrintAreaObject::moduleSlot5() {}
void KtPrintAreaObject::moduleSlot6() {}
void KtPrintAreaObject::moduleSlot7() {}

void KtPrintAreaObject::detach(KtWindow*) {}
