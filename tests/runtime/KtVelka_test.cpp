// The scenario runtime: loading modules, running chains, catching diagnostics thrown in a module.
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include "MessageBoxRecorder.h"
#include "ScenarioHarness.h"
#include <gtest/gtest.h>

namespace {

using Runtime = ScenarioHarness;

TEST_F(Runtime, ConstructionPreparesEventsAndTheWindowThread)
{
    EXPECT_EQ(WAIT_OBJECT_0, velka_->windowDone.wait(0));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->inputDone.wait(0));
    EXPECT_EQ(WAIT_OBJECT_0, velka_->menuDone.wait(0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), velka_->quitRequest.wait(0));
    EXPECT_TRUE(velka_->windowThread.isRunning());
    EXPECT_EQ(0, velka_->windowThread.suspended);
    EXPECT_EQ(velka_.get(), KtVelka::current());
    EXPECT_EQ(host_.handle, velka_->host.handle);
    EXPECT_EQ(host_.handle, velka_->topLevelWindow(FALSE));
    EXPECT_NE(0u, velka_->systemInfo.dwPageSize);
}

TEST_F(Runtime, AChainRunsItsStepsAndEndsWithTheModuleFreed)
{
    ASSERT_NE(0, velka_->load("chain_three.dll"));
    ASSERT_NE(0, velka_->start("hege"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(3, velka_->inputCode);
    EXPECT_EQ(0u, scenarioExitCode());
    EXPECT_EQ(1, host_.endMessages);
    EXPECT_EQ(nullptr, velka_->module.handle);
    EXPECT_EQ(nullptr, GetModuleHandleA("chain_three.dll"));
    EXPECT_EQ(0, velka_->unloading);
}

TEST_F(Runtime, AnEntryThatReturnsNullOrIsMissingEndsAtOnceWithoutABox)
{
    MessageBoxRecorder boxes;
    for (const char* entry : {"none", "noSuchExport"}) {
        host_.endMessages = 0;
        ASSERT_NE(0, velka_->load("chain_three.dll"));
        ASSERT_NE(0, velka_->start(entry));
        ASSERT_TRUE(waitForEnd()) << entry;
        EXPECT_EQ(0u, scenarioExitCode()) << entry;
        EXPECT_EQ(nullptr, velka_->module.handle) << entry;
    }
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(Runtime, AMissingModuleShowsItsBoxAndThrowsCannotLoad)
{
    MessageBoxRecorder boxes;
    try {
        velka_->load("no_such_scenario.dll");
        FAIL() << "load of a missing module returned";
    } catch (CannotLoadException& e) {
        EXPECT_STREQ("KtVelka - load", e.title());
        EXPECT_STREQ("no_such_scenario.dllがロードできません", e.message());
    }
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(nullptr, boxes.last().owner);
    EXPECT_EQ("no_such_scenario.dllがロードできません", boxes.last().text);
    EXPECT_EQ("KtString class", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);
}

// The module reaches the runtime only through fields and virtual tables and
// throws a diagnostic from its own code; the host catches it.
TEST_F(Runtime, AModuleSeesTheHostObjectsAndItsDiagnosticIsCaughtByTheHost)
{
    MessageBoxRecorder boxes;
    ASSERT_NE(0, velka_->load("abi_probe.dll"));
    ASSERT_NE(0, velka_->start("hege"));
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(0x1F, velka_->inputCode) << "each bit is one check the module made";
    EXPECT_EQ(2, velka_->inputPosition) << "windowType of the host object, called through its vtable";
    EXPECT_EQ(1, velka_->inputMode) << "EXCEPTION_ENTRY ran once";
    EXPECT_EQ(KtVelka::chainFailed, scenarioExitCode());
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(host_.handle, boxes.last().owner);
    EXPECT_EQ("probe.dat", boxes.last().text);
    EXPECT_EQ("cannot open", boxes.last().caption);
    EXPECT_EQ(1, host_.endMessages);
    EXPECT_EQ(nullptr, velka_->registers);
}

TEST_F(Runtime, LoadAndStartDoNothingWhileTheChainRuns)
{
    ASSERT_NE(0, velka_->load("chain_three.dll"));
    HMODULE module = velka_->module.handle;
    ASSERT_NE(0, velka_->start("waitForQuit"));
    EXPECT_EQ(1, velka_->load("abi_probe.dll"));
    EXPECT_EQ(1, velka_->start("hege"));
    EXPECT_EQ(module, velka_->module.handle);
    velka_->quitRequest.signal();
    ASSERT_TRUE(waitForEnd());
}

TEST_F(Runtime, DestroyingWhileTheModuleWaitsEndsTheWaitAndTheThreads)
{
    ASSERT_NE(0, velka_->load("chain_three.dll"));
    ASSERT_NE(0, velka_->start("waitForQuit"));
    velka_->waitingForInput = 1;
    velka_->inputDone.unsignal();
    HANDLE scenario = nullptr;
    HANDLE window = nullptr;
    DuplicateHandle(GetCurrentProcess(), velka_->scenarioThread.handle, GetCurrentProcess(),
                    &scenario, SYNCHRONIZE, FALSE, 0);
    DuplicateHandle(GetCurrentProcess(), velka_->windowThread.handle, GetCurrentProcess(),
                    &window, SYNCHRONIZE, FALSE, 0);
    DWORD started = GetTickCount();
    velka_.reset();
    EXPECT_LT(GetTickCount() - started, 5000u) << "quitRequest should end the module's wait";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(scenario, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(window, 0));
    EXPECT_EQ(nullptr, KtVelka::current());
    CloseHandle(scenario);
    CloseHandle(window);
}

}  // namespace
