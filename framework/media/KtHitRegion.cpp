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

namespace {
// The reports running on this thread, innermost first. A callback may delete
// the object it was given or the group object; the destructor marks the
// report so that mouseTest writes nothing of theirs once the callback returns.
struct ReportInProgress {
    ReportInProgress(KtHitRegion* object, KtHitRegion* group);
    ~ReportInProgress();
    ReportInProgress(const ReportInProgress&) = delete;
    ReportInProgress& operator=(const ReportInProgress&) = delete;

    static void forget(KtHitRegion* object);

    KtHitRegion* object;
    KtHitRegion* group;
    bool gone;
    ReportInProgress* outer;
};

thread_local ReportInProgress* innermostReport = nullptr;

ReportInProgress::ReportInProgress(KtHitRegion* object, KtHitRegion* group)
    : object(object), group(group), gone(false), outer(innermostReport)
{
    innermostReport = this;
}

ReportInProgress::~ReportInProgress()
{
    innermostReport = outer;
}

void ReportInProgress::forget(KtHitRegion* object)
{
    for (ReportInProgress* report = innermostReport; report; report = report->outer) {
        if (report->object == object || report->group == object)
            report->gone = true;
    }
}
}  // namespace

KtHitRegion::KtHitRegion(int x, int y, Callback report, BOOL zeroIsNoRegion, KtHitRegion* sharedWith)
    : reserved92(0), left(x), top(y), owner(nullptr), reserved116{}, skipZero(zeroIsNoRegion ? 1 : 0),
      callback(report), reserved132(0), group(sharedWith), currentRegion(-1), reserved144{},
      coverShown(0), reserved248{}, lastX(0), lastY(0)
{
    create(16, 16);
    event.create(TRUE, FALSE);
}

KtHitRegion::~KtHitRegion()
{
    ReportInProgress::forget(this);
    leaveOwner();
}

// The viewport would show the next mouse message to a deleted object, and
// read its owner when it goes itself.
void KtHitRegion::leaveOwner()
{
    if (!owner)
        return;
    KtCriticalSection::Hold hold(owner->objectLock);
    KtObjectNode* node = owner->objects.first();
    for (int i = 0; i < owner->objects.count; ++i, node = node->next) {
        if (node->object == this)
            node->owned = 0;   // this object is being deleted already
    }
    for (int before = -1; before != owner->objects.count;) {   // every place it holds
        before = owner->objects.count;
        owner->objects.removeObject(this);
    }
    owner = nullptr;
}

BOOL KtHitRegion::attachTo(KtViewport& viewport, BOOL owned)
{
    {
        KtCriticalSection::Hold hold(viewport.objectLock);
        const int before = viewport.objects.count;
        viewport.objects.add(this, owned ? 1 : 0);
        if (viewport.objects.count > before) {
            owner = &viewport;
            return TRUE;
        }
    }
    if (owned)
        delete this;   // handed over: nobody else would ever delete it
    return FALSE;
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
    if (region != sharedRegion() && callback && !report(message, region))
        return TRUE;   // the object or its group is gone: nothing of theirs is touched
    sharedRegion() = region;
    return TRUE;
}

bool KtHitRegion::report(UINT message, int region)
{
    ReportInProgress call(this, group);
    callback(group ? group : this, message, region);
    return !call.gone;
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
