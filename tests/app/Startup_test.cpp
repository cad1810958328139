// What reaches the entry point from a run: its exit code, and the box of a diagnostic nobody has shown.
#include "Diagnostic.h"
#include "MessageBoxRecorder.h"
#include "Startup.h"
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>
#include <new>
#include <stdexcept>

namespace {

struct Case {
    const char* name;
    std::function<int()> body;
    int exitCode;
    const char* boxText;   // null: no box
};

// First in the file: a later test may call into one of them and load it.
// Libraries needed only for dialogs, movies, sounds and folder look-ups are
// loaded at their first call, not with the framework at the start.
TEST(Startup, LibrariesOffThePathToTheFirstPictureAreNotLoadedAtTheStart)
{
    const char* const libraries[] = {"shell32.dll", "comdlg32.dll", "comctl32.dll", "msvfw32.dll"};
    for (const char* library : libraries) {
        SCOPED_TRACE(library);
        EXPECT_EQ(nullptr, GetModuleHandleA(library));
    }
}

TEST(Startup, EveryWayARunEndsGivesItsDocumentedExitCode)
{
    const Case cases[] = {
        {"a normal run", [] { return 0; }, 0, nullptr},
        {"the loop's own code", [] { return 7; }, 7, nullptr},
        {"a module that cannot be loaded (already told)",
         []() -> int { throw CannotLoadException("KtVelka - load", "x.dllがロードできません"); }, 3,
         nullptr},
        {"another diagnostic", []() -> int { throw CannotReadException("KtFile - read", "a.dat"); },
         4, "a.dat"},
        {"memory exhausted", []() -> int { throw std::bad_alloc(); }, 4, nullptr},
        {"an exception of another type", []() -> int { throw std::runtime_error("module"); }, 4,
         nullptr},
        {"not even an exception class", []() -> int { throw 42; }, 4, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder boxes;
        EXPECT_EQ(c.exitCode, Startup::runGuarded(c.body));
        if (!c.boxText) {
            EXPECT_EQ(0u, boxes.count());
            continue;
        }
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ(c.boxText, boxes.last().text);
        EXPECT_EQ(nullptr, boxes.last().owner);
    }
}

}  // namespace
