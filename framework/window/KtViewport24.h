// KtViewport24: a child window that shows a true-colour surface.
#pragma once
#include "KtChildWindow.h"
#include "KtVSurface24.h"

// As KtViewport without text input and objects: WM_PAINT copies the invalid
// part of the 32-bit surface and nothing else. The layer viewport derives
// from it. Scenario modules reach the fields by position and the slots by
// number.
class KtViewport24 : public KtChildWindow {
public:
    // The surface takes the rectangle's size.
    KtViewport24(HWND parentWindow, const KtString& name, const KtRect& area);
    // Frees the surface, then KtWindow closes the window.
    ~KtViewport24() override;                                     // 0

    int windowType() override;                                    // 1: 13
    UINT classStyle() override;                                   // 13: CS_BYTEALIGNCLIENT
    HBRUSH classBackground() override;                            // 18: none
    const char* className() override;                             // 20
    const char* windowName() override;                            // 22
    int showCommand() override;                                   // 31: showCmd
    // void onPaint(PAINTSTRUCT* ps): copies the surface under the paint rectangle.
    void onPaint(PAINTSTRUCT* paint) override;                    // 35

    // --- Slots of its own -------------------------------------------------------
    virtual int createShown(int command);                         // 85

    KtVSurface24 surface;   // 7: the picture of the window
    int paintSuspended;     // 8: non-zero keeps the surface off the screen
    int showCmd;            // 9

protected:
    // Copies the normalised area of the surface to the same place of dc,
    // unless painting is suspended.
    void copySurface(HDC dc, const RECT& area);

private:
    friend struct KtViewport24Layout;
};
