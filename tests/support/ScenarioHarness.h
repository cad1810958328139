// ScenarioHarness: a hidden host window and a KtVelka on it, for tests that run scenario modules.
#pragma once
#include "KtMessage.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include <gtest/gtest.h>
#include <memory>

// Header only: the runtime is linked by the tests that include this, not by
// the support library.

// Stands in for the scenario host window: counts end-of-scenario messages.
class ScenarioHostProbe : public KtWindow {
public:
    ScenarioHostProbe() : KtWindow(nullptr) {}
    const char* className() override { return "KtScenarioHarnessHost"; }
    DWORD style() override { return WS_POPUP; }
    int showCommand() override { return SW_HIDE; }
    LRESULT onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == KtMessage::scenarioEnded)
            ++endMessages;
        return 0;
    }
    int endMessages = 0;
};

class ScenarioHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host_.create());
        velka_.reset(new KtVelka(host_.handle));
    }
    void TearDown() override
    {
        velka_.reset();
        host_.onClose();
    }

    // Pumps this thread's messages until the end of the scenario has been
    // reported to the host window, or the time is up.
    bool waitForEnd(DWORD milliseconds = 10000)
    {
        DWORD until = GetTickCount() + milliseconds;
        while (host_.endMessages == 0) {
            DWORD now = GetTickCount();
            if (static_cast<int>(until - now) <= 0)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
        return velka_->scenarioThread.wait(5000) == WAIT_OBJECT_0;
    }

    DWORD scenarioExitCode()
    {
        DWORD code = 0;
        GetExitCodeThread(velka_->scenarioThread.handle, &code);
        return code;
    }

    ScenarioHostProbe host_;
    std::unique_ptr<KtVelka> velka_;
};
