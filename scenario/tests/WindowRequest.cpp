// Test module: asks the window thread for a window and waits for the answer, then one more step.
#include "KtMessage.h"
#include "KtVelka.h"
#include "KtWindowDescription.h"

namespace {
void* resultSlot = nullptr;
KtWindowDescription record;   // kind 0: no window

KtNextStep __cdecl afterTheWindow(KtVelka* velka)
{
    velka->inputCode = 2;
    return nullptr;
}
}  // namespace

// inputCode tells the test how far the chain got: 1 once the window thread
// answered, 2 if the step after that ran as well.
extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::createWindow,
                       reinterpret_cast<WPARAM>(&resultSlot), reinterpret_cast<LPARAM>(&record));
    velka->windowDone.wait(60000);
    velka->inputCode = 1;
    return ktNext(&afterTheWindow);
}
