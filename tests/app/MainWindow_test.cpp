// The application window's answers to display changes: the low-colour warning and re-placement.
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "MainWindow.h"
#include "MessageBoxRecorder.h"
#include <gtest/gtest.h>

namespace {

// The application window without its scenario: nothing is hosted.
class BareMainWindow : public MainWindow {
public:
    BareMainWindow() : MainWindow(GetModuleHandleA(nullptr), const_cast<char*>(""), SW_SHOWNORMAL) {}
    void onCreated() override {}
};

void setFrameMode(DWORD mode)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    product.setInt(KtRegistryNames::frameMode, mode);
}

RECT windowRect(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

TEST(MainWindow, ADropToEightBitsWarnsOncePerChangeAndMovesNothing)
{
    setFrameMode(0);
    BareMainWindow window;
    ASSERT_TRUE(window.create());
    RECT before = windowRect(window.handle);
    MessageBoxRecorder boxes;
    SendMessageA(window.handle, WM_DISPLAYCHANGE, 8, MAKELPARAM(640, 480));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(window.handle, boxes.last().owner);
    EXPECT_EQ("利用できる色数が２５６色以下に変更されました。\n"
              "以降の動作は保証されませんので、速やかに終了させて下さい。",
              boxes.last().text);
    EXPECT_EQ("KtString class", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);
    SendMessageA(window.handle, WM_DISPLAYCHANGE, 4, MAKELPARAM(640, 480));
    EXPECT_EQ(2u, boxes.count());
    RECT after = windowRect(window.handle);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
}

TEST(MainWindow, ADisplayChangeReplacesTheWindowForTheNewScreen)
{
    setFrameMode(0);
    BareMainWindow window;
    ASSERT_TRUE(window.create());
    MessageBoxRecorder boxes;
    const int frameX = GetSystemMetrics(SM_CXFIXEDFRAME);
    const int frameY = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME);

    // A screen of 640 x 480 or less: the frame lies just off screen.
    SendMessageA(window.handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
    RECT small = windowRect(window.handle);
    EXPECT_EQ(-frameX, small.left);
    EXPECT_EQ(-frameY, small.top);

    // A larger screen: the captioned window is centred.
    SendMessageA(window.handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    RECT large = windowRect(window.handle);
    int width = large.right - large.left;
    int height = large.bottom - large.top;
    EXPECT_EQ((1024 - width) / 2, large.left);
    EXPECT_EQ((768 - height) / 2, large.top);
    EXPECT_EQ(640 + 2 * frameX, width);
    EXPECT_EQ(0u, boxes.count());
}

TEST(MainWindow, FullScreenFramesStayAtTheOriginOnADisplayChange)
{
    setFrameMode(1);
    BareMainWindow window;
    ASSERT_TRUE(window.create());
    SetWindowPos(window.handle, nullptr, -30, -40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(window.handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    RECT r = windowRect(window.handle);
    EXPECT_EQ(0, r.left) << "a negative left becomes 0";
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right - r.left);
    setFrameMode(0);
}

TEST(MainWindow, NoConfiguredModeMeansNoSwitchAndNothingToRestore)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey);
    for (const char* name : {KtRegistryNames::screenWidth, KtRegistryNames::screenHeight,
                             KtRegistryNames::screenDepth})
        RegDeleteValueA(product.handle(), name);
    BareMainWindow window;
    window.setScreenMode();
    EXPECT_EQ(0, window.modeChanged);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(window.sysInfo.displayMode.dmPelsWidth));
    window.restoreScreenMode();
    EXPECT_EQ(0, window.modeChanged);
}

}  // namespace
