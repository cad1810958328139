// ModuleHandOver: what the hand_over test module leaves to the host, and what it saw of the host.
#pragma once
#include "KtPopupViewport.h"
#include "KtWindow.h"
#include <windows.h>

class KtRect;
class KtString;
class KtVelka;
class KtVSurface;

// The module allocates this record and puts its address into the runtime's
// inputPosition; the host owns it, and every object it names, from then on.
struct ModuleHandOver {
    // Framework objects made by the module's code, to outlive the module.
    KtString* text;
    KtRect* area;
    KtVSurface* surface;
    // The module's own image, to tell that it is really gone.
    HMODULE module;
    // What the module read of the process-wide state.
    KtVelka* current;
    KtWindow::DiagnosticHandler diagnosticHandler;
    KtPopupViewport::ClientMaker clientMaker;
    int boxAnswer;
};

// The surface the module makes: 8-bit, this size, filled with this index.
constexpr int handOverSurfaceWidth = 13;
constexpr int handOverSurfaceHeight = 7;
constexpr BYTE handOverSurfaceIndex = 0x5A;
