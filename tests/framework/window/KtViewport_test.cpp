// KtViewport and KtViewport24: slots, first values, painting read back from the screen, mouse routing and teardown.
#include "KtHitRegion.h"
#include "KtViewport.h"
#include "KtViewport24.h"
#include "ViewportStage.h"
#include "VirtualSlot.h"
#include "WindowPixels.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct SlotCase {
    int slot;
    int viewport;     // slot of KtViewport's member
    int viewport24;   // slot of KtViewport24's member, -1 when not overridden
    const char* what;
};

TEST(ViewportLayout, OverridesAndOwnSlotsSitWhereModulesCallThem)
{
    const SlotCase cases[] = {
        {1, slotNumber(&KtViewport::windowType), slotNumber(&KtViewport24::windowType), "windowType"},
        {12, slotNumber(&KtViewport::windowProc), -1, "windowProc"},
        {13, slotNumber(&KtViewport::classStyle), slotNumber(&KtViewport24::classStyle), "classStyle"},
        {18, slotNumber(&KtViewport::classBackground), slotNumber(&KtViewport24::classBackground), "classBackground"},
        {20, slotNumber(&KtViewport::className), slotNumber(&KtViewport24::className), "className"},
        {22, slotNumber(&KtViewport::windowName), slotNumber(&KtViewport24::windowName), "windowName"},
        {31, slotNumber(&KtViewport::showCommand), slotNumber(&KtViewport24::showCommand), "showCommand"},
        {35, slotNumber(&KtViewport::onPaint), slotNumber(&KtViewport24::onPaint), "onPaint"},
        {57, slotNumber(&KtViewport::onChar), -1, "onChar"},
        {73, slotNumber(&KtViewport::onSetFocus), -1, "onSetFocus"},
        {74, slotNumber(&KtViewport::onKillFocus), -1, "onKillFocus"},
        {81, slotNumber(&KtViewport::onImeChar), -1, "onImeChar"},
        {85, slotNumber(&KtViewport::createShown), slotNumber(&KtViewport24::createShown), "createShown"},
    };
    for (const SlotCase& c : cases) {
        EXPECT_EQ(c.slot, c.viewport) << c.what;
        if (c.viewport24 >= 0) {
            EXPECT_EQ(c.slot, c.viewport24) << c.what;
        }
    }
}

TEST(ViewportLayout, BothClassesStartAsModulesExpect)
{
    ViewportStage stage;
    KtViewport v(stage.handle(), KtString("v8"), KtRect(10, 20, 110, 70));
    KtViewport24 t(stage.handle(), KtString("v24"), KtRect(0, 0, 30, 40));
    EXPECT_EQ(5, callSlot<int>(&v, 1));
    EXPECT_EQ(13, callSlot<int>(&t, 1));
    EXPECT_EQ(100, v.surface.width());
    EXPECT_EQ(50, v.surface.height());
    EXPECT_EQ(30, t.surface.width());
    EXPECT_EQ(40, t.surface.height());
    EXPECT_EQ(1, v.showCmd);
    EXPECT_EQ(1, t.showCmd);
    EXPECT_EQ(16, v.inputMaxLength);
    EXPECT_EQ(RGB(255, 255, 255), v.textColor);

    // Slot 85 keeps the show command it was given and creates the window.
    EXPECT_EQ(1, callSlot<int>(&v, 85, SW_HIDE));
    EXPECT_EQ(SW_HIDE, v.showCmd);
    EXPECT_FALSE(IsWindowVisible(v.handle));
    EXPECT_EQ(1, t.createShown(SW_SHOWNORMAL));
    for (KtWindow* w : {static_cast<KtWindow*>(&v), static_cast<KtWindow*>(&t)}) {
        EXPECT_EQ(static_cast<ULONG_PTR>(CS_BYTEALIGNCLIENT), GetClassLongPtrA(w->handle, GCL_STYLE));
        EXPECT_EQ(0u, GetClassLongPtrA(w->handle, GCLP_HBRBACKGROUND));
        EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
                  GetWindowLongPtrA(w->handle, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
    }
    RECT placed;
    GetWindowRect(v.handle, &placed);
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(20, placed.top);
}

// --- Painting -------------------------------------------------------------------

const uint32_t before = 0x0000FF;   // 0x00RRGGBB, as the screen reads back

// The picture a repaint brings changes from point to point without a
// period, so that a copy from the wrong place of the surface, or one that
// reaches outside the invalid rectangle, shows as a wrong colour.
BYTE patternIndex(int x, int y)
{
    uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    return BYTE(1 + h % 255);   // never index 0, which holds `before`
}

uint32_t indexColour(int i)
{
    return uint32_t(i) << 16 | uint32_t(255 - i) << 8 | 0x40;
}

uint32_t patternColour(const KtViewport&, int x, int y)
{
    return indexColour(patternIndex(x, y));
}

uint32_t patternColour(const KtViewport24&, int x, int y)
{
    return uint32_t(x * 3 % 256) << 16 | uint32_t(y * 5 % 256) << 8 | uint32_t((x + y) % 128 + 128);
}

// The old picture (one colour) or the pattern, in either kind of surface.
void fillWith(KtViewport& v, bool pattern)
{
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = i == 0 ? before : indexColour(i);
        table[i] = RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
    }
    v.surface.setColours(table, 0, 0, 256);
    for (int y = 0; y < v.surface.height(); ++y)
        for (int x = 0; x < v.surface.width(); ++x)
            *v.surface.pixelAddress(x, y) = pattern ? patternIndex(x, y) : 0;
}

void fillWith(KtViewport24& v, bool pattern)
{
    for (int y = 0; y < v.surface.height(); ++y)
        for (int x = 0; x < v.surface.width(); ++x)
            *reinterpret_cast<DWORD*>(v.surface.pixelAddress(x, y)) =
                pattern ? patternColour(v, x, y) : before;
}

// Shows the old picture, changes the surface to the pattern and repaints
// only area, with painting suspended when asked.
template <class Viewport>
void repaintPart(Viewport& v, const RECT& area, bool suspended)
{
    fillWith(v, false);
    ASSERT_EQ(1, v.create());
    v.redrawRect(nullptr, FALSE);
    fillWith(v, true);
    v.paintSuspended = suspended ? 1 : 0;
    v.redrawRect(&area, FALSE);
}

// "" when the window shows the pattern exactly inside `changed` and the old
// picture everywhere else; otherwise the first point that differs.
template <class Viewport>
std::string differsFromRepaint(Viewport& v, const RECT& changed)
{
    const int w = v.surface.width(), h = v.surface.height();
    WindowPixels shown(v.handle, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inside =
                x >= changed.left && x < changed.right && y >= changed.top && y < changed.bottom;
            if (shown.at(x, y) != (inside ? patternColour(v, x, y) : before))
                return (inside ? "inside at " : "outside at ") + std::to_string(x) + "," +
                       std::to_string(y);
        }
    return "";
}

// Shows each area repainted on a fresh pair of viewports; with `suspended`
// nothing of the new surface may reach the screen.
void expectRepaints(const std::vector<RECT>& areas, bool suspended)
{
    ASSERT_EQ(32, GetDeviceCaps(GetDC(nullptr), BITSPIXEL)) << "pixel-exact only at depth 24";
    const RECT nothing = {0, 0, 0, 0};
    int n = 0;
    for (const RECT& area : areas) {
        SCOPED_TRACE(std::to_string(area.left) + "," + std::to_string(area.top) + " to " +
                     std::to_string(area.right) + "," + std::to_string(area.bottom));
        ViewportStage stage;
        const std::string name = "p" + std::to_string(n++);
        KtViewport v(stage.handle(), KtString((name + "8").c_str()), KtRect(0, 0, 64, 48));
        repaintPart(v, area, suspended);
        EXPECT_EQ("", differsFromRepaint(v, suspended ? nothing : area)) << "8-bit";
        KtViewport24 t(stage.handle(), KtString((name + "24").c_str()), KtRect(70, 0, 134, 48));
        repaintPart(t, area, suspended);
        EXPECT_EQ("", differsFromRepaint(t, suspended ? nothing : area)) << "true colour";
    }
}

TEST(ViewportPaint, ExactlyTheInvalidRectangleIsCopied)
{
    expectRepaints({{12, 7, 41, 30},
                    {0, 0, 1, 1},       // the corner every copy is measured from
                    {63, 47, 64, 48}},  // the opposite corner
                   false);
}

TEST(ViewportPaint, ASuspendedViewportRepaintsNothingOfItsSurface)
{
    expectRepaints({{12, 7, 41, 30}, {0, 0, 64, 48}}, true);
}

TEST(ViewportPaint, AReversedPaintRectangleIsNormalised)
{
    ViewportStage stage;
    KtViewport v(stage.handle(), KtString("r8"), KtRect(0, 0, 64, 48));
    KtViewport24 t(stage.handle(), KtString("r24"), KtRect(70, 0, 134, 48));
    const RECT area = {5, 6, 20, 25};
    auto paintReversed = [&](KtWindow& w) {
        PAINTSTRUCT ps = {};
        ps.hdc = GetDC(w.handle);
        ps.rcPaint = RECT{area.right, area.bottom, area.left, area.top};
        w.onPaint(&ps);
        ReleaseDC(w.handle, ps.hdc);
    };
    fillWith(v, false);
    fillWith(t, false);
    ASSERT_EQ(1, v.create());
    ASSERT_EQ(1, t.create());
    ViewportStage::pump();
    fillWith(v, true);
    fillWith(t, true);
    paintReversed(v);
    paintReversed(t);
    EXPECT_EQ("", differsFromRepaint(v, area)) << "8-bit";
    EXPECT_EQ("", differsFromRepaint(t, area)) << "true colour";
}

// --- Mouse routing ------------------------------------------------------------------

// Everything the objects and the viewport saw, in order.
std::vector<std::string> seen;

void record(KtHitRegion* object, UINT message, int region)
{
    seen.push_back("object" + std::to_string(object->reserved92) + ":" + std::to_string(message));
}

// A hit-region object covering the whole viewport with one region number;
// region -1 makes one that never takes a message (nothing lies under it).
KtHitRegion* makeObject(int id, int region)
{
    auto* object = new KtHitRegion(region < 0 ? 1000 : 0, 0, &record);
    object->reserved92 = id;   // the module's own word: the object's name here
    object->create(64, 48);
    object->fill(BYTE(region < 0 ? 0 : region), nullptr);
    return object;
}

class RecordingViewport : public KtViewport {
public:
    explicit RecordingViewport(HWND parent) : KtViewport(parent, KtString("mouse"), KtRect(0, 0, 64, 48)) {}
    LRESULT onMouseMove(WPARAM w, LPARAM l) override { return note("own:512", WM_MOUSEMOVE, w, l); }
    LRESULT onLButtonDown(WPARAM w, LPARAM l) override { return note("own:513", WM_LBUTTONDOWN, w, l); }
    LRESULT onLButtonUp(WPARAM w, LPARAM l) override { return note("own:514", WM_LBUTTONUP, w, l); }
    LRESULT onRButtonDown(WPARAM w, LPARAM l) override { return note("own:516", WM_RBUTTONDOWN, w, l); }
    LRESULT onRButtonUp(WPARAM w, LPARAM l) override { return note("own:517", WM_RBUTTONUP, w, l); }

private:
    LRESULT note(const char* what, UINT msg, WPARAM w, LPARAM l)
    {
        seen.push_back(what);
        return defaultProc(msg, w, l);
    }
};

TEST(ViewportMouse, ObjectsSeePressesAndMovesFirstInOrderUntilOneTakesIt)
{
    ViewportStage stage;
    RecordingViewport v(stage.handle());
    ASSERT_EQ(1, v.create());
    makeObject(1, -1)->attachTo(v, TRUE);   // asked, never takes
    makeObject(2, 3)->attachTo(v, TRUE);    // takes everything
    makeObject(3, 4)->attachTo(v, TRUE);    // never asked

    struct Case { UINT msg; std::vector<std::string> expected; };
    const Case cases[] = {
        {WM_MOUSEMOVE, {"object2:512", "own:512"}},
        {WM_LBUTTONDOWN, {"object2:513", "own:513"}},
        {WM_RBUTTONDOWN, {"object2:516", "own:516"}},
        {WM_LBUTTONUP, {"own:514"}},
        {WM_RBUTTONUP, {"own:517"}},
    };
    for (const Case& c : cases) {
        seen.clear();
        SendMessageA(v.handle, c.msg, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(c.expected, seen) << "message " << c.msg;
    }
    // The object that never takes was asked every time: it noted the point.
    auto* first = static_cast<KtHitRegion*>(v.objects.first()->object);
    EXPECT_EQ(10, first->lastX);
    auto* third = static_cast<KtHitRegion*>(v.objects.last->object);
    EXPECT_EQ(0, third->lastX) << "the walk went past the object that took the message";
}

TEST(ViewportMouse, DeletingTheViewportDetachesOnlyItsOwnObjects)
{
    ViewportStage stage;
    auto* v = new KtViewport(stage.handle(), KtString("gone"), KtRect(0, 0, 64, 48));
    KtViewport other(stage.handle(), KtString("stays"), KtRect(0, 0, 64, 48));
    KtHitRegion mine(0, 0, &record);
    KtHitRegion borrowed(0, 0, &record);
    mine.attachTo(*v, FALSE);
    borrowed.attachTo(other, FALSE);
    {
        KtCriticalSection::Hold hold(v->objectLock);
        v->objects.add(&borrowed, 0);   // listed here, owned by the other viewport
    }
    // A module waiting on the object's event holds a handle of its own.
    HANDLE waiter = nullptr;
    DuplicateHandle(GetCurrentProcess(), mine.event.handle, GetCurrentProcess(), &waiter, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    delete v;
    EXPECT_EQ(nullptr, mine.owner);
    EXPECT_EQ(nullptr, mine.event.handle) << "the event is closed on detaching";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(waiter, 0)) << "and signalled before";
    CloseHandle(waiter);
    EXPECT_EQ(&other, borrowed.owner);
    EXPECT_NE(nullptr, borrowed.event.handle);
    KtCriticalSection::Hold hold(other.objectLock);
    other.objects.clear();   // the objects live on this test's stack
}

}  // namespace
