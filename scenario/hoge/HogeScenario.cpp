// The sample game: a short chain of steps that keeps the window up and ends on request.
#include "KtVelka.h"

namespace {

constexpr int stepCount = 60;
constexpr DWORD stepMilliseconds = 1000;
int stepsTaken = 0;

bool quitRequested(KtVelka* velka, DWORD milliseconds)
{
    // The events are reached through their virtual tables: this module has
    // its own copy of the framework code, the objects belong to the host.
    return velka->quitRequest.wait(milliseconds) == WAIT_OBJECT_0;
}

KtNextStep __cdecl tick(KtVelka* velka)
{
    if (quitRequested(velka, stepMilliseconds))
        return nullptr;
    return ++stepsTaken < stepCount ? ktNext(&tick) : nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    stepsTaken = 0;
    return quitRequested(velka, 0) ? nullptr : ktNext(&tick);
}
