// The end of a game with a module that leaves windows, objects and a drawing thread that call into it.
#include "HangWatchdog.h"
#include "KtMessage.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include "KtWindowRegistry.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

const char* const moduleFile = "module_objects.dll";

// A visible host, so that the module's windows really paint: a drawing
// thread then waits in every update for the window thread to answer.
class VisibleHost : public KtWindow {
public:
    VisibleHost() : KtWindow(nullptr) {}
    const char* className() override { return "KtModuleTeardownHost"; }
    DWORD style() override { return WS_POPUP | WS_VISIBLE; }
    int initialX() override { return 0; }
    int initialY() override { return 0; }
    int initialWidth() override { return 220; }
    int initialHeight() override { return 320; }
    int showCommand() override { return SW_SHOWNOACTIVATE; }
};

// The events the module's code sets when the host ends one of its pieces.
struct Marks {
    HANDLE region = CreateEventA(nullptr, TRUE, FALSE, "PomeloTestRegionGone");
    HANDLE printObject = CreateEventA(nullptr, TRUE, FALSE, "PomeloTestPrintObjectGone");
    HANDLE animation = CreateEventA(nullptr, TRUE, FALSE, "PomeloTestAnimationEnded");
    ~Marks()
    {
        for (HANDLE h : {region, printObject, animation})
            CloseHandle(h);
    }
    static bool set(HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }
};

class ModuleTeardown : public ::testing::Test {
public:   // the cases below reach in from lambdas
    void SetUp() override
    {
        ASSERT_TRUE(host_.create());
        startModule();
    }

    void startModule()
    {
        for (HANDLE h : {marks_.region, marks_.printObject, marks_.animation})
            ResetEvent(h);
        velka_.reset(new KtVelka(host_.handle));
        velka_->inputCode = -1;
        ASSERT_NE(0, velka_->load(moduleFile));
        ASSERT_NE(0, velka_->start("objectsUntilQuit"));
        // Making child windows sends to their parent: this thread answers.
        ASSERT_TRUE(pumpUntil([&] { return velka_->inputCode != -1; }));
        ASSERT_EQ(1, velka_->inputCode) << "the module's windows were made";
    }
    void TearDown() override
    {
        HangWatchdog dog("destroying the runtime", 30000);
        velka_.reset();
        host_.onClose();
    }

    // Dispatches this thread's messages until done() or the time is up.
    static bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000)
    {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start >= milliseconds)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
        return true;
    }

    bool scenarioEnded()
    {
        return pumpUntil([&] { return !velka_->scenarioThread.isRunning(); });
    }

    VisibleHost host_;
    std::unique_ptr<KtVelka> velka_;
    Marks marks_;
};

// However the game ends, the module's windows, the objects it attached to
// them and the thread it runs on one of them are all gone before the module
// is freed: each of them runs the module's code on its way out.
TEST_F(ModuleTeardown, EverythingThatCallsIntoTheModuleEndsBeforeItIsFreed)
{
    struct Case {
        const char* name;
        std::function<void(ModuleTeardown&)> end;
    };
    static const Case cases[] = {
        {"the chain ends after a quit request",
         [](ModuleTeardown& t) {
             t.velka_->quitRequest.signal();
             ASSERT_TRUE(t.scenarioEnded());
             EXPECT_EQ(0, t.velka_->windows.count) << "no scenario window outlives the module";
             EXPECT_EQ(0, t.velka_->unloading) << "input is on again once the module is gone";
         }},
        {"the runtime is destroyed while the module runs",
         [](ModuleTeardown& t) {
             HangWatchdog dog("destroying the runtime while the module draws", 30000);
             t.velka_.reset();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            {
                HangWatchdog dog("destroying the runtime of the last case", 30000);
                velka_.reset();
            }
            startModule();
            ASSERT_FALSE(HasFatalFailure());
        }
        c.end(*this);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(nullptr, GetModuleHandleA(moduleFile)) << "the module was really freed";
        EXPECT_TRUE(Marks::set(marks_.region)) << "the hit-region object was deleted";
        EXPECT_TRUE(Marks::set(marks_.printObject)) << "the print-area object was deleted";
        EXPECT_TRUE(Marks::set(marks_.animation)) << "the drawing thread saw the stop request";
    }
}

// The drawing thread is almost always inside an update of its window, a
// message sent to the window thread, when its viewport is destroyed by name
// on that thread: the destruction must answer it while it waits.
TEST_F(ModuleTeardown, DestroyingALayerViewportByNameWhileItsThreadRedrawsReturns)
{
    static const char name[] = "module-layers";
    {
        HangWatchdog dog("destroying the layer viewport by name", 20000);
        velka_->windowDone.unsignal();
        ASSERT_TRUE(PostThreadMessageA(velka_->windowThread.threadId, KtMessage::destroyWindow,
                                       reinterpret_cast<WPARAM>(name), 0));
        ASSERT_TRUE(pumpUntil([&] { return velka_->windowDone.wait(0) == WAIT_OBJECT_0; }));
    }
    EXPECT_TRUE(Marks::set(marks_.animation)) << "the thread ended on the stop request";
    EXPECT_TRUE(Marks::set(marks_.printObject));
    EXPECT_FALSE(Marks::set(marks_.region)) << "the other viewport is still there";
    velka_->quitRequest.signal();
    ASSERT_TRUE(scenarioEnded());
    EXPECT_TRUE(Marks::set(marks_.region));
}

}  // namespace
