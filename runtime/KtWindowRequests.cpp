// KtWindowRequests: the installed handlers for window creation and named destruction.
#include "KtWindowRequests.h"

KtWindowRequests::CreateHandler KtWindowRequests::createHandler_ = &KtWindowRequests::createNothing;
KtWindowRequests::DestroyHandler KtWindowRequests::destroyHandler_ = &KtWindowRequests::destroyNothing;

void KtWindowRequests::install(CreateHandler create, DestroyHandler destroy,
                               CreateHandler* previousCreate, DestroyHandler* previousDestroy)
{
    if (previousCreate)
        *previousCreate = createHandler_;
    if (previousDestroy)
        *previousDestroy = destroyHandler_;
    createHandler_ = create ? create : &createNothing;
    destroyHandler_ = destroy ? destroy : &destroyNothing;
}

void KtWindowRequests::create(KtVelka& velka, void* resultSlot, const void* record)
{
    createHandler_(velka, resultSlot, record);
}

void KtWindowRequests::destroyByName(KtVelka& velka, const char* name)
{
    destroyHandler_(velka, name);
}

void KtWindowRequests::createNothing(KtVelka&, void*, const void*)
{
}

void KtWindowRequests::destroyNothing(KtVelka&, const char*)
{
}
