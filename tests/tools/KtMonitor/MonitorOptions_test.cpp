// The monitor's command line: commands in order, numbers in any base, and refusals.
#include "MonitorCommands.h"
#include <gtest/gtest.h>

namespace {

MonitorOptions parsed(std::vector<std::string> arguments)
{
    MonitorOptions options;
    std::string error;
    EXPECT_TRUE(options.parse(arguments, &error)) << error;
    return options;
}

TEST(MonitorOptions, CommandsKeepTheirOrderAndValues)
{
    MonitorOptions options = parsed({"--timeout", "0x10", "--set-game", "3", "-7", "--records",
                                     "--request", "0x749", "-1", "--set-string", "0", "--print",
                                     "--set-system", "2", "4294967295", "--wait-end", "500"});
    EXPECT_EQ(16u, options.timeout);
    EXPECT_TRUE(options.records);
    ASSERT_EQ(5u, options.commands.size());
    EXPECT_EQ(MonitorCommand::setGame, options.commands[0].kind);
    EXPECT_EQ(3, options.commands[0].first);
    EXPECT_EQ(-7, options.commands[0].second);
    EXPECT_EQ(MonitorCommand::request, options.commands[1].kind);
    EXPECT_EQ(0x749, options.commands[1].first);
    EXPECT_EQ(-1, options.commands[1].second);
    EXPECT_EQ(0, options.commands[1].third) << "lParam is optional";
    EXPECT_EQ(MonitorCommand::setString, options.commands[2].kind);
    EXPECT_EQ("--print", options.commands[2].text) << "a string register's text is taken as it is";
    EXPECT_EQ(MonitorCommand::setSystem, options.commands[3].kind);
    EXPECT_EQ(-1, options.commands[3].second) << "the full unsigned range wraps to 32 bits";
    EXPECT_EQ(MonitorCommand::waitEnd, options.commands[4].kind);
    EXPECT_EQ(500, options.commands[4].first);
}

TEST(MonitorOptions, ARequestTakesAnLParamWhenOneFollows)
{
    MonitorOptions options = parsed({"--request", "0x74A", "1", "-5", "--print"});
    ASSERT_EQ(2u, options.commands.size());
    EXPECT_EQ(-5, options.commands[0].third);
    EXPECT_EQ(MonitorCommand::print, options.commands[1].kind);
}

TEST(MonitorOptions, BadArgumentsAreRefusedWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--records"},
        {"--set-game", "1"},
        {"--set-game", "x", "1"},
        {"--set-system", "1", "4294967296"},
        {"--wait-end"},
        {"--timeout", "12ms", "--print"},
        {"--frobnicate"},
    };
    for (const auto& arguments : bad) {
        MonitorOptions options;
        std::string error;
        EXPECT_FALSE(options.parse(arguments, &error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
