// ScenarioHostWindow: the child of the application window that owns the scenario runtime.
#pragma once
#include "KtChildWindow.h"

class KtVelka;
class MainWindow;

class ScenarioHostWindow : public KtChildWindow {
public:
    explicit ScenarioHostWindow(MainWindow& app);
    ~ScenarioHostWindow() override;   // deleting the runtime stops the scenario

    UINT classStyle() override;                                            // 13
    HBRUSH classBackground() override;                                     // 18
    void onCreated() override;                                             // 33: starts the scenario
    void onPaint(PAINTSTRUCT* paint) override;                             // 35
    // 0x4BD: the scenario has ended; close the application.
    LRESULT onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam) override; // 36

    KtVelka* runtime;
    MainWindow* app;
};
