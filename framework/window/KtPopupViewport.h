// KtPopupViewport: a top-level popup, with or without a caption, filled by a client viewport.
#pragma once
#include "KtPoint.h"
#include "KtRect.h"
#include "KtViewport.h"
#include "KtWindow.h"

// Made by the scenario runtime with the show command of its creation
// parameters (slot 85). Once shown, it makes its client viewport, which
// covers the client area. Scenario modules read the fields by position.
// The popup never looks into its owner: an owner only means that a scenario
// runs the popup, whose window thread (the thread that made it) hears of
// activation changes.
class KtPopupViewport : public KtWindow {
public:
    // Makes the client viewport of a popup: parent window, name and area in
    // the popup's client coordinates. A plain KtViewport unless another
    // maker is installed; with a null maker, or when making fails, the popup
    // has no client. Returns the maker it replaced.
    using ClientMaker = KtViewport* (*)(HWND parentWindow, const KtString& name, const KtRect& area);
    static ClientMaker setClientMaker(ClientMaker maker);
    static ClientMaker clientMaker();

    // width and height are the client size; owner (the scenario runtime) may be null.
    KtPopupViewport(void* owner, const KtString& name, HWND parentWindow, int x, int y,
                    int width, int height, BOOL withCaption);
    ~KtPopupViewport() override;

    int windowType() override;                                   // 1: 6
    // The width and height given are client sizes; the client viewport keeps its size.
    BOOL resize(int width, int height, BOOL repaint) override;   // 2
    HBRUSH classBackground() override;                           // 18: none
    const char* className() override;                            // 20
    const char* windowName() override;                           // 22
    DWORD style() override;                                      // 23
    int initialX() override;                                     // 24: position.x
    int initialY() override;                                     // 25: position.y
    int initialWidth() override;                                 // 26: frame width
    int initialHeight() override;                                // 27: frame height
    int showCommand() override;                                  // 31: showCmd
    // void onCreated(): makes the client viewport.
    void onCreated() override;                                   // 33
    // onSysCommand(UINT command, POINTS screen): a scenario's popup ignores Close.
    LRESULT onSysCommand(WPARAM wParam, LPARAM lParam) override;  // 44
    // onActivateApp(BOOL active, DWORD otherThreadId): tells the popup's own thread.
    LRESULT onActivateApp(WPARAM wParam, LPARAM lParam) override; // 71
    // onNcActivate(BOOL active, 0): always active frame when asked to.
    LRESULT onNcActivate(WPARAM wParam, LPARAM lParam) override;  // 80

    // --- Slots of its own -------------------------------------------------------
    virtual int createShown(int command);                        // 85
    virtual int setAlwaysActive(int flag);                       // 86

    // The outer size of a popup whose client area is width x height.
    static SIZE frameSize(int width, int height, BOOL withCaption);

    KtViewport* client;   // the client viewport (owned), null until onCreated
    KtPoint position;     // left and top on the screen
    int clientWidth;
    int clientHeight;
    int hasCaption;       // 1: caption and fixed frame; 0: bare popup
    int showCmd;
    void* owner;          // the scenario runtime, not owned and never read; null: no scenario
    int alwaysActive;

private:
    void deleteClient();
};
