// KtPrintSurface: the 8-bit surface of a print area, which tells its area what was drawn.
#pragma once
#include "KtVSurface.h"

class KtPrintArea;

// A KtVSurface whose changed slot (23) passes the rectangle on to the print
// area that embeds it; everything else is KtVSurface's. Scenario modules
// draw into it and then call changed, so the layer viewport shows the change.
class KtPrintSurface : public KtVSurface {
public:
    KtPrintSurface() : printArea(nullptr) {}
    ~KtPrintSurface() override;                        // 0
    // Null means the whole surface.
    void changed(const KtRect* area) override;         // 23

    KtPrintArea* printArea;   // set by the area's reset
};
