// MainWindow: the application window, its frame modes, screen mode and colour checks.
#pragma once
#include "KtAppWindow.h"

class ScenarioHostWindow;

class MainWindow : public KtAppWindow {
public:
    MainWindow(HINSTANCE instance, char* commandLine, int cmdShow);
    ~MainWindow() override;

    UINT classStyle() override;                                    // 13
    HICON classIcon() override;                                    // 16
    HBRUSH classBackground() override;                             // 18
    const char* className() override;                              // 20
    const char* windowName() override;                             // 22
    DWORD style() override;                                        // 23
    int initialX() override;                                       // 24
    int initialY() override;                                       // 25
    int initialWidth() override;                                   // 26
    int initialHeight() override;                                  // 27
    BOOL onClose() override;                                       // 32
    void onCreated() override;                                     // 33
    void onPaint(PAINTSTRUCT* paint) override;                     // 35
    // (WPARAM bitsPerPixel, LPARAM MAKELPARAM(width, height))
    LRESULT onDisplayChange(WPARAM wParam, LPARAM lParam) override; // 45
    // (WPARAM sizeType, LPARAM MAKELPARAM(clientWidth, clientHeight))
    LRESULT onSize(WPARAM wParam, LPARAM lParam) override;          // 64
    // (WPARAM unused, LPARAM WINDOWPOS*)
    LRESULT onWindowPosChanging(WPARAM wParam, LPARAM lParam) override; // 68

    // Switches the display to the configured mode, when one is configured.
    void setScreenMode();
    // Puts back the mode that was current before setScreenMode changed it.
    void restoreScreenMode();
    // The start-up colour check: false when the player chose to end.
    bool passesColourCheck();

    ScenarioHostWindow* host() const;
    bool fullScreen() const { return frameMode == 1 || frameMode == 2; }

    static constexpr int gameWidth = 640;
    static constexpr int gameHeight = 480;

    int modeChanged;
    int warnOnDepthChange;
    int frameMode;
    void* frameSurface;       // never set: kept so the layout stays as designed
    void* decorations[4];     // never set, likewise

private:
    int initialPosition(const char* valueName, int screen, int game, int offScreen);
    void storePosition();
    void replaceForScreen(int screenWidth, int screenHeight);
};
