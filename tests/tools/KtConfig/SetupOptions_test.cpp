// Tests of the setup tool's command line.
#include "SetupOptions.h"
#include <gtest/gtest.h>

namespace {

SetupValues applied(const char* commandLine, SetupValues start = {})
{
    SetupOptions options;
    EXPECT_TRUE(options.parse(commandLine)) << commandLine << ": " << options.error();
    options.applyTo(start);
    return start;
}

} // namespace

TEST(SetupOptions, NothingGivenChangesNothing)
{
    SetupValues start{1024, 768, 32, 2, "Q:"};
    SetupOptions options;
    ASSERT_TRUE(options.parse(""));
    EXPECT_FALSE(options.automatic());
    EXPECT_EQ(SetupOptions::productKey(), options.keyPath());
    SetupValues v = applied(nullptr, start);
    EXPECT_EQ(1024u, v.width);
    EXPECT_EQ(768u, v.height);
    EXPECT_EQ(32u, v.depth);
    EXPECT_EQ(2u, v.frameMode);
    EXPECT_EQ("Q:", v.drive);
}

TEST(SetupOptions, EveryValueCanBeSetAndCaseDoesNotMatter)
{
    SetupOptions options;
    ASSERT_TRUE(options.parse("/AUTO  /Width:800 /height:600\t/depth:16 -frame:1 /drive:e"));
    EXPECT_TRUE(options.automatic());
    SetupValues v;
    options.applyTo(v);
    EXPECT_EQ(800u, v.width);
    EXPECT_EQ(600u, v.height);
    EXPECT_EQ(16u, v.depth);
    EXPECT_EQ(1u, v.frameMode);
    EXPECT_EQ("E:", v.drive);
}

TEST(SetupOptions, ZeroesAndEmptyDriveMeanKeepAndNone)
{
    SetupValues v = applied("/width:0 /height:0 /depth:0 /frame:0 /drive:", {800, 600, 16, 2, "D:"});
    EXPECT_EQ(0u, v.width);
    EXPECT_EQ(0u, v.height);
    EXPECT_EQ(0u, v.depth);
    EXPECT_EQ(0u, v.frameMode);
    EXPECT_EQ("", v.drive);
}

TEST(SetupOptions, DriveFormsAllBecomeLetterAndColon)
{
    for (const char* form : {"/drive:d", "/drive:D:", "/drive:d:\\", "/drive:\"D:\""})
        EXPECT_EQ("D:", applied(form).drive) << form;
}

TEST(SetupOptions, QuotedKeyKeepsItsBlanks)
{
    SetupOptions options;
    ASSERT_TRUE(options.parse("/key:\"Software\\Test Key\\Pomelo\" /auto"));
    EXPECT_EQ("Software\\Test Key\\Pomelo", options.keyPath());
    EXPECT_TRUE(options.automatic());
}

TEST(SetupOptions, BadInputIsRefusedWithAReason)
{
    const char* bad[] = {
        "/frame:3", "/frame:-1", "/frame:", "/frame", "/depth:8", "/depth:15", "/width:800",
        "/height:600", "/width:800 /height:0", "/width:100 /height:100", "/width:0x320 /height:600",
        "/width:99999 /height:600", "/width:800x /height:600", "/drive:DD", "/drive:1", "/drive:D:/",
        "/key:", "/auto:1", "/colour:16", "auto", "/",
    };
    for (const char* line : bad) {
        SetupOptions options;
        EXPECT_FALSE(options.parse(line)) << line;
        EXPECT_FALSE(options.error().empty()) << line;
    }
}
