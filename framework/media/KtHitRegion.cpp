// KtHitRegion: region lookup in the mask picture, the mouse test and detaching from a viewport.
#include "KtHitRegion.h"
#include "KtViewport.h"
#include <cstddef>

// Scenario modules that lay the object out by hand put the members here.
struct KtHitRegionLayout {
#ifndef _WIN64
    static_assert(offsetof(KtHitRegion, info) == 8, "the picture's header");
    static_assert(offsetof(KtHitRegion, bits) == 12, "the picture's pixels");
    static_assert(offsetof(KtHitRegion, left) == 96);
    static_assert(offsetof(KtHitRegion, top) == 100);
    static_assert(offsetof(KtHitRegion, owner) == 104);
    static_assert(offsetof(KtHitRegion, event) == 108);
    static_assert(offsetof(KtHitRegion, skipZero) == 124);
    static_assert(offsetof(KtHitRegion, callback) == 128);
    static_assert(offsetof(KtHitRegion, group) == 136);
    static_assert(offsetof(KtHitRegion, currentRegion) == 140);
    static_assert(offsetof(KtHitRegion, coverShown) == 152);
    static_assert(offsetof(KtHitRegion, cover) == 156);
    static_assert(offsetof(KtHitRegion, cover) + offsetof(KtVSurface, info) == 164, "the cover's header");
    static_assert(offsetof(KtHitRegion, lastX) == 356);
    static_assert(offsetof(KtHitRegion, lastY) == 360);
    static_assert(sizeof(KtHitRegion) == 364);
#else
    static_assert(offsetof(KtHitRegion, left) < offsetof(KtHitRegion, top));
    static_assert(offsetof(KtHitRegion, top) < offsetof(KtHitRegion, owner));
    static_assert(offsetof(KtHitRegion, owner) < offsetof(KtHitRegion, event));
    static_assert(offsetof(KtHitRegion, event) < offsetof(KtHitRegion, skipZero));
    static_assert(offsetof(KtHitRegion, skipZero) < offsetof(KtHitRegion, callback));
    static_assert(offsetof(KtHitRegion, callback) < offsetof(KtHitRegion, group));
    static_assert(offsetof(KtHitRegion, group) < offsetof(KtHitRegion, currentRegion));
    static_assert(offsetof(KtHitRegion, currentRegion) < offsetof(KtHitRegion, coverShown));
    static_assert(offsetof(KtHitRegion, coverShown) < offsetof(KtHitRegion, cover));
    static_assert(offsetof(KtHitRegion, cover) < offsetof(KtHitRegion, lastX));
    static_assert(offsetof(KtHitRegion, lastX) < offsetof(KtHitRegion, lastY));
#endif
};

KtHitRegion::KtHitRegion(int x, int y, Callback report, BOOL zeroIsNoRegion, KtHitRegion* sharedWith)
    : reserved92(0), left(x), top(y), owner(nullptr), reserved116{}, skipZero(zeroIsNoRegion ? 1 : 0),
      callback(report), reserved132(0), group(sharedWith), currentRegion(-1), reserved144{},
      coverShown(0), reserved248{}, lastX(0), lastY(0)
{
    create(16, 16);
    event.create(TRUE, FALSE);
}

KtHitRegion::~KtHitRegion() = default;

void KtHitRegion::attachTo(KtViewport& viewport, BOOL owned)
{
    KtCriticalSection::Hold hold(viewport.objectLock);
    owner = &viewport;
    viewport.objects.add(this, owned ? 1 : 0);
}

BOOL KtHitRegion::mouseTest(UINT message, WPARAM wParam, LPARAM lParam)
{
    lastX = LOWORD(lParam);
    lastY = HIWORD(lParam);
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        sharedRegion() = -2;   // a press reports even within the same region
    else if (message != WM_MOUSEMOVE)
        return FALSE;
    const int region = regionAt(lastX, lastY);
    if (region == -1 || (skipZero && region == 0))
        return FALSE;
    if (region != sharedRegion() && callback)
        callback(group ? group : this, message, region);
    sharedRegion() = region;
    return TRUE;
}

int KtHitRegion::regionAt(int x, int y) const
{
    const int column = x - left, row = y - top;
    if (!hasPixels() || column < 0 || row < 0 || column >= width() || row >= height())
        return -1;
    return *pixelAddress(column, row);
}

void KtHitRegion::detach()
{
    if (coverShown)
        putCoverBack();
    event.signal();
    event.close();
    owner = nullptr;
}

void KtHitRegion::putCoverBack()
{
    if (!owner || !cover.hasPixels())
        return;
    cover.transfer(owner->surface, left, top, 0, 0, cover.width(), cover.height(), -2);
    RECT area = {left, top, left + cover.width(), top + cover.height()};
    owner->redrawRect(&area, FALSE);
}
