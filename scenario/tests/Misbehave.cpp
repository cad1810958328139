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
    WaitForSingleObject(go, 15000);
    CloseHandle(go);
}
}  // namespace

// An exception that is no Diagnostic: nothing in the host catches it.
extern "C" __declspec(dllexport) KtNextStep __cdecl throwOther(KtVelka*)
{
    awaitGo();
    throw std::runtime_error("not a diagnostic");
}

// A fault: a write through a null pointer.
extern "C" __declspec(dllexport) KtNextStep __cdecl fault(KtVelka*)
{
    awaitGo();
    int* volatile target = nullptr;
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
