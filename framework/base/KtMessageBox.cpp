// KtMessageBox: default handler, the replaceable hook, and one hook per process.
#include "KtMessageBox.h"

// Every scenario module links its own copy of the framework, and a
// diagnostic thrown in a module shows itself with the module's code. So that
// one hook serves the whole process, the program exports the function that
// runs its hook, and every other copy of the framework forwards to it.
extern "C" __declspec(dllexport) int __cdecl KtMessageBoxDispatch(HWND owner, const char* text,
                                                                  const char* caption, UINT style);

namespace {
// Written before any thread that shows boxes starts; read by all of them.
volatile KtMessageBox::Handler currentHandler = nullptr;

using DispatchFn = int(__cdecl*)(HWND, const char*, const char*, UINT);

DispatchFn processDispatch()
{
    static DispatchFn found = reinterpret_cast<DispatchFn>(
        GetProcAddress(GetModuleHandleA(nullptr), "KtMessageBoxDispatch"));
    return found;
}
}  // namespace

extern "C" int __cdecl KtMessageBoxDispatch(HWND owner, const char* text, const char* caption,
                                            UINT style)
{
    return KtMessageBox::handler()(owner, text, caption, style);
}

int KtMessageBox::callMessageBoxA(HWND owner, const char* text, const char* caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

int KtMessageBox::show(HWND owner, const char* text, const char* caption, UINT style)
{
    text = text ? text : "";
    caption = caption ? caption : "";
    DispatchFn dispatch = processDispatch();
    if (dispatch && dispatch != &KtMessageBoxDispatch)
        return dispatch(owner, text, caption, style);
    return KtMessageBoxDispatch(owner, text, caption, style);
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
