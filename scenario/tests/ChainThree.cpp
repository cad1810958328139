// Test module: three steps, then the chain ends; "hege" and a null entry "none".
#include "KtVelka.h"

namespace {
KtNextStep __cdecl third(KtVelka* velka)
{
    velka->inputCode += 1;
    return nullptr;
}

KtNextStep __cdecl second(KtVelka* velka)
{
    velka->inputCode += 1;
    return ktNext(&third);
}
}  // namespace

// Counts its steps in inputCode, which nothing else writes while no input
// wait is active, so a test can see how many steps ran.
extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    velka->inputCode = 1;
    return ktNext(&second);
}

extern "C" __declspec(dllexport) KtNextStep __cdecl none(KtVelka*)
{
    return nullptr;
}

// Blocks on quitRequest, to test closing while the chain runs.
extern "C" __declspec(dllexport) KtNextStep __cdecl waitForQuit(KtVelka* velka)
{
    velka->quitRequest.wait(60000);
    return nullptr;
}
