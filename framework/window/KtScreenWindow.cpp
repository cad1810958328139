// KtScreenWindow: creation parameters of a window the size of the screen.
#include "KtScreenWindow.h"

KtScreenWindow::KtScreenWindow(HWND parentWindow, const KtString& name) : KtWindow(parentWindow, name)
{
}

KtScreenWindow::~KtScreenWindow() = default;

int KtScreenWindow::windowType() { return 12; }
HBRUSH KtScreenWindow::classBackground() { return nullptr; }
const char* KtScreenWindow::className() { return "KtScreenWindow"; }
const char* KtScreenWindow::windowName() { return "KtScreenWindow"; }
DWORD KtScreenWindow::style() { return WS_POPUP; }
int KtScreenWindow::initialX() { return 0; }
int KtScreenWindow::initialY() { return 0; }
// Read when the window is made, so a display mode changed before that counts.
int KtScreenWindow::initialWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int KtScreenWindow::initialHeight() { return GetSystemMetrics(SM_CYSCREEN); }
