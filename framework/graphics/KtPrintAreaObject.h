// KtPrintAreaObject: the base of the interactive objects a print area holds by number.
#pragma once
#include "KtRect.h"

class KtVSurface;
class KtWindow;

// Scenario modules derive their objects from this class and attach them to a
// print area's objects table; the host only releases them. The layout is
// fixed: the virtual table, then viewport, surface, number, rect, value and
// active. Slot 1 is asked whether the object may go, slot 8 is told that it
// goes; slots 2 to 7 belong to the module.
class KtPrintAreaObject {
public:
    KtPrintAreaObject();
    virtual ~KtPrintAreaObject();                                // 0
    // Asked when an active object is released: more than 0 lets it go
    // inactive (its rectangle is then cleared), 0 or less keeps it active.
    virtual int release(KtWindow* viewport, int value);          // 1
    virtual void moduleSlot2();                                  // 2
    virtual void moduleSlot3();                                  // 3
    virtual void moduleSlot4();                                  // 4
    virtual void moduleSlot5();                                  // 5
    virtual void moduleSlot6();                                  // 6
    virtual void moduleSlot7();                                  // 7
    // Told that the object leaves its viewport.
    virtual void detach(KtWindow* viewport);                     // 8

    KtPrintAreaObject(const KtPrintAreaObject&) = delete;
    KtPrintAreaObject& operator=(const KtPrintAreaObject&) = delete;

    KtWindow* viewport;    // null when the object is on no viewport
    KtVSurface* surface;   // the 8-bit picture of that viewport, where rect lies
    int number;            // its number in the viewport, −1 once detached
    KtRect rect;           // where it is drawn on surface
    int value;             // passed to release
    int active;
};
