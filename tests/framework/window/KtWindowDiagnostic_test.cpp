// A diagnostic thrown by a window's handler is caught at the window procedure.
#include "Diagnostic.h"
#include "KtWindow.h"
#include "MessageBoxRecorder.h"
#include <gtest/gtest.h>

namespace {

class FailingWindow : public KtWindow {
public:
    explicit FailingWindow(HWND parentWindow) : KtWindow(parentWindow) {}
    const char* className() override { return "KtWindowDiagnosticProbe"; }
    DWORD style() override { return parentHandle() ? WS_CHILD : WS_POPUP; }
    int showCommand() override { return SW_HIDE; }
    LRESULT onLButtonDown(WPARAM, LPARAM) override
    {
        throw CannotOpenException("cannot open", "missing.bmp");
    }
};

HWND seenWindow;
std::string seenMessage;
void recordDiagnostic(HWND window, Diagnostic& diagnostic)
{
    seenWindow = window;
    seenMessage = diagnostic.message();
}

TEST(KtWindowDiagnostic, IsShownOwnedByTheTopLevelWindowAndTheWindowLivesOn)
{
    FailingWindow top(nullptr);
    ASSERT_TRUE(top.create());
    FailingWindow child(top.handle);
    ASSERT_TRUE(child.create());
    MessageBoxRecorder boxes;
    EXPECT_EQ(0, SendMessageA(child.handle, WM_LBUTTONDOWN, 0, 0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(top.handle, boxes.last().owner);
    EXPECT_EQ("missing.bmp", boxes.last().text);
    EXPECT_EQ("cannot open", boxes.last().caption);
    EXPECT_TRUE(IsWindow(child.handle));
}

TEST(KtWindowDiagnostic, GoesToTheInstalledHandler)
{
    FailingWindow window(nullptr);
    ASSERT_TRUE(window.create());
    MessageBoxRecorder boxes;
    KtWindow::DiagnosticHandler previous = KtWindow::setDiagnosticHandler(&recordDiagnostic);
    SendMessageA(window.handle, WM_LBUTTONDOWN, 0, 0);
    KtWindow::setDiagnosticHandler(previous);
    EXPECT_EQ(window.handle, seenWindow);
    EXPECT_EQ("missing.bmp", seenMessage);
    EXPECT_EQ(0u, boxes.count());
}

}  // namespace
