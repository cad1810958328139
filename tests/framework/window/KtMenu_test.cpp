// KtMenu: the game menu from the program's resources, ownership of the handle, building and tracking.
#include "KtMenu.h"
#include "KtWindow.h"
#include "VirtualSlot.h"
#include "resource.h"
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

std::string itemText(HMENU menu, UINT position)
{
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// A plain hidden window of this thread, to own tracked menus.
class OwnerWindow : public KtWindow {
public:
    OwnerWindow() : KtWindow(nullptr) {}
    const char* className() override { return "KtMenuTestOwner"; }
    DWORD style() override { return WS_POPUP; }
    int showCommand() override { return SW_HIDE; }
};

// Waits (bounded) for the popup menu window of this process to show.
HWND waitForMenuWindow(DWORD milliseconds = 5000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu && IsWindowVisible(menu))
            return menu;
        Sleep(10);
    }
    return nullptr;
}

// Plays keys at the menu once it shows, from another thread, as a player would.
std::thread answerMenu(std::initializer_list<WPARAM> keys)
{
    std::vector<WPARAM> list(keys);
    return std::thread([list] {
        HWND menu = waitForMenuWindow();
        if (!menu)
            return;
        for (WPARAM key : list) {
            PostMessageA(menu, WM_KEYDOWN, key, 0);
            PostMessageA(menu, WM_KEYUP, key, 0xC0000000);
        }
    });
}

TEST(KtMenu, TheGameMenuCarriesItsShiftJisTexts)
{
    KtMenu menu;
    ASSERT_NE(nullptr, menu.loadById(IDR_GAME_MENU));
    EXPECT_EQ("ゲーム", itemText(menu.handle, 0));
    HMENU popup = GetSubMenu(menu.handle, 0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ("ゲームを続ける", itemText(popup, 0));
    EXPECT_EQ(static_cast<UINT>(IDM_GAME_CONTINUE), GetMenuItemID(popup, 0));
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("ゲームを終了", itemText(popup, 2));
    EXPECT_EQ(static_cast<UINT>(IDM_GAME_END), GetMenuItemID(popup, 2));
}

TEST(KtMenu, EachLoadDestroysTheMenuBeforeAndOnlyTheOwnedLoadSetsTheOwner)
{
    HWND owner = reinterpret_cast<HWND>(0x1234);
    KtMenu menu;
    HMENU first = menu.loadOwnedById(owner, 0x10000 | IDR_GAME_MENU);   // high bits ignored
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(owner, menu.ownerWindow);
    HMENU second = menu.loadById(IDR_GAME_MENU);
    ASSERT_NE(nullptr, second);
    EXPECT_FALSE(IsMenu(first));
    EXPECT_TRUE(IsMenu(second));
    EXPECT_EQ(owner, menu.ownerWindow) << "load keeps the owner";
    HMENU made = menu.create();
    EXPECT_FALSE(IsMenu(second));
    EXPECT_EQ(made, menu.handle);
    EXPECT_EQ(nullptr, menu.load("NO_SUCH_MENU"));
    EXPECT_FALSE(IsMenu(made));
    EXPECT_EQ(nullptr, menu.handle);
}

TEST(KtMenu, TheDestructorDestroysTheMenu)
{
    HMENU handle;
    {
        KtMenu menu;
        handle = menu.loadById(IDR_GAME_MENU);
        ASSERT_TRUE(IsMenu(handle));
    }
    EXPECT_FALSE(IsMenu(handle));
}

TEST(KtMenu, ItemsNeedAMenuAndAreBuiltAndRemovedThroughTheirSlots)
{
    KtMenu menu;
    EXPECT_FALSE(menu.appendItem(1, "x", MF_STRING));
    EXPECT_FALSE(menu.remove(1, MF_BYCOMMAND));
    EXPECT_EQ(0, menu.track(10, 10, TPM_RETURNCMD, nullptr));

    ASSERT_NE(nullptr, callSlot<HMENU>(&menu, 1));                              // create
    HMENU sub = CreatePopupMenu();
    EXPECT_TRUE(callSlot<BOOL>(&menu, 7, sub, "ファイル"));                     // appendPopup
    EXPECT_TRUE(AppendMenuA(sub, MF_STRING, 7, "開く"));
    EXPECT_TRUE(callSlot<BOOL>(&menu, 8, 9u, "終わり", static_cast<UINT>(MF_STRING)));  // appendItem
    ASSERT_EQ(2, GetMenuItemCount(menu.handle));
    EXPECT_EQ(sub, GetSubMenu(menu.handle, 0));
    EXPECT_EQ("終わり", itemText(menu.handle, 1));
    EXPECT_TRUE(callSlot<BOOL>(&menu, 11, 9u, static_cast<UINT>(MF_BYCOMMAND)));  // remove
    EXPECT_EQ(1, GetMenuItemCount(menu.handle));
    HWND owner = reinterpret_cast<HWND>(0x4321);
    EXPECT_EQ(owner, callSlot<HWND>(&menu, 6, owner));                           // setOwner
    EXPECT_EQ(owner, menu.ownerWindow);
}

// A menu shown here would block the call until chosen: a watcher answers
// it, so that the fault shows as a failure, not as a hang.
TEST(KtMenu, TrackWithoutOwnerShowsNothing)
{
    KtMenu menu;
    ASSERT_NE(nullptr, menu.loadById(IDR_GAME_MENU));
    bool shown = false;
    std::thread watcher([&shown] {
        HWND window = waitForMenuWindow(1500);
        shown = window != nullptr;
        if (window)
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(0, menu.track(100, 100, TPM_RETURNCMD, nullptr));
    watcher.join();
    EXPECT_FALSE(shown) << "a menu without an owner window is not shown";
}

TEST(KtMenu, TrackReturnsTheChosenCommandSkippingTheSeparatorAndZeroWhenDismissed)
{
    OwnerWindow owner;
    ASSERT_TRUE(owner.create());
    KtMenu menu;
    ASSERT_NE(nullptr, callSlot<HMENU>(&menu, 2, owner.handle, static_cast<int>(IDR_GAME_MENU)));

    std::thread player = answerMenu({VK_DOWN, VK_DOWN, VK_RETURN});
    int chosen = callSlot<int>(&menu, 12, 200, 150, static_cast<UINT>(TPM_RETURNCMD),
                               static_cast<const RECT*>(nullptr));
    player.join();
    EXPECT_EQ(IDM_GAME_END, chosen);

    player = answerMenu({VK_ESCAPE});
    EXPECT_EQ(0, menu.track(200, 150, TPM_RETURNCMD, nullptr));
    player.join();
    owner.onClose();
}

}  // namespace
