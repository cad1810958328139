// KtHitRegion: region lookup at the picture's edges, reports on change and on presses, groups, and the cover on detaching.
#include "KtHitRegion.h"
#include "KtViewport.h"
#include "ImportPatch.h"
#include "ViewportStage.h"
#include <gtest/gtest.h>
#include <cstring>
#include <new>
#include <vector>

namespace {

struct Report {
    KtHitRegion* object;
    UINT message;
    int region;
    bool operator==(const Report& o) const
    {
        return object == o.object && message == o.message && region == o.region;
    }
};
std::vector<Report> reports;

void remember(KtHitRegion* object, UINT message, int region)
{
    reports.push_back({object, message, region});
}

// A 20 x 10 mask at (left, top): region 1 in the left half, region 2 in the
// right half, and a column of region 0 at x = 9.
void paintMask(KtHitRegion& object)
{
    object.create(20, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            *object.pixelAddress(x, y) = BYTE(x == 9 ? 0 : x < 10 ? 1 : 2);
}

LPARAM at(int x, int y)
{
    return MAKELPARAM(x, y);
}

TEST(HitRegion, RegionsAreLookedUpInsideThePictureOnly)
{
    KtHitRegion object(30, 40, &remember);
    paintMask(object);
    *object.pixelAddress(19, 0) = 7;   // top-right corner, counted from the top
    struct Case { int x, y, region; };
    const Case cases[] = {
        {30, 40, 1},  {49, 40, 7},  {49, 49, 2}, {39, 45, 0},
        {29, 45, -1}, {30, 39, -1},              // left of and above the picture
        {50, 45, -1}, {35, 50, -1},              // on its right and bottom edges
        {-5, -5, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.region, object.regionAt(c.x, c.y)) << c.x << "," << c.y;

    KtHitRegion empty(0, 0, &remember);
    empty.destroy();
    EXPECT_EQ(-1, empty.regionAt(0, 0)) << "an object without a picture has no regions";
}

TEST(HitRegion, MovesReportRegionChangesAndPressesAlwaysReport)
{
    KtHitRegion object(0, 0, &remember);
    paintMask(object);
    reports.clear();
    struct Step { UINT message; int x, y; BOOL taken; };
    const Step steps[] = {
        {WM_MOUSEMOVE, 1, 1, TRUE},     // region 1: reported
        {WM_MOUSEMOVE, 5, 8, TRUE},     // still 1: quiet
        {WM_LBUTTONDOWN, 5, 8, TRUE},   // a press reports again
        {WM_MOUSEMOVE, 12, 3, TRUE},    // region 2
        {WM_RBUTTONDOWN, 12, 3, TRUE},
        {WM_MOUSEMOVE, 9, 3, TRUE},     // region 0 counts without skipZero
        {WM_MOUSEMOVE, 25, 3, FALSE},   // outside: not taken, nothing reported
        {WM_LBUTTONUP, 12, 3, FALSE},   // not a message the object tests
    };
    for (const Step& s : steps)
        EXPECT_EQ(s.taken, object.mouseTest(s.message, 0, at(s.x, s.y))) << s.message << " at " << s.x;
    const std::vector<Report> expected = {
        {&object, WM_MOUSEMOVE, 1}, {&object, WM_LBUTTONDOWN, 1}, {&object, WM_MOUSEMOVE, 2},
        {&object, WM_RBUTTONDOWN, 2}, {&object, WM_MOUSEMOVE, 0},
    };
    EXPECT_EQ(expected, reports);
    EXPECT_EQ(12, object.lastX) << "every message notes its point";
    EXPECT_EQ(3, object.lastY);
}

TEST(HitRegion, WithSkipZeroRegionZeroPassesTheMessageToTheNextObject)
{
    ViewportStage stage;
    KtViewport viewport(stage.handle(), KtString("map"), KtRect(0, 0, 40, 20));
    ASSERT_EQ(1, viewport.create());
    KtHitRegion front(0, 0, &remember, TRUE);
    KtHitRegion back(0, 0, &remember);
    paintMask(front);
    back.create(40, 20);
    back.fill(5, nullptr);
    front.attachTo(viewport, FALSE);
    back.attachTo(viewport, FALSE);
    reports.clear();
    SendMessageA(viewport.handle, WM_MOUSEMOVE, 0, at(9, 5));    // region 0 of front
    EXPECT_EQ(-1, front.currentRegion) << "a skipped region is not remembered";
    SendMessageA(viewport.handle, WM_MOUSEMOVE, 0, at(3, 5));    // region 1 of front
    const std::vector<Report> expected = {{&back, WM_MOUSEMOVE, 5}, {&front, WM_MOUSEMOVE, 1}};
    EXPECT_EQ(expected, reports);
    KtCriticalSection::Hold hold(viewport.objectLock);
    viewport.objects.clear();
}

TEST(HitRegion, ObjectsOfOneGroupShareTheCurrentRegion)
{
    KtHitRegion leader(0, 0, &remember);
    KtHitRegion member(20, 0, &remember, FALSE, &leader);
    KtHitRegion follower(0, 0, &remember, FALSE, &leader);
    paintMask(member);   // regions 1 and 2 from x = 20
    paintMask(follower); // regions 1 and 2 from x = 0
    reports.clear();
    follower.mouseTest(WM_MOUSEMOVE, 0, at(12, 2));   // region 2
    member.mouseTest(WM_MOUSEMOVE, 0, at(32, 2));     // region 2 again, other object: quiet
    member.mouseTest(WM_MOUSEMOVE, 0, at(21, 2));     // region 1
    member.mouseTest(WM_LBUTTONDOWN, 0, at(21, 2));
    const std::vector<Report> expected = {
        {&leader, WM_MOUSEMOVE, 2}, {&leader, WM_MOUSEMOVE, 1}, {&leader, WM_LBUTTONDOWN, 1}};
    EXPECT_EQ(expected, reports);
    EXPECT_EQ(1, leader.currentRegion);
    EXPECT_EQ(-1, member.currentRegion) << "members keep nothing of their own";
}

TEST(HitRegion, DetachingPutsTheCoverBackOnTheViewport)
{
    ASSERT_EQ(32, GetDeviceCaps(GetDC(nullptr), BITSPIXEL)) << "pixel-exact only at depth 24";
    ViewportStage stage;
    KtViewport viewport(stage.handle(), KtString("board"), KtRect(0, 0, 40, 30));
    RGBQUAD red = {0, 0, 255, 0}, blue = {255, 0, 0, 0};
    viewport.surface.setColours(&red, 3, 0, 1);
    viewport.surface.setColours(&blue, 4, 0, 1);
    viewport.surface.fill(3, nullptr);
    ASSERT_EQ(1, viewport.create());

    KtHitRegion lit(5, 6, &remember);
    KtHitRegion plain(25, 15, &remember);   // a place of its own: nothing else paints there
    for (KtHitRegion* o : {&lit, &plain}) {
        o->cover.create(10, 8);
        o->cover.copyColours(viewport.surface);
        o->cover.fill(4, nullptr);
        o->attachTo(viewport, FALSE);
    }
    lit.coverShown = 1;
    lit.detach();
    plain.detach();   // no cover shown: the surface stays as it is
    EXPECT_EQ(nullptr, lit.owner);
    EXPECT_EQ(4, *viewport.surface.pixelAddress(5, 6));
    EXPECT_EQ(4, *viewport.surface.pixelAddress(14, 13));
    EXPECT_EQ(3, *viewport.surface.pixelAddress(15, 13));
    EXPECT_EQ(3, *viewport.surface.pixelAddress(14, 14));
    EXPECT_EQ(RGB(0, 0, 255), ViewportStage::pixel(viewport.handle, 14, 13)) << "the area is repainted";
    EXPECT_EQ(RGB(255, 0, 0), ViewportStage::pixel(viewport.handle, 15, 13));
    EXPECT_EQ(nullptr, plain.owner);
    for (POINT p : {POINT{25, 15}, POINT{34, 22}}) {
        EXPECT_EQ(3, *viewport.surface.pixelAddress(p.x, p.y)) << "a cover not shown is not put back";
        EXPECT_EQ(RGB(255, 0, 0), ViewportStage::pixel(viewport.handle, p.x, p.y));
    }
    KtCriticalSection::Hold hold(viewport.objectLock);
    viewport.objects.clear();
}

// --- Lifetime ------------------------------------------------------------------

// Room for one object that the tests end by hand: once its destructor has
// run the bytes are cleared, so that any later write into the dead object
// shows (and a faulty build that follows its pointers finds them null).
struct ObjectRoom {
    static const unsigned char pattern = 0;
    alignas(16) unsigned char bytes[sizeof(KtHitRegion)];

    KtHitRegion* make(int x, KtHitRegion::Callback report, KtHitRegion* group = nullptr)
    {
        auto* object = new (bytes) KtHitRegion(x, 0, report, FALSE, group);
        paintMask(*object);
        return object;
    }
    void end()
    {
        reinterpret_cast<KtHitRegion*>(bytes)->~KtHitRegion();
        std::memset(bytes, pattern, sizeof bytes);
    }
    bool untouched() const
    {
        for (unsigned char b : bytes)
            if (b != pattern)
                return false;
        return true;
    }
};

ObjectRoom* roomToEnd = nullptr;
void endRoom(KtHitRegion*, UINT, int)
{
    roomToEnd->end();
}

// A module deletes attached objects that the viewport does not own, owned
// ones by mistake, or from a callback (its own object or the group's): the
// object leaves the viewport's list, nothing of it is written afterwards,
// and the viewport no longer sees it.
TEST(HitRegion, AnObjectDeletedAnyWayLeavesItsViewportUntouched)
{
    enum How { byModule, ownedByModule, byItsCallback, groupByMembersCallback };
    struct Case {
        const char* name;
        How how;
    };
    const Case cases[] = {
        {"not owned, deleted by the module", byModule},
        {"owned, deleted by the module", ownedByModule},
        {"deleted by its own callback", byItsCallback},
        {"the group object deleted by a member's callback", groupByMembersCallback},
    };
    ViewportStage stage;
    KtViewport viewport(stage.handle(), KtString("map"), KtRect(0, 0, 40, 20));
    ASSERT_EQ(1, viewport.create());
    for (const Case& c : cases) {
        ObjectRoom room;
        roomToEnd = &room;
        KtHitRegion* member = nullptr;
        if (c.how == groupByMembersCallback) {
            KtHitRegion* leader = room.make(0, &remember);
            member = new KtHitRegion(0, 0, &endRoom, FALSE, leader);
            paintMask(*member);
            member->attachTo(viewport, FALSE);
        } else {
            room.make(0, c.how == byItsCallback ? &endRoom : &remember)
                ->attachTo(viewport, c.how == ownedByModule);
        }
        reports.clear();
        const bool deletedFirst = c.how == byModule || c.how == ownedByModule;
        if (deletedFirst) {
            room.end();
            EXPECT_EQ(0, viewport.objects.count) << c.name;
        }
        if (!deletedFirst || viewport.objects.count == 0)   // else the message would reach the dead object
            SendMessageA(viewport.handle, WM_MOUSEMOVE, 0, at(3, 5));
        EXPECT_TRUE(room.untouched()) << c.name;
        const int expectedLeft = c.how == groupByMembersCallback ? 1 : 0;
        EXPECT_EQ(expectedLeft, viewport.objects.count) << c.name;
        EXPECT_TRUE(reports.empty()) << c.name;
        {
            // Whatever a faulty build left behind is not the viewport's to delete.
            KtCriticalSection::Hold hold(viewport.objectLock);
            KtObjectNode* node = viewport.objects.first();
            for (int i = 0; i < viewport.objects.count; ++i, node = node->next)
                node->owned = 0;
            viewport.objects.clear();
        }
        delete member;
    }
}

#ifdef _WIN64
using BlockSize = unsigned long long;
const char* const nothrowNew = "_ZnwyRKSt9nothrow_t";
#else
using BlockSize = unsigned int;
const char* const nothrowNew = "_ZnwjRKSt9nothrow_t";
#endif
void* noMemory(BlockSize, const std::nothrow_t&) noexcept
{
    return nullptr;
}

int regionDeaths = 0;
class CountedRegion : public KtHitRegion {
public:
    CountedRegion() : KtHitRegion(0, 0, &remember) {}
    ~CountedRegion() override { ++regionDeaths; }
};

// When the viewport's list cannot take the object, the object has no owner,
// and one handed over as owned is deleted rather than lost.
TEST(HitRegion, AnAttachTheListRefusesLeavesNoOwnerAndNoLeak)
{
    ViewportStage stage;
    KtViewport viewport(stage.handle(), KtString("map"), KtRect(0, 0, 40, 20));
    struct Case {
        BOOL owned;
        int deaths;
    };
    for (const Case& c : {Case{TRUE, 1}, Case{FALSE, 0}}) {
        regionDeaths = 0;
        auto* object = new CountedRegion;
        BOOL attached;
        {
            ImportPatch failing("libstdc++-6.dll", nothrowNew, reinterpret_cast<const void*>(&noMemory));
            ASSERT_TRUE(failing.active());
            attached = object->attachTo(viewport, c.owned);
        }
        EXPECT_FALSE(attached) << "owned " << c.owned;
        EXPECT_EQ(0, viewport.objects.count) << "owned " << c.owned;
        EXPECT_EQ(c.deaths, regionDeaths) << "owned " << c.owned;
        if (c.deaths)
            continue;
        EXPECT_EQ(nullptr, object->owner);
        delete object;
    }
    CountedRegion* kept = new CountedRegion;
    EXPECT_TRUE(kept->attachTo(viewport, TRUE));
    EXPECT_EQ(&viewport, kept->owner);
}

}  // namespace
