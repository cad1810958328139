// KtAppWindow: a top-level application window with the program's message loop.
#pragma once
#include "KtWindow.h"
#include "SystemInfo.h"

class KtAppWindow : public KtWindow {
public:
    KtAppWindow(HINSTANCE instance, char* commandLine, int cmdShow);
    ~KtAppWindow() override;

    int windowType() override;                   // 1: 3
    const char* className() override;            // 20
    const char* windowName() override;           // 22
    LRESULT onDestroy() override;                // 37: ends the message loop

    // Slots added by the application window.
    virtual int run();                           // 85: calls messageLoop
    virtual int messageLoop();                   // 86: until WM_QUIT; its wParam

    HINSTANCE instance;
    char* commandLine;
    int cmdShow;
    KtWindow* client;     // the main child window, owned by the derived class
    SystemInfo sysInfo;
};
