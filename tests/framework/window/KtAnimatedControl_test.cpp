// KtAnimatedControl: a hidden animation control at its rectangle, made once through slot 85.
#include "KtAnimatedControl.h"
#include "VirtualSlot.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class Parent : public KtWindow {
public:
    Parent() : KtWindow(nullptr) {}
    const char* className() override { return "KtAnimatedControlTestParent"; }
    DWORD style() override { return WS_POPUP | WS_VISIBLE; }
    int initialX() override { return 30; }
    int initialY() override { return 30; }
    int initialWidth() override { return 300; }
    int initialHeight() override { return 200; }
};

TEST(KtAnimatedControl, MadeHiddenWithTheControlClassAtItsRectangle)
{
    Parent parent;
    ASSERT_EQ(1, parent.create());
    KtAnimatedControl control(parent.handle, KtString("clip"), KtRect(10, 15, 110, 75));
    EXPECT_EQ(7, control.windowType());
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD), control.controlStyle);
    EXPECT_EQ(0u, control.controlFlagA);
    EXPECT_EQ(1u, control.controlFlagB);

    ASSERT_EQ(1, (callSlot<int, DWORD>(&control, 85, ACS_TRANSPARENT)));
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | ACS_TRANSPARENT), control.controlStyle);
    char text[32] = {};
    GetClassNameA(control.handle, text, sizeof text);
    EXPECT_STREQ("SysAnimate32", text);
    // The control keeps no window text of its own; the name is what is passed.
    EXPECT_STREQ("KtAnimatedControl", control.windowName());
    EXPECT_EQ(parent.handle, GetParent(control.handle));
    EXPECT_FALSE(IsWindowVisible(control.handle)) << "hidden until the scenario shows it";
    RECT r;
    GetWindowRect(control.handle, &r);
    MapWindowPoints(nullptr, parent.handle, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(15, r.top);
    EXPECT_EQ(100, r.right - r.left);
    EXPECT_EQ(60, r.bottom - r.top);

    // The scenario drives the control through its handle.
    EXPECT_NE(0, SendMessageA(control.handle, ACM_OPENA, 0, reinterpret_cast<LPARAM>("movies\\frames8.avi")));
    HWND first = control.handle;
    EXPECT_EQ(0, control.createControl(0)) << "made once";
    EXPECT_EQ(first, control.handle);
}

TEST(KtAnimatedControl, DeletingTheObjectClosesTheControl)
{
    Parent parent;
    ASSERT_EQ(1, parent.create());
    HWND window = nullptr;
    {
        KtAnimatedControl control(parent.handle, KtString("clip"), KtRect(0, 0, 50, 50));
        ASSERT_EQ(1, control.createControl(0));
        window = control.handle;
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
