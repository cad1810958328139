// Tests of KtAppWindow as modules reach it: its type code and its two slots after the window's.
#include "KtAppWindow.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>

namespace {

// Counts the calls that slot 85 makes to slot 86.
class CountingAppWindow : public KtAppWindow {
public:
    using KtAppWindow::KtAppWindow;
    int messageLoop() override
    {
        ++loops;
        return KtAppWindow::messageLoop();
    }
    int loops = 0;
};

TEST(KtAppWindow, TypeAndSlotsEightyFiveAndSix)
{
    EXPECT_EQ(1, slotNumber(&KtAppWindow::windowType));
    EXPECT_EQ(85, slotNumber(&KtAppWindow::run));
    EXPECT_EQ(86, slotNumber(&KtAppWindow::messageLoop));

    char line[] = "";
    CountingAppWindow app(GetModuleHandleA(nullptr), line, SW_HIDE);
    EXPECT_EQ(3, callSlot<int>(&app, 1));
    // Slot 85 runs the loop of slot 86, which answers WM_QUIT's code.
    PostQuitMessage(42);
    EXPECT_EQ(42, callSlot<int>(&app, 85));
    EXPECT_EQ(1, app.loops);
    PostQuitMessage(7);
    EXPECT_EQ(7, callSlot<int>(&app, 86));
}

}  // namespace
