// KtMessageBox: default handler and the replaceable hook, one per process.
#include "KtMessageBox.h"

namespace {
// Lives in KtLIB.dll, which the program and every scenario module share, so
// one hook serves every box of the process. Written before any thread that
// shows boxes starts; read by all of them.
volatile KtMessageBox::Handler currentHandler = nullptr;
}  // namespace

int KtMessageBox::callMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

int KtMessageBox::show(HWND owner, const char* text, const char* caption, UINT style)
{
    text = text ? text : "";
    caption = caption ? caption : "";
    return handler()(owner, text, caption, style);
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
