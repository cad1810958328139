// Test module: makes framework objects and leaves them to the host, reports the process-wide state it sees, then throws.
#include "Diagnostic.h"
#include "KtMessageBox.h"
#include "KtRect.h"
#include "KtString.h"
#include "KtVSurface.h"
#include "KtVelka.h"
#include "ModuleHandOver.h"

namespace {

KtNextStep __cdecl fail(KtVelka*)
{
    throw CannotReadException("hand_over", "thrown in the module");
}

void leaveObjects(KtVelka* velka)
{
    auto* handOver = new ModuleHandOver{};
    handOver->text = new KtString("made in the module");
    handOver->area = new KtRect(3, 4, 30, 40);
    handOver->surface = new KtVSurface();
    handOver->surface->create(handOverSurfaceWidth, handOverSurfaceHeight);
    handOver->surface->fill(handOverSurfaceIndex, nullptr);
    handOver->module = GetModuleHandleA("hand_over.dll");
    handOver->current = KtVelka::current();
    handOver->diagnosticHandler = KtWindow::diagnosticHandler();
    handOver->clientMaker = KtPopupViewport::clientMaker();
    handOver->boxAnswer = KtMessageBox::show(nullptr, "from the module", "hand_over",
                                             KtMessageBox::okCancel);
    velka->inputPosition = reinterpret_cast<LPARAM>(handOver);
}

}  // namespace

// "hege" leaves the objects and then throws; "quietly" only leaves them.
extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka* velka)
{
    leaveObjects(velka);
    return ktNext(&fail);
}

extern "C" __declspec(dllexport) KtNextStep __cdecl quietly(KtVelka* velka)
{
    leaveObjects(velka);
    return nullptr;
}
