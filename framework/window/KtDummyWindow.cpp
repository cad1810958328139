// KtDummyWindow: creation parameters of an invisible menu owner.
#include "KtDummyWindow.h"

KtDummyWindow::KtDummyWindow(HWND menuOwner) : KtWindow(menuOwner)
{
}

KtDummyWindow::~KtDummyWindow() = default;

int KtDummyWindow::windowType() { return 19; }
UINT KtDummyWindow::classStyle() { return 0; }
HICON KtDummyWindow::classIcon() { return nullptr; }
HCURSOR KtDummyWindow::classCursor() { return nullptr; }
HBRUSH KtDummyWindow::classBackground() { return nullptr; }
const char* KtDummyWindow::className() { return "KtDummyWindow"; }
const char* KtDummyWindow::windowName() { return "KtDummyWindow"; }
int KtDummyWindow::initialX() { return 0; }
int KtDummyWindow::initialY() { return 0; }
int KtDummyWindow::initialWidth() { return 0; }
int KtDummyWindow::initialHeight() { return 0; }
int KtDummyWindow::showCommand() { return SW_HIDE; }
