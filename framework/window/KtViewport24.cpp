// KtViewport24: construction, class parameters and painting of the true-colour viewport.
#include "KtViewport24.h"
#include <cstddef>

// Scenario modules reach these fields by position.
struct KtViewport24Layout {
#ifndef _WIN64
    static_assert(offsetof(KtViewport24, surface) == 76);
    static_assert(offsetof(KtViewport24, paintSuspended) == 168);
    static_assert(offsetof(KtViewport24, showCmd) == 172);
    static_assert(sizeof(KtViewport24) == 176);
#else
    static_assert(offsetof(KtViewport24, surface) < offsetof(KtViewport24, paintSuspended));
    static_assert(offsetof(KtViewport24, paintSuspended) < offsetof(KtViewport24, showCmd));
#endif
};

KtViewport24::KtViewport24(HWND parentWindow, const KtString& name, const KtRect& area)
    : KtChildWindow(parentWindow, name, area), paintSuspended(0), showCmd(SW_SHOWNORMAL)
{
    surface.create(area.width(), area.height());
}

// The surface member goes first; KtWindow then closes the window.
KtViewport24::~KtViewport24() = default;

int KtViewport24::windowType()
{
    return 13;
}

UINT KtViewport24::classStyle()
{
    return CS_BYTEALIGNCLIENT;
}

HBRUSH KtViewport24::classBackground()
{
    return nullptr;   // the surface is the whole picture: nothing to erase
}

const char* KtViewport24::className()
{
    return "KtViewport24";
}

const char* KtViewport24::windowName()
{
    return "KtViewport24";
}

int KtViewport24::showCommand()
{
    return showCmd;
}

int KtViewport24::createShown(int command)
{
    showCmd = command;
    return create();
}

void KtViewport24::onPaint(PAINTSTRUCT* paint)
{
    copySurface(paint->hdc, paint->rcPaint);
}

void KtViewport24::copySurface(HDC dc, const RECT& area)
{
    if (paintSuspended)
        return;
    KtRect r = KtRect::from(area);   // normalised on the way in
    // blitTo reads a zero size as the whole surface; an empty area copies nothing.
    if (r.isEmpty())
        return;
    KtDC target;
    target.attach(dc, KtDC::borrowedKind);
    surface.blitTo(target, r.left, r.top, r.width(), r.height(), r.left, r.top);
}
