// One framework for the host and its modules: objects made in a module outlive it, and the process-wide state is the host's.
#include "KtPopupViewport.h"
#include "KtRect.h"
#include "KtString.h"
#include "KtVSurface.h"
#include "KtViewport.h"
#include "KtVelka.h"
#include "MessageBoxRecorder.h"
#include "ModuleHandOver.h"
#include "ScenarioHarness.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

using SharedFramework = ScenarioHarness;

// The module whose image holds address, or null.
HMODULE imageHolding(const void* address)
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                           | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(address), &module);
    return module;
}

const void* vtableOf(const void* object)
{
    return *static_cast<const void* const*>(object);
}

bool imageStillMapped(HMODULE module)
{
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(module, &info, sizeof info);
    return info.State == MEM_COMMIT && info.Type == MEM_IMAGE && info.AllocationBase == module;
}

KtViewport* noClient(HWND, const KtString&, const KtRect&) { return nullptr; }
void ignoreDiagnostic(HWND, Diagnostic&) {}

struct ModuleRun {
    const char* entry;
    DWORD exitCode;
    bool diagnosticBox;
};

// Every object is used and released through its virtual table after the
// module's image is gone: a table that pointed into the module would crash
// the test, and the owner check names the table that does.
TEST_F(SharedFramework, ObjectsMadeInAModuleOutliveItAndItSeesTheHostsState)
{
    KtPopupViewport::ClientMaker previousMaker = KtPopupViewport::setClientMaker(&noClient);
    KtWindow::DiagnosticHandler previousHandler = KtWindow::setDiagnosticHandler(&ignoreDiagnostic);
    const HMODULE framework = GetModuleHandleA("KtLIB.dll");
    ASSERT_NE(nullptr, framework);

    for (const ModuleRun& run : {ModuleRun{"quietly", KtVelka::chainEnded, false},
                                 ModuleRun{"hege", KtVelka::chainFailed, true}}) {
        SCOPED_TRACE(run.entry);
        MessageBoxRecorder boxes;
        boxes.answer(IDCANCEL);
        host_.endMessages = 0;
        velka_->inputPosition = 0;
        ASSERT_NE(0, velka_->load("hand_over.dll"));
        ASSERT_NE(0, velka_->start(run.entry));
        ASSERT_TRUE(waitForEnd());
        std::unique_ptr<ModuleHandOver> handOver(
            reinterpret_cast<ModuleHandOver*>(velka_->inputPosition));
        ASSERT_NE(nullptr, handOver);
        EXPECT_EQ(run.exitCode, scenarioExitCode());

        ASSERT_NE(nullptr, handOver->module);
        ASSERT_EQ(nullptr, GetModuleHandleA("hand_over.dll")) << "the module is still loaded";
        ASSERT_FALSE(imageStillMapped(handOver->module));

        EXPECT_EQ(velka_.get(), handOver->current);
        EXPECT_EQ(&ignoreDiagnostic, handOver->diagnosticHandler);
        EXPECT_EQ(&noClient, handOver->clientMaker);

        // The module's own box and, after a throw, the diagnostic's box both
        // reach the test's hook; the module gets the test's answer.
        EXPECT_EQ(IDCANCEL, handOver->boxAnswer);
        auto seen = boxes.boxes();
        ASSERT_EQ(run.diagnosticBox ? 2u : 1u, seen.size());
        EXPECT_EQ("from the module", seen[0].text);
        EXPECT_EQ(KtMessageBox::okCancel, seen[0].style);
        if (run.diagnosticBox) {
            EXPECT_EQ("thrown in the module", seen[1].text);
            EXPECT_EQ("hand_over", seen[1].caption);
            EXPECT_EQ(host_.handle, seen[1].owner);
        }

        KtVSurface* surface = handOver->surface;
        struct Made {
            const char* what;
            const void* object;
        };
        for (const Made& made : {Made{"KtString", handOver->text}, Made{"KtRect", handOver->area},
                                 Made{"KtVSurface", surface},
                                 Made{"its KtCriticalSection", &surface->lockGuard}})
            EXPECT_EQ(framework, imageHolding(vtableOf(made.object)))
                << made.what << "'s virtual table at " << vtableOf(made.object);

        EXPECT_STREQ("made in the module", handOver->text->text());
        EXPECT_EQ(KtRect(3, 4, 30, 40), *handOver->area);
        ASSERT_TRUE(surface->hasPixels());
        EXPECT_EQ(handOverSurfaceIndex,
                  *surface->pixelAddress(handOverSurfaceWidth - 1, handOverSurfaceHeight - 1));
        surface->create(2, 2);   // a virtual slot of its own
        EXPECT_EQ(2, surface->width());
        delete handOver->text;
        delete handOver->area;
        delete surface;
    }
    KtWindow::setDiagnosticHandler(previousHandler);
    KtPopupViewport::setClientMaker(previousMaker);
}

// The boxes above reach the hook without any forwarding export.
TEST(SharedFrameworkExports, NoProgramOrLibraryForwardsBoxes)
{
    for (const char* name : {static_cast<const char*>(nullptr), "KtLIB.dll"}) {
        HMODULE module = GetModuleHandleA(name);
        ASSERT_NE(nullptr, module);
        EXPECT_EQ(nullptr, GetProcAddress(module, "KtMessageBoxDispatch")) << (name ? name : "program");
    }
}

}  // namespace
