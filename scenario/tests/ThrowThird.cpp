// Test module: the third step throws a diagnostic; optionally exports EXCEPTION_ENTRY.
#include "Diagnostic.h"
#include "KtVelka.h"
#include <windows.h>

namespace {
KtNextStep __cdecl third(KtVelka*)
{
    throw CannotReadException("cannot read", "scenario.dat");
}

KtNextStep __cdecl second(KtVelka*)
{
    return ktNext(&third);
}
}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka*)
{
    return ktNext(&second);
}

#ifdef WITH_EXCEPTION_ENTRY
// Shows a box of its own, so that a test watching from outside sees that it
// ran, how often, and that it ran before the diagnostic's box.
extern "C" __declspec(dllexport) KtNextStep __cdecl EXCEPTION_ENTRY(KtVelka*)
{
    MessageBoxA(nullptr, "EXCEPTION_ENTRY", "EXCEPTION_ENTRY", MB_OK | MB_TASKMODAL);
    return nullptr;
}
#endif
