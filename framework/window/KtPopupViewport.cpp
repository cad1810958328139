// KtPopupViewport: frame sizes, the client viewport, the close rule and activation reports.
#include "KtPopupViewport.h"
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtViewport.h"
#include <cstddef>
#include <new>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtPopupViewport, client) == 56);
static_assert(offsetof(KtPopupViewport, position) == 60);
static_assert(offsetof(KtPopupViewport, clientWidth) == 72);
static_assert(offsetof(KtPopupViewport, clientHeight) == 76);
static_assert(offsetof(KtPopupViewport, hasCaption) == 80);
static_assert(offsetof(KtPopupViewport, showCmd) == 84);
static_assert(offsetof(KtPopupViewport, owner) == 88);
static_assert(offsetof(KtPopupViewport, alwaysActive) == 92);
static_assert(sizeof(KtPopupViewport) == 96);
#pragma GCC diagnostic pop

namespace {
KtViewport* makeViewport(HWND parentWindow, const KtString& name, const KtRect& area)
{
    return new KtViewport(parentWindow, name, area);
}

KtPopupViewport::ClientMaker currentClientMaker = &makeViewport;
}

KtPopupViewport::ClientMaker KtPopupViewport::setClientMaker(ClientMaker maker)
{
    ClientMaker previous = currentClientMaker;
    currentClientMaker = maker;
    return previous;
}

KtPopupViewport::ClientMaker KtPopupViewport::clientMaker()
{
    return currentClientMaker;
}

KtPopupViewport::KtPopupViewport(void* owner, const KtString& name, HWND parentWindow, int x,
                                 int y, int width, int height, BOOL withCaption)
    : KtWindow(parentWindow, name), client(nullptr), position(x, y), clientWidth(width),
      clientHeight(height), hasCaption(withCaption ? 1 : 0), showCmd(SW_SHOWNORMAL), owner(owner),
      alwaysActive(owner ? 1 : 0)
{
}

KtPopupViewport::~KtPopupViewport()
{
    deleteClient();
}

void KtPopupViewport::deleteClient()
{
    delete client;   // closes the child window
    client = nullptr;
}

SIZE KtPopupViewport::frameSize(int width, int height, BOOL withCaption)
{
    if (!withCaption)
        return SIZE{width, height};
    return SIZE{width + 2 * GetSystemMetrics(SM_CXFIXEDFRAME),
                height + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME)};
}

int KtPopupViewport::windowType() { return 6; }
HBRUSH KtPopupViewport::classBackground() { return nullptr; }
const char* KtPopupViewport::className() { return "KtPopupViewport"; }
const char* KtPopupViewport::windowName() { return "KtPopupViewport"; }
DWORD KtPopupViewport::style() { return hasCaption ? (WS_POPUP | WS_CAPTION) : WS_POPUP; }
int KtPopupViewport::initialX() { return position.x; }
int KtPopupViewport::initialY() { return position.y; }
int KtPopupViewport::initialWidth() { return frameSize(clientWidth, clientHeight, hasCaption).cx; }
int KtPopupViewport::initialHeight() { return frameSize(clientWidth, clientHeight, hasCaption).cy; }
int KtPopupViewport::showCommand() { return showCmd; }

BOOL KtPopupViewport::resize(int width, int height, BOOL repaint)
{
    SIZE outer = frameSize(width, height, hasCaption);
    return KtWindow::resize(outer.cx, outer.cy, repaint);
}

void KtPopupViewport::onCreated()
{
    ClientMaker maker = currentClientMaker;
    if (!maker)
        return;
    KtString clientName(256, name.text());
    clientName.append("Client");
    try {
        client = maker(handle, clientName, KtRect(0, 0, clientWidth, clientHeight));
    } catch (const std::bad_alloc&) {
        client = nullptr;
    } catch (const Diagnostic&) {
        // Running inside the window procedure: nothing may unwind through
        // the system's frames. The popup stays open without a client.
        client = nullptr;
    }
    if (client)
        client->create();
}

LRESULT KtPopupViewport::onSysCommand(WPARAM wParam, LPARAM lParam)
{
    // The low four bits of the command are the system's own.
    if (owner && (wParam & 0xFFF0) == SC_CLOSE)
        return 0;
    return KtWindow::onSysCommand(wParam, lParam);
}

LRESULT KtPopupViewport::onActivateApp(WPARAM wParam, LPARAM lParam)
{
    if (!owner)
        return 0;
    DWORD otherThread = static_cast<DWORD>(lParam);
    if (otherThread == GetCurrentThreadId())
        return 0;
    // Every scenario window is made on the window thread, so the thread
    // that owns the popup is the one that passes activation on.
    PostThreadMessageA(GetWindowThreadProcessId(handle, nullptr), KtMessage::passActivation,
                       wParam ? 1 : 0, lParam);
    return 0;
}

LRESULT KtPopupViewport::onNcActivate(WPARAM wParam, LPARAM lParam)
{
    return defaultProc(WM_NCACTIVATE, alwaysActive ? TRUE : wParam, lParam);
}

int KtPopupViewport::createShown(int command)
{
    showCmd = command;
    return create();
}

int KtPopupViewport::setAlwaysActive(int flag)
{
    alwaysActive = flag;
    return flag;
}
