// KtHitRegion: a mask picture on a viewport that turns mouse input into region numbers.
#pragma once
#include "KtEvent.h"
#include "KtVSurface.h"
#include <cstdint>

class KtViewport;

// The object is its own region picture: an 8-bit surface whose pixel values
// are region numbers, placed at (left, top) of a viewport's client area. The
// viewport shows it every mouse move and every left or right press first;
// when a region lies under the pointer the object reports it to callback and
// takes the message. Moves report only a change of region, presses always.
//
// Scenario modules may build such objects by hand: the host reads only the
// members below, at fixed byte positions from the object's start (checked at
// compile time), and deletes an object handed over as owned through its
// virtual destructor. This class lays them out for module authors; the words
// named reserved are the module's to keep, the host never reads them.
//
// mouseTest runs on the window thread under the viewport's objectLock, and
// the callback with it.
class KtHitRegion : public KtVSurface {
public:
    // Receives (this object, or the group object when group is set; the
    // message; the region). The caller removes the arguments.
    using Callback = void(__cdecl*)(KtHitRegion* object, UINT message, int region);

    // An empty region picture (16 x 16 until the module loads its mask), an
    // empty cover, an event not yet signalled.
    KtHitRegion(int x, int y, Callback report, BOOL zeroIsNoRegion = FALSE,
                KtHitRegion* sharedWith = nullptr);
    // Leaves its owner's list first (under objectLock), so an object the
    // module deletes is never shown another message. A callback may delete
    // its own object or the group's.
    ~KtHitRegion() override;

    // Adds this object to the viewport's objects under objectLock and makes
    // the viewport its owner; TRUE when it was added. With owned set the
    // viewport deletes the object when it goes, and when the list cannot take
    // it (out of memory) the object is deleted at once and FALSE comes back.
    // Without owned the module keeps it and may delete it at any time; the
    // event tells it when the viewport let go. A failed attach leaves the
    // object without an owner.
    BOOL attachTo(KtViewport& viewport, BOOL owned);

    // --- What the viewport calls -----------------------------------------------
    // Called for WM_MOUSEMOVE, WM_LBUTTONDOWN and WM_RBUTTONDOWN; TRUE when a
    // region lies under the point, which ends the viewport's walk.
    BOOL mouseTest(UINT message, WPARAM wParam, LPARAM lParam);
    // The region under a client point; -1 outside the picture.
    int regionAt(int x, int y) const;
    // Puts the cover back when one is shown, signals and closes the event,
    // forgets the owner.
    void detach();

    int32_t reserved92;
    int32_t left;                   // 96: client x of the picture's top-left corner
    int32_t top;                    // 100
    KtViewport* owner;              // 104: null when detached
    KtEvent event;                  // 108: signalled and closed on detaching
    int32_t reserved116[2];
    int32_t skipZero;               // 124: region 0 counts as no region
    Callback callback;              // 128
    int32_t reserved132;
    KtHitRegion* group;             // 136: holds the current region for all its members
    int32_t currentRegion;          // 140: last reported; -2 after a press
    int32_t reserved144[2];
    int32_t coverShown;             // 152: the cover is on the viewport
    KtVSurface cover;               // 156: put back at (left, top) on detaching
    int32_t reserved248[27];
    int32_t lastX;                  // 356: of the last mouse message
    int32_t lastY;                  // 360

private:
    friend struct KtHitRegionLayout;

    int32_t& sharedRegion() { return group ? group->currentRegion : currentRegion; }
    // Calls callback; false when it deleted this object or the group object.
    bool report(UINT message, int region);
    void leaveOwner();
    void putCoverBack();
};
