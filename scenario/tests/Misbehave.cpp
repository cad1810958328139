// Test module: steps that end the game in ways a module should not, to prove the host ends in order.
#include "Diagnostic.h"
#include "KtVelka.h"
#include <stdexcept>
#include <windows.h>

namespace {
// The test starts the misbehaviour once it has looked at the running game.
void awaitGo()
{
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "PomeloTestMisbehaveGo");
    WaitForSingleObject(go, 30000);
    CloseHandle(go);
}
}  // namespace

// An exception that is no Diagnostic: nothing in the host catches it.
extern "C" __declspec(dllexport) KtNextStep __cdecl throwOther(KtVelka*)
{
    awaitGo();
    throw std::runtime_error("not a diagnostic");
}

// A fault: a write into memory that is reserved but not committed (the
// lowest page may be mapped under Wine, so a null pointer would not do).
extern "C" __declspec(dllexport) KtNextStep __cdecl fault(KtVelka*)
{
    awaitGo();
    int* volatile target =
        static_cast<int*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS));
    *target = 1;
    return nullptr;
}

// Fails while the game is being closed: its box, owned by the host window,
// comes up while the main thread waits for this thread to end.
extern "C" __declspec(dllexport) KtNextStep __cdecl throwOnQuit(KtVelka* velka)
{
    velka->quitRequest.wait(60000);
    throw CannotWriteException("cannot save", "quit.dat");
}

// Never honours the quit request: the host has to end the game itself.
extern "C" __declspec(dllexport) KtNextStep __cdecl ignoreQuit(KtVelka*)
{
    Sleep(60000);
    return nullptr;
}
