// ViewportStage: the stage window and the pixel read-back.
#include "ViewportStage.h"

ViewportStage::ViewportStage(int width, int height)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "KtViewportStage";
    RegisterClassA(&wc);   // fails harmlessly for the second stage
    window_ = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "stage",
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                              nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window_);
    pump();
}

ViewportStage::~ViewportStage()
{
    DestroyWindow(window_);
}

void ViewportStage::pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Wakes for the next message or gives up at the time limit.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

COLORREF ViewportStage::pixel(HWND window, int x, int y)
{
    GdiFlush();
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}
