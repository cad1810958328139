// KtWindow: the window base class with its 85 virtual slots and the one window procedure.
#pragma once
#include "KtCursor.h"
#include "KtWindowHandle.h"

// Every window of the system is a KtWindow. Each property of the window (its
// class registration, creation parameters and reaction to each message) is a
// virtual slot with a default, so a derived class changes one aspect by
// overriding one slot. Scenario modules call these slots by position: derived
// classes keep slots 0 to 84 in this order and add their own from slot 85.
// (In the compiled table the destructor takes two entries, so slot n >= 1 is
// entry n + 1.)
//
// The object owns its window: deleting it closes a window that still exists.
// The window never deletes its object.
class Diagnostic;

class KtWindow : public KtWindowHandle {
public:
    explicit KtWindow(HWND parentWindow);
    KtWindow(HWND parentWindow, const KtString& name);
    ~KtWindow() override;                                                // 0

    // --- Slots 1 to 7 come from KtWindowHandle ------------------------------
    int windowType() override;                                           // 1

    // --- Creation and cursor -------------------------------------------------
    // Creates the window with an already registered class; 0 when the window
    // exists already or creation fails.
    virtual int createWithClass(const char* registeredClass);           // 8
    // Registers the class (once per class name) and creates the window.
    virtual int create();                                                // 9
    // Shows the other object's cursor; the other object keeps ownership.
    virtual const KtCursor& setCursor(const KtCursor& other);            // 10
    // A cursor number (as MAKEINTRESOURCE) or a resource or file name.
    virtual void loadCursor(const char* idOrName);                      // 11
    // Routes one message to its handler.
    virtual LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam);  // 12

    // --- Class registration parameters ---------------------------------------
    virtual UINT classStyle();                                           // 13
    virtual int classExtraBytes();                                       // 14
    virtual int windowExtraBytes();                                      // 15
    virtual HICON classIcon();                                           // 16
    virtual HCURSOR classCursor();                                       // 17
    virtual HBRUSH classBackground();                                    // 18
    virtual const char* classMenuName();                                 // 19
    virtual const char* className();                                     // 20

    // --- Creation parameters --------------------------------------------------
    virtual DWORD exStyle();                                             // 21
    virtual const char* windowName();                                    // 22
    virtual DWORD style();                                               // 23
    virtual int initialX();                                              // 24
    virtual int initialY();                                              // 25
    virtual int initialWidth();                                          // 26
    virtual int initialHeight();                                         // 27
    virtual HWND parentHandle();                                         // 28
    virtual HMENU menuHandle();                                          // 29
    // Null for a null or empty name, else the menu from the program's module.
    virtual HMENU loadMenu(const char* menuName);                        // 30
    virtual int showCommand();                                           // 31

    // --- Handlers meant to be overridden -------------------------------------
    // BOOL onClose(): 0 keeps the window open.
    virtual BOOL onClose();                                              // 32
    // void onCreated(): the window exists and has been shown and updated.
    virtual void onCreated();                                            // 33
    // Every message without a handler of its own.
    virtual LRESULT onMessage(UINT msg, WPARAM wParam, LPARAM lParam);   // 34
    // void onPaint(PAINTSTRUCT* ps): between BeginPaint and EndPaint.
    virtual void onPaint(PAINTSTRUCT* paint);                            // 35
    // Messages 0x400 (WM_USER) to 0x7FFF.
    virtual LRESULT onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam); // 36
    // LRESULT onDestroy(): handle is still set; cleared right after.
    virtual LRESULT onDestroy();                                         // 37
    // LRESULT onCreate(HWND window, CREATESTRUCTA* cs): -1 fails creation.
    virtual LRESULT onCreate(HWND window, CREATESTRUCTA* create);        // 38
    // onTimer(UINT_PTR id, TIMERPROC proc)
    virtual LRESULT onTimer(WPARAM wParam, LPARAM lParam);               // 39
    // onQueryEndSession(0, UINT reason)
    virtual LRESULT onQueryEndSession(WPARAM wParam, LPARAM lParam);     // 40
    // onEndSession(BOOL ending, UINT reason)
    virtual LRESULT onEndSession(WPARAM wParam, LPARAM lParam);          // 41
    // onCommand(WORD notify << 16 | WORD id, HWND control)
    virtual LRESULT onCommand(WPARAM wParam, LPARAM lParam);             // 42
    // onNotify(int id, NMHDR* header)
    virtual LRESULT onNotify(WPARAM wParam, LPARAM lParam);              // 43
    // onSysCommand(UINT command, POINTS screen)
    virtual LRESULT onSysCommand(WPARAM wParam, LPARAM lParam);          // 44
    // onDisplayChange(UINT bitsPerPixel, WORD height << 16 | WORD width)
    virtual LRESULT onDisplayChange(WPARAM wParam, LPARAM lParam);       // 45
    // Mouse buttons: (UINT keys, POINTS client position)
    virtual LRESULT onLButtonDblClk(WPARAM wParam, LPARAM lParam);       // 46
    virtual LRESULT onLButtonDown(WPARAM wParam, LPARAM lParam);         // 47
    virtual LRESULT onLButtonUp(WPARAM wParam, LPARAM lParam);           // 48
    virtual LRESULT onRButtonDblClk(WPARAM wParam, LPARAM lParam);       // 49
    virtual LRESULT onRButtonDown(WPARAM wParam, LPARAM lParam);         // 50
    virtual LRESULT onRButtonUp(WPARAM wParam, LPARAM lParam);           // 51
    virtual LRESULT onMButtonDown(WPARAM wParam, LPARAM lParam);         // 52
    virtual LRESULT onMButtonUp(WPARAM wParam, LPARAM lParam);           // 53
    virtual LRESULT onMouseMove(WPARAM wParam, LPARAM lParam);           // 54
    // onDropFiles(HDROP drop, 0)
    virtual LRESULT onDropFiles(WPARAM wParam, LPARAM lParam);           // 55
    // onSetCursor(HWND under, WORD mouseMsg << 16 | WORD hitTest)
    virtual LRESULT onSetCursor(WPARAM wParam, LPARAM lParam);           // 56
    // Keys: (UINT charOrVirtualKey, repeat count and flags)
    virtual LRESULT onChar(WPARAM wParam, LPARAM lParam);                // 57
    virtual LRESULT onKeyDown(WPARAM wParam, LPARAM lParam);             // 58
    virtual LRESULT onKeyUp(WPARAM wParam, LPARAM lParam);               // 59
    virtual LRESULT onSysChar(WPARAM wParam, LPARAM lParam);             // 60
    virtual LRESULT onSysKeyDown(WPARAM wParam, LPARAM lParam);          // 61
    virtual LRESULT onSysKeyUp(WPARAM wParam, LPARAM lParam);            // 62
    // onQueryOpen(0, 0)
    virtual LRESULT onQueryOpen(WPARAM wParam, LPARAM lParam);           // 63
    // onSize(UINT kind, WORD height << 16 | WORD width)
    virtual LRESULT onSize(WPARAM wParam, LPARAM lParam);                // 64
    // onGetMinMaxInfo(0, MINMAXINFO* info)
    virtual LRESULT onGetMinMaxInfo(WPARAM wParam, LPARAM lParam);       // 65
    // onMove(0, POINTS client origin)
    virtual LRESULT onMove(WPARAM wParam, LPARAM lParam);                // 66
    // onWindowPosChanged(0, WINDOWPOS* pos) and onWindowPosChanging(0, WINDOWPOS* pos)
    virtual LRESULT onWindowPosChanged(WPARAM wParam, LPARAM lParam);    // 67
    virtual LRESULT onWindowPosChanging(WPARAM wParam, LPARAM lParam);   // 68
    // onInitMenuPopup(HMENU menu, WORD isWindowMenu << 16 | WORD index)
    virtual LRESULT onInitMenuPopup(WPARAM wParam, LPARAM lParam);       // 69
    // onContextMenu(HWND clicked, POINTS screen)
    virtual LRESULT onContextMenu(WPARAM wParam, LPARAM lParam);         // 70
    // onActivateApp(BOOL active, DWORD otherThreadId)
    virtual LRESULT onActivateApp(WPARAM wParam, LPARAM lParam);         // 71
    // onActivate(WORD minimized << 16 | WORD state, HWND other)
    virtual LRESULT onActivate(WPARAM wParam, LPARAM lParam);            // 72
    // onSetFocus(HWND losing, 0) and onKillFocus(HWND gaining, 0)
    virtual LRESULT onSetFocus(WPARAM wParam, LPARAM lParam);            // 73
    virtual LRESULT onKillFocus(WPARAM wParam, LPARAM lParam);           // 74
    // Scroll bars: (WORD position << 16 | WORD request, HWND bar)
    virtual LRESULT onHScroll(WPARAM wParam, LPARAM lParam);             // 75
    virtual LRESULT onVScroll(WPARAM wParam, LPARAM lParam);             // 76
    // onPaletteChanged(HWND changer, 0)
    virtual LRESULT onPaletteChanged(WPARAM wParam, LPARAM lParam);      // 77
    // onQueryNewPalette(0, 0): TRUE when a palette was realised
    virtual LRESULT onQueryNewPalette(WPARAM wParam, LPARAM lParam);     // 78
    // onSysColorChange(0, 0)
    virtual LRESULT onSysColorChange(WPARAM wParam, LPARAM lParam);      // 79
    // onNcActivate(BOOL active, 0)
    virtual LRESULT onNcActivate(WPARAM wParam, LPARAM lParam);          // 80
    // onImeChar(WORD character, key data): a double-byte character in one message
    virtual LRESULT onImeChar(WPARAM wParam, LPARAM lParam);             // 81
    // onCopyData(HWND sender, COPYDATASTRUCT* data)
    virtual LRESULT onCopyData(WPARAM wParam, LPARAM lParam);            // 82
    // onMciNotify(UINT result, MCIDEVICEID device): 0 by default
    virtual LRESULT onMciNotify(WPARAM wParam, LPARAM lParam);           // 83
    // onEraseBkgnd(HDC dc, 0)
    virtual LRESULT onEraseBkgnd(WPARAM wParam, LPARAM lParam);          // 84

    // --- Internals, not to be overridden --------------------------------------
    // The window procedure of every class that create registers.
    static LRESULT CALLBACK staticWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    // The object behind one of the framework's windows, or null.
    static KtWindow* fromHandle(HWND window);

    // A Diagnostic thrown by a handler cannot unwind through the system's
    // frames of the window procedure: it is caught there and given to this
    // function, on the thread of the window. The default shows it, owned by
    // the window's top-level window. Returns the handler it replaced.
    using DiagnosticHandler = void (*)(HWND window, Diagnostic& diagnostic);
    static DiagnosticHandler setDiagnosticHandler(DiagnosticHandler handler);
    static DiagnosticHandler diagnosticHandler();

    KtWindowHandle parent;   // handle is the parent window; name stays empty
    KtCursor cursor;         // shown over the client area
    int runtimeFlag;         // set by the scenario runtime on movable windows

protected:
    // DefWindowProcA on this window with the message unchanged.
    LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    int createWindow(const char* registeredClass);
    LRESULT paint(WPARAM wParam, LPARAM lParam);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
};
