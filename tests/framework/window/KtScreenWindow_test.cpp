// KtScreenWindow and KtDummyWindow: a window over the whole screen and an invisible menu owner.
#include "KtDummyWindow.h"
#include "KtScreenWindow.h"
#include <gtest/gtest.h>

namespace {

TEST(KtScreenWindow, CoversExactlyThePrimaryScreen)
{
    KtScreenWindow screen(nullptr, KtString("full"));
    EXPECT_EQ(12, screen.windowType());
    EXPECT_EQ(nullptr, screen.classBackground());
    ASSERT_EQ(1, screen.create());
    RECT r;
    GetWindowRect(screen.handle, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
    EXPECT_EQ(static_cast<LONG>(WS_POPUP), GetWindowLongA(screen.handle, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME));
    char title[32];
    GetWindowTextA(screen.handle, title, sizeof title);
    EXPECT_STREQ("KtScreenWindow", title);
}

TEST(KtDummyWindow, HiddenZeroSizeOwnerClosedWithItsObject)
{
    KtScreenWindow owner(nullptr, KtString("owner"));
    ASSERT_EQ(1, owner.create());
    HWND window = nullptr;
    {
        KtDummyWindow dummy(owner.handle);
        EXPECT_EQ(19, dummy.windowType());
        ASSERT_EQ(1, dummy.create());
        window = dummy.handle;
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(owner.handle, GetWindow(window, GW_OWNER));
        WNDCLASSA cls;
        ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "KtDummyWindow", &cls));
        EXPECT_EQ(0u, cls.style);
        EXPECT_EQ(nullptr, cls.hIcon);
        EXPECT_EQ(nullptr, cls.hbrBackground);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindow(owner.handle));
}

} // namespace
