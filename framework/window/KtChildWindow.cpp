// KtChildWindow: creation parameters taken from its rectangle.
#include "KtChildWindow.h"

KtChildWindow::KtChildWindow(HWND parentWindow, const KtString& name, const KtRect& area)
    : KtWindow(parentWindow, name), rect(area)
{
}

KtChildWindow::~KtChildWindow() = default;

int KtChildWindow::windowType()
{
    return 4;
}

UINT KtChildWindow::classStyle()
{
    return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

const char* KtChildWindow::className()
{
    return "KtChildWindow";
}

const char* KtChildWindow::windowName()
{
    return "KtChildWindow";
}

DWORD KtChildWindow::style()
{
    return WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

int KtChildWindow::initialX()
{
    return rect.left;
}

int KtChildWindow::initialY()
{
    return rect.top;
}

int KtChildWindow::initialWidth()
{
    return rect.right - rect.left;
}

int KtChildWindow::initialHeight()
{
    return rect.bottom - rect.top;
}
