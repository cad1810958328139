// KtAppWindow: type code, names, and the GetMessage loop.
#include "KtAppWindow.h"

KtAppWindow::KtAppWindow(HINSTANCE instanceHandle, char* line, int show)
    : KtWindow(nullptr), instance(instanceHandle), commandLine(line), cmdShow(show),
      client(nullptr)
{
}

KtAppWindow::~KtAppWindow() = default;

int KtAppWindow::windowType()
{
    return 3;
}

const char* KtAppWindow::className()
{
    return "KtAppWindow";
}

const char* KtAppWindow::windowName()
{
    return "KtAppWindow";
}

LRESULT KtAppWindow::onDestroy()
{
    PostQuitMessage(0);
    return 0;
}

int KtAppWindow::run()
{
    return messageLoop();
}

int KtAppWindow::messageLoop()
{
    MSG message;
    // -1 (an invalid call) is taken like any other nonzero result.
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
