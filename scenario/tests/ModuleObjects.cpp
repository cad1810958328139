// Test module: leaves the host windows that call into it (a hit region, a print-area object, a drawing thread), then waits for a quit.
#include "KtHitRegion.h"
#include "KtLayerViewport.h"
#include "KtMessage.h"
#include "KtPrintAreaObject.h"
#include "KtVelka.h"
#include "KtViewport.h"
#include "KtWindowDescription.h"

// Everything below is code of this module: once the module is freed, a host
// that still deletes these objects, reports to the callback or leaves the
// thread running faults. The named events tell the test which of them the
// host ended, and so that it did so while the module was still there.
namespace {
void signalNamed(const char* name)
{
    if (HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
        SetEvent(event);
        CloseHandle(event);
    }
}

void __cdecl regionReport(KtHitRegion*, UINT, int)
{
}

class ModuleRegion : public KtHitRegion {
public:
    ModuleRegion() : KtHitRegion(0, 0, &regionReport) {}
    ~ModuleRegion() override { signalNamed("PomeloTestRegionGone"); }
};

class ModulePrintObject : public KtPrintAreaObject {
public:
    ~ModulePrintObject() override { signalNamed("PomeloTestPrintObjectGone"); }
};

// Recomposes the whole viewport with flush, as fast as it can, until the
// viewport asks it to stop: almost always inside an update of the window.
unsigned __stdcall recomposeUntilStopped(void* argument)
{
    KtLayerViewport* layers = static_cast<KtLayerViewport*>(argument);
    const KtRect all(0, 0, 200, 150);
    while (!layers->stopRequest)
        layers->recompose(all, TRUE);
    signalNamed("PomeloTestAnimationEnded");
    return 0;
}

KtWindow* makeWindow(KtVelka* velka, int kind, const char* name, int top)
{
    static KtWindowDescription record;
    KtWindow* window = nullptr;
    record.kind = kind;
    record.rect = KtRect(0, top, 200, top + 150);
    record.name = KtString(name);
    record.showCmd = 1;
    record.fillColor = 7;
    velka->windowDone.unsignal();
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::createWindow,
                       reinterpret_cast<WPARAM>(&window), reinterpret_cast<LPARAM>(&record));
    velka->windowDone.wait(60000);
    return window;
}
}  // namespace

// inputCode is 1 once everything is in place, 0 when a window was refused.
extern "C" __declspec(dllexport) KtNextStep __cdecl objectsUntilQuit(KtVelka* velka)
{
    auto* viewport = static_cast<KtViewport*>(
        makeWindow(velka, KtWindowDescription::viewport, "module-viewport", 0));
    auto* layers = static_cast<KtLayerViewport*>(
        makeWindow(velka, KtWindowDescription::layerViewport, "module-layers", 150));
    if (!viewport || !layers) {
        velka->inputCode = 0;
        return nullptr;
    }
    (new ModuleRegion)->attachTo(*viewport, TRUE);
    layers->layers[0].objectSource = new ModulePrintObject;
    layers->animationThread.start(&recomposeUntilStopped, layers, 0);
    velka->inputCode = 1;
    velka->quitRequest.wait(60000);
    return nullptr;
}
