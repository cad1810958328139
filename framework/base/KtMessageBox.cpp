// KtMessageBox: default handler and the replaceable hook.
#include "KtMessageBox.h"

namespace {
// Written before any thread that shows boxes starts; read by all of them.
volatile KtMessageBox::Handler currentHandler = nullptr;
}

int KtMessageBox::callMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

int KtMessageBox::show(HWND owner, const char* text, const char* caption, UINT style)
{
    Handler h = currentHandler;
    if (!h)
        h = &callMessageBoxA;
    return h(owner, text ? text : "", caption ? caption : "", style);
}

KtMessageBox::Handler KtMessageBox::setHandler(Handler replacement)
{
    Handler old = handler();
    currentHandler = replacement;
    return old;
}

KtMessageBox::Handler KtMessageBox::handler()
{
    Handler h = currentHandler;
    return h ? h : &callMessageBoxA;
}
