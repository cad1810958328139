// KtWindowHandle: resizing, invalidating and repainting a window it does not own.
#include "KtWindowHandle.h"
#include "KtRect.h"

namespace {

// The rectangle from a corner and a size, with reversed edges swapped.
RECT normalised(int x, int y, int width, int height)
{
    return KtRect(x, y, x + width, y + height).as<RECT>();
}

} // namespace

KtWindowHandle::KtWindowHandle() : handle(nullptr), name(256, nullptr)
{
}

KtWindowHandle::KtWindowHandle(const KtString& name) : handle(nullptr), name(256, name.text())
{
}

KtWindowHandle::~KtWindowHandle()
{
}

int KtWindowHandle::windowType()
{
    return 1;
}

BOOL KtWindowHandle::resize(int width, int height, BOOL repaint)
{
    if (!alive())
        return 0;
    RECT outer;
    GetWindowRect(handle, &outer);
    // MoveWindow places a child in its parent's client coordinates; the window
    // rectangle is on the screen, so a child's corner is mapped back first or
    // every resize would shift it by the parent's position.
    POINT corner{outer.left, outer.top};
    if (GetWindowLongA(handle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(handle), &corner, 1);
    return MoveWindow(handle, corner.x, corner.y, width, height, repaint);
}

void KtWindowHandle::redraw(int x, int y, int width, int height, BOOL erase)
{
    RECT area = normalised(x, y, width, height);
    redrawRect(&area, erase);
}

void KtWindowHandle::redrawRect(const RECT* area, BOOL erase)
{
    invalidateRect(area, erase);
    update();
}

void KtWindowHandle::update()
{
    if (alive())
        UpdateWindow(handle);
}

void KtWindowHandle::invalidate(int x, int y, int width, int height, BOOL erase)
{
    RECT area = normalised(x, y, width, height);
    invalidateRect(&area, erase);
}

void KtWindowHandle::invalidateRect(const RECT* area, BOOL erase)
{
    if (alive())
        InvalidateRect(handle, area, erase);
}
