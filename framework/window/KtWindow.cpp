// KtWindow: class registration, creation, the shared window procedure and message routing.
#include "KtWindow.h"
#include "Diagnostic.h"
#include <cstddef>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
// Scenario modules read these fields by position.
static_assert(sizeof(KtString) == 12);
static_assert(sizeof(KtWindowHandle) == 20);
static_assert(offsetof(KtWindowHandle, handle) == 4);
static_assert(offsetof(KtWindowHandle, name) == 8);
static_assert(sizeof(KtWindow) == 56);
static_assert(offsetof(KtWindow, parent) == 20);
static_assert(offsetof(KtWindow, cursor) == 40);
static_assert(offsetof(KtWindow, runtimeFlag) == 52);
#pragma GCC diagnostic pop

KtWindow::KtWindow(HWND parentWindow) : runtimeFlag(0)
{
    parent.handle = parentWindow;
    cursor.load(0);
}

KtWindow::KtWindow(HWND parentWindow, const KtString& name) : KtWindowHandle(name), runtimeFlag(0)
{
    parent.handle = parentWindow;
    cursor.load(0);
}

KtWindow::~KtWindow()
{
    if (!alive())
        return;
    // The object is already a plain KtWindow here, so the default onClose
    // grants the close and the window goes before its object.
    HWND window = handle;
    SendMessageA(window, WM_CLOSE, 0, 0);
    // Should the window survive, it must no longer reach this object.
    if (IsWindow(window) && fromHandle(window) == this)
        SetWindowLongA(window, 0, 0);
}

int KtWindow::windowType()
{
    return 2;
}

KtWindow* KtWindow::fromHandle(HWND window)
{
    return reinterpret_cast<KtWindow*>(GetWindowLongA(window, 0));
}

namespace {
void showDiagnostic(HWND window, Diagnostic& diagnostic)
{
    diagnostic.show(GetAncestor(window, GA_ROOT));
}

// Set before the threads that own windows start, read by all of them.
KtWindow::DiagnosticHandler volatile currentDiagnosticHandler = &showDiagnostic;

LRESULT routeToObject(KtWindow* object, HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        return object->windowProc(msg, wParam, lParam);
    } catch (Diagnostic& diagnostic) {
        currentDiagnosticHandler(window, diagnostic);
        return 0;
    }
}
}  // namespace

KtWindow::DiagnosticHandler KtWindow::setDiagnosticHandler(DiagnosticHandler handler)
{
    DiagnosticHandler old = currentDiagnosticHandler;
    currentDiagnosticHandler = handler ? handler : &showDiagnostic;
    return old;
}

KtWindow::DiagnosticHandler KtWindow::diagnosticHandler()
{
    return currentDiagnosticHandler;
}

LRESULT CALLBACK KtWindow::staticWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (KtWindow* object = fromHandle(window)) {
        LRESULT result = routeToObject(object, window, msg, wParam, lParam);
        // Nothing may reach the object once the window is gone for good.
        if (msg == WM_NCDESTROY)
            SetWindowLongA(window, 0, 0);
        return result;
    }
    if (msg == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* object = static_cast<KtWindow*>(create->lpCreateParams);
        if (object) {
            SetWindowLongA(window, 0, reinterpret_cast<LONG>(object));
            // Recorded now rather than when CreateWindowExA returns, so that
            // the messages sent during creation (sizes, moves, activation)
            // reach DefWindowProcA with the real window.
            object->handle = window;
            return routeToObject(object, window, WM_CREATE, reinterpret_cast<WPARAM>(window), lParam);
        }
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT KtWindow::windowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= WM_USER && msg <= 0x7FFF)
        return onUserMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        return paint(wParam, lParam);
    case WM_CLOSE:
        if (!onClose())
            return 0;
        return defaultProc(WM_CLOSE, wParam, lParam);
    case WM_DESTROY: {
        LRESULT result = onDestroy();
        handle = nullptr;
        parent.handle = nullptr;
        return result;
    }
    case WM_CREATE:
        return onCreate(reinterpret_cast<HWND>(wParam), reinterpret_cast<CREATESTRUCTA*>(lParam));
    default:
        return dispatch(msg, wParam, lParam);
    }
}

LRESULT KtWindow::paint(WPARAM wParam, LPARAM lParam)
{
    if (!GetUpdateRect(handle, nullptr, FALSE))
        return defaultProc(WM_PAINT, wParam, lParam);
    PAINTSTRUCT ps;
    BeginPaint(handle, &ps);
    onPaint(&ps);
    EndPaint(handle, &ps);
    return 0;
}

LRESULT KtWindow::dispatch(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_TIMER: return onTimer(w, l);
    case WM_QUERYENDSESSION: return onQueryEndSession(w, l);
    case WM_ENDSESSION: return onEndSession(w, l);
    case WM_COMMAND: return onCommand(w, l);
    case WM_NOTIFY: return onNotify(w, l);
    case WM_SYSCOMMAND: return onSysCommand(w, l);
    case WM_DISPLAYCHANGE: return onDisplayChange(w, l);
    case WM_LBUTTONDBLCLK: return onLButtonDblClk(w, l);
    case WM_LBUTTONDOWN: return onLButtonDown(w, l);
    case WM_LBUTTONUP: return onLButtonUp(w, l);
    case WM_RBUTTONDBLCLK: return onRButtonDblClk(w, l);
    case WM_RBUTTONDOWN: return onRButtonDown(w, l);
    case WM_RBUTTONUP: return onRButtonUp(w, l);
    case WM_MBUTTONDOWN: return onMButtonDown(w, l);
    case WM_MBUTTONUP: return onMButtonUp(w, l);
    case WM_MOUSEMOVE: return onMouseMove(w, l);
    case WM_DROPFILES: return onDropFiles(w, l);
    case WM_SETCURSOR: return onSetCursor(w, l);
    case WM_CHAR: return onChar(w, l);
    case WM_KEYDOWN: return onKeyDown(w, l);
    case WM_KEYUP: return onKeyUp(w, l);
    case WM_SYSCHAR: return onSysChar(w, l);
    case WM_SYSKEYDOWN: return onSysKeyDown(w, l);
    case WM_SYSKEYUP: return onSysKeyUp(w, l);
    case WM_QUERYOPEN: return onQueryOpen(w, l);
    case WM_SIZE: return onSize(w, l);
    case WM_GETMINMAXINFO: return onGetMinMaxInfo(w, l);
    case WM_MOVE: return onMove(w, l);
    case WM_WINDOWPOSCHANGED: return onWindowPosChanged(w, l);
    case WM_WINDOWPOSCHANGING: return onWindowPosChanging(w, l);
    case WM_INITMENUPOPUP: return onInitMenuPopup(w, l);
    case WM_CONTEXTMENU: return onContextMenu(w, l);
    case WM_ACTIVATEAPP: return onActivateApp(w, l);
    case WM_ACTIVATE: return onActivate(w, l);
    case WM_SETFOCUS: return onSetFocus(w, l);
    case WM_KILLFOCUS: return onKillFocus(w, l);
    case WM_HSCROLL: return onHScroll(w, l);
    case WM_VSCROLL: return onVScroll(w, l);
    case WM_PALETTECHANGED: return onPaletteChanged(w, l);
    case WM_QUERYNEWPALETTE: return onQueryNewPalette(w, l);
    case WM_SYSCOLORCHANGE: return onSysColorChange(w, l);
    case WM_NCACTIVATE: return onNcActivate(w, l);
    case WM_IME_CHAR: return onImeChar(w, l);
    case WM_COPYDATA: return onCopyData(w, l);
    case MM_MCINOTIFY: return onMciNotify(w, l);
    case WM_ERASEBKGND: return onEraseBkgnd(w, l);
    default: return onMessage(msg, w, l);
    }
}

LRESULT KtWindow::defaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(handle, msg, wParam, lParam);
}

// --- Creation -------------------------------------------------------------

int KtWindow::create()
{
    if (alive())
        return 0;
    WNDCLASSA wc{};
    wc.style = classStyle();
    wc.lpfnWndProc = &KtWindow::staticWindowProc;
    wc.cbClsExtra = classExtraBytes();
    wc.cbWndExtra = windowExtraBytes();
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = classIcon();
    wc.hCursor = classCursor();
    wc.hbrBackground = classBackground();
    wc.lpszMenuName = classMenuName();
    wc.lpszClassName = className();
    // Only the first window of a class registers it; later ones find it taken.
    int created = RegisterClassA(&wc) ? createWindow(wc.lpszClassName) : createWithClass(className());
    if (created && !wc.hCursor)
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return created;
}

int KtWindow::createWithClass(const char* registeredClass)
{
    if (alive())
        return 0;
    return createWindow(registeredClass);
}

int KtWindow::createWindow(const char* registeredClass)
{
    // Scenario classes may depend on the order in which their parameters are
    // asked for: last argument first.
    HMENU menu = menuHandle();
    HWND parentWindow = parentHandle();
    int height = initialHeight();
    int width = initialWidth();
    int y = initialY();
    int x = initialX();
    DWORD windowStyle = style();
    const char* title = windowName();
    DWORD extended = exStyle();
    HWND created = CreateWindowExA(extended, registeredClass, title, windowStyle, x, y, width, height,
                                   parentWindow, menu, GetModuleHandleA(nullptr), this);
    handle = created;
    if (!created || !IsWindow(created)) {
        handle = nullptr;
        return 0;
    }
    ShowWindow(handle, showCommand());
    update();
    onCreated();
    return 1;
}

const KtCursor& KtWindow::setCursor(const KtCursor& other)
{
    cursor.share(other);
    return other;
}

void KtWindow::loadCursor(const char* idOrName)
{
    cursor.load(idOrName);
}

// --- Class and creation parameters ----------------------------------------

UINT KtWindow::classStyle() { return CS_VREDRAW | CS_HREDRAW; }
int KtWindow::classExtraBytes() { return 0; }
int KtWindow::windowExtraBytes() { return 4; }
HICON KtWindow::classIcon() { return LoadIconA(nullptr, IDI_APPLICATION); }
HCURSOR KtWindow::classCursor() { return nullptr; }
HBRUSH KtWindow::classBackground() { return reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1); }
const char* KtWindow::classMenuName() { return nullptr; }
const char* KtWindow::className() { return "KtWindow"; }
DWORD KtWindow::exStyle() { return 0; }
const char* KtWindow::windowName() { return "KtWindow"; }
DWORD KtWindow::style() { return WS_OVERLAPPEDWINDOW; }
int KtWindow::initialX() { return CW_USEDEFAULT; }
int KtWindow::initialY() { return CW_USEDEFAULT; }
int KtWindow::initialWidth() { return CW_USEDEFAULT; }
int KtWindow::initialHeight() { return CW_USEDEFAULT; }
HWND KtWindow::parentHandle() { return parent.handle; }
HMENU KtWindow::menuHandle() { return loadMenu(nullptr); }
int KtWindow::showCommand() { return SW_SHOWNORMAL; }

HMENU KtWindow::loadMenu(const char* menuName)
{
    if (!menuName || !*menuName)
        return nullptr;
    return LoadMenuA(GetModuleHandleA(nullptr), menuName);
}

// --- Default handlers -------------------------------------------------------

BOOL KtWindow::onClose() { return TRUE; }
void KtWindow::onCreated() {}
LRESULT KtWindow::onMessage(UINT msg, WPARAM w, LPARAM l) { return defaultProc(msg, w, l); }
void KtWindow::onPaint(PAINTSTRUCT*) {}
LRESULT KtWindow::onUserMessage(UINT msg, WPARAM w, LPARAM l) { return defaultProc(msg, w, l); }
LRESULT KtWindow::onDestroy() { return defaultProc(WM_DESTROY, 0, 0); }
LRESULT KtWindow::onCreate(HWND, CREATESTRUCTA*) { return 0; }

LRESULT KtWindow::onSetCursor(WPARAM w, LPARAM l)
{
    if (cursor.handle() && LOWORD(l) == HTCLIENT) {
        SetCursor(cursor.handle());
        return 0;
    }
    return defaultProc(WM_SETCURSOR, w, l);
}

LRESULT KtWindow::onMciNotify(WPARAM, LPARAM) { return 0; }

#define KT_FORWARD(handler, message) \
    LRESULT KtWindow::handler(WPARAM w, LPARAM l) { return defaultProc(message, w, l); }
KT_FORWARD(onTimer, WM_TIMER)
KT_FORWARD(onQueryEndSession, WM_QUERYENDSESSION)
KT_FORWARD(onEndSession, WM_ENDSESSION)
KT_FORWARD(onCommand, WM_COMMAND)
KT_FORWARD(onNotify, WM_NOTIFY)
KT_FORWARD(onSysCommand, WM_SYSCOMMAND)
KT_FORWARD(onDisplayChange, WM_DISPLAYCHANGE)
KT_FORWARD(onLButtonDblClk, WM_LBUTTONDBLCLK)
KT_FORWARD(onLButtonDown, WM_LBUTTONDOWN)
KT_FORWARD(onLButtonUp, WM_LBUTTONUP)
KT_FORWARD(onRButtonDblClk, WM_RBUTTONDBLCLK)
KT_FORWARD(onRButtonDown, WM_RBUTTONDOWN)
KT_FORWARD(onRButtonUp, WM_RBUTTONUP)
KT_FORWARD(onMButtonDown, WM_MBUTTONDOWN)
KT_FORWARD(onMButtonUp, WM_MBUTTONUP)
KT_FORWARD(onMouseMove, WM_MOUSEMOVE)
KT_FORWARD(onDropFiles, WM_DROPFILES)
KT_FORWARD(onChar, WM_CHAR)
KT_FORWARD(onKeyDown, WM_KEYDOWN)
KT_FORWARD(onKeyUp, WM_KEYUP)
KT_FORWARD(onSysChar, WM_SYSCHAR)
KT_FORWARD(onSysKeyDown, WM_SYSKEYDOWN)
KT_FORWARD(onSysKeyUp, WM_SYSKEYUP)
KT_FORWARD(onQueryOpen, WM_QUERYOPEN)
KT_FORWARD(onSize, WM_SIZE)
KT_FORWARD(onGetMinMaxInfo, WM_GETMINMAXINFO)
KT_FORWARD(onMove, WM_MOVE)
KT_FORWARD(onWindowPosChanged, WM_WINDOWPOSCHANGED)
KT_FORWARD(onWindowPosChanging, WM_WINDOWPOSCHANGING)
KT_FORWARD(onInitMenuPopup, WM_INITMENUPOPUP)
KT_FORWARD(onContextMenu, WM_CONTEXTMENU)
KT_FORWARD(onActivateApp, WM_ACTIVATEAPP)
KT_FORWARD(onActivate, WM_ACTIVATE)
KT_FORWARD(onSetFocus, WM_SETFOCUS)
KT_FORWARD(onKillFocus, WM_KILLFOCUS)
KT_FORWARD(onHScroll, WM_HSCROLL)
KT_FORWARD(onVScroll, WM_VSCROLL)
KT_FORWARD(onPaletteChanged, WM_PALETTECHANGED)
KT_FORWARD(onQueryNewPalette, WM_QUERYNEWPALETTE)
KT_FORWARD(onSysColorChange, WM_SYSCOLORCHANGE)
KT_FORWARD(onNcActivate, WM_NCACTIVATE)
KT_FORWARD(onImeChar, WM_IME_CHAR)
KT_FORWARD(onCopyData, WM_COPYDATA)
KT_FORWARD(onEraseBkgnd, WM_ERASEBKGND)
#undef KT_FORWARD
