// KtWindowRequests: the installed handlers for window creation and named destruction.
#include "KtWindowRequests.h"
#include "KtWindowDescription.h"
#include "KtWindowMaker.h"
#include "KtVelka.h"
#include "KtWindowRegistry.h"

KtWindowRequests::CreateHandler KtWindowRequests::createHandler_ = &KtWindowRequests::winCreate;
KtWindowRequests::DestroyHandler KtWindowRequests::destroyHandler_ = &KtWindowRequests::destroyNotifying;

void KtWindowRequests::install(CreateHandler create, DestroyHandler destroy,
                               CreateHandler* previousCreate, DestroyHandler* previousDestroy)
{
    if (previousCreate)
        *previousCreate = createHandler_;
    if (previousDestroy)
        *previousDestroy = destroyHandler_;
    createHandler_ = create ? create : &winCreate;
    destroyHandler_ = destroy ? destroy : &destroyNotifying;
}

void KtWindowRequests::create(KtVelka& velka, void* resultSlot, const void* record)
{
    createHandler_(velka, resultSlot, record);
}

void KtWindowRequests::destroyByName(KtVelka& velka, const char* name)
{
    destroyHandler_(velka, name);
}

void KtWindowRequests::winCreate(KtVelka& velka, void* resultSlot, const void* record)
{
    KtWindowMaker::winCreate(velka, static_cast<KtWindow**>(resultSlot),
                             *static_cast<const KtWindowDescription*>(record));
}

// The module waits for windowDone after a destruction by name. After a quit
// request the name, which lies in the module's memory, is not read: the
// windows all go when the scenario ends.
void KtWindowRequests::destroyNotifying(KtVelka& velka, const char* name)
{
    if (KtWindowMaker::quitting(velka)) {
        velka.windowDone.signal();
        return;
    }
    KtWindowRegistry::destroyByName(velka, name, TRUE);
}
