// KtModule: the held library is freed on replacement and on destruction.
#include "KtModule.h"
#include <gtest/gtest.h>

namespace {

// A system library that a test program does not load by itself.
constexpr const char* kLibrary = "cabinet.dll";

TEST(KtModule, DestructionAndReplacementFreeTheLibrary)
{
    if (GetModuleHandleA(kLibrary))
        GTEST_SKIP() << kLibrary << " is already loaded; its unloading cannot be seen";
    {
        KtModule module;
        ASSERT_NE(nullptr, module.load(kLibrary));
        EXPECT_NE(nullptr, module.procAddress("FCIAddFile"));
        EXPECT_EQ(nullptr, module.procAddress("NoSuchExport"));
        ASSERT_NE(nullptr, module.load("kernel32.dll"));
        EXPECT_EQ(nullptr, GetModuleHandleA(kLibrary)) << "replacing must free the old library";
        ASSERT_NE(nullptr, module.load(kLibrary));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA(kLibrary));
}

TEST(KtModule, AMissingFileLeavesNoHandle)
{
    KtModule module;
    EXPECT_EQ(nullptr, module.load("no-such-module.dll"));
    EXPECT_EQ(nullptr, module.handle);
    EXPECT_EQ(0, module.free());
    EXPECT_EQ(nullptr, module.procAddress("anything"));
}

}  // namespace
