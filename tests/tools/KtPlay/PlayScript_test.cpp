// The play script reader: what each line becomes, and the line and reason of every bad one.
#include "PlayScript.h"
#include <gtest/gtest.h>

namespace {

// One line of a script and the command it must give (fields that matter).
struct GoodLine {
    const char* text;
    PlayCommand::Kind kind;
    unsigned milliseconds;
    int x, y;
    unsigned keyCode;
    const char* word;   // type's text or shot's name
};

const unsigned standard = PlayScript::defaultTimeoutMs;

TEST(PlayScript, ReadsEveryCommandWithItsArgumentsAndTimes)
{
    const GoodLine cases[] = {
        {"window", PlayCommand::window, standard, 0, 0, 0, ""},
        {"window 5s", PlayCommand::window, 5000, 0, 0, 0, ""},
        {"wait 250", PlayCommand::pause, 250, 0, 0, 0, ""},
        {"WAIT 2S", PlayCommand::pause, 2000, 0, 0, 0, ""},
        {"key Return", PlayCommand::key, standard, 0, 0, 0x0D, ""},
        {"key esc", PlayCommand::key, standard, 0, 0, 0x1B, ""},
        {"key a", PlayCommand::key, standard, 0, 0, 'A', ""},
        {"key 7", PlayCommand::key, standard, 0, 0, '7', ""},
        {"key F12", PlayCommand::key, standard, 0, 0, 0x7B, ""},
        {"key 0x5B", PlayCommand::key, standard, 0, 0, 0x5B, ""},
        {"click 320 200", PlayCommand::click, standard, 320, 200, 0, ""},
        {"move 0 479", PlayCommand::move, standard, 0, 479, 0, ""},
        {"type  ぽめ太 and more  ", PlayCommand::type, standard, 0, 0, 0, "ぽめ太 and more"},
        {"shot movie-middle_2", PlayCommand::shot, standard, 0, 0, 0, "movie-middle_2"},
        {"  exit 3 1s", PlayCommand::exit, 1000, 0, 0, 0, ""},
    };
    for (const GoodLine& c : cases) {
        SCOPED_TRACE(c.text);
        PlayScript script;
        ASSERT_TRUE(script.read(c.text)) << script.error();
        ASSERT_EQ(1u, script.commands().size());
        const PlayCommand& command = script.commands()[0];
        EXPECT_EQ(c.kind, command.kind);
        EXPECT_EQ(1, command.line);
        EXPECT_EQ(c.milliseconds, command.milliseconds);
        EXPECT_EQ(c.x, command.x);
        EXPECT_EQ(c.y, command.y);
        EXPECT_EQ(c.keyCode, command.keyCode);
        EXPECT_EQ(std::string(c.word), command.text);
        EXPECT_FALSE(command.repeat);
    }
}

struct ConditionLine {
    const char* text;
    PlayCommand::Kind kind;
    PlayCondition::Bank bank;
    int index;
    bool equal;
    std::int32_t value;
    unsigned milliseconds;
};

TEST(PlayScript, ReadsRegisterConditionsAloneAndAfterKeysAndClicks)
{
    const ConditionLine cases[] = {
        {"until game 5 = 3", PlayCommand::until, PlayCondition::game, 5, true, 3, standard},
        {"until system 65535 != -1 30s", PlayCommand::until, PlayCondition::system, 65535, false, -1, 30000},
        {"until game 0 = 0xFFFFFFFF", PlayCommand::until, PlayCondition::game, 0, true, -1, standard},
        {"key Return until game 8 = 0", PlayCommand::key, PlayCondition::game, 8, true, 0, standard},
        {"click 10 20 until system 1 != 4 500", PlayCommand::click, PlayCondition::system, 1, false, 4, 500},
    };
    for (const ConditionLine& c : cases) {
        SCOPED_TRACE(c.text);
        PlayScript script;
        ASSERT_TRUE(script.read(c.text)) << script.error();
        const PlayCommand& command = script.commands().at(0);
        EXPECT_EQ(c.kind, command.kind);
        EXPECT_EQ(c.kind != PlayCommand::until, command.repeat);
        EXPECT_EQ(c.bank, command.condition.bank);
        EXPECT_EQ(c.index, command.condition.index);
        EXPECT_EQ(c.equal, command.condition.equal);
        EXPECT_EQ(c.value, command.condition.value);
        EXPECT_EQ(c.milliseconds, command.milliseconds);
    }
}

TEST(PlayScript, SkipsCommentsAndBlankLinesAndKeepsLineNumbers)
{
    PlayScript script;
    ASSERT_TRUE(script.read("# a play\n\n   \nwindow\r\n  # indented comment\nclose no 3s\nclose\n"))
        << script.error();
    ASSERT_EQ(3u, script.commands().size());
    EXPECT_EQ(4, script.commands()[0].line);
    EXPECT_EQ("window", script.commands()[0].source);
    EXPECT_EQ(6, script.commands()[1].line);
    EXPECT_FALSE(script.commands()[1].answerYes);
    EXPECT_EQ(3000u, script.commands()[1].milliseconds);
    EXPECT_TRUE(script.commands()[2].answerYes);
}

struct BadScript {
    const char* text;
    const char* error;   // what error() must say, exactly
};

TEST(PlayScript, NamesTheLineAndTheReasonOfABadScript)
{
    const BadScript cases[] = {
        {"window\nprses Return", "line 2: unknown command 'prses'"},
        {"click 10", "line 1: click: missing argument: Y"},
        {"wait", "line 1: wait: missing argument: time"},
        {"\n\nuntil game 5", "line 3: until: missing argument: = or !="},
        {"type   ", "line 1: type: missing argument: text"},
        {"until game 65536 = 1", "line 1: register 65536 out of range (0 to 65535)"},
        {"key Return until system -1 = 0", "line 1: register -1 out of range (0 to 65535)"},
        {"until tape 1 = 1", "line 1: the register bank is game or system, not 'tape'"},
        {"until game 1 < 1", "line 1: the comparison is = or !=, not '<'"},
        {"until game 1 = 4294967296", "line 1: the value does not fit 32 bits: 4294967296"},
        {"key Hyper", "line 1: unknown key 'Hyper'"},
        {"key F13", "line 1: unknown key 'F13'"},
        {"click 10 y", "line 1: Y is not a number: 'y'"},
        {"move -1 5", "line 1: the position is out of range (0 to 32767)"},
        {"wait soon", "line 1: the time is not a number: 'soon'"},
        {"wait -5", "line 1: the time is out of range (0 to 24 hours): '-5'"},
        {"window 5 6", "line 1: window: unexpected argument '6'"},
        {"move 1 2 until game 1 = 1", "line 1: move: unexpected argument 'until'"},
        {"key Return after game 1 = 1", "line 1: unexpected argument 'after' (only 'until' may follow)"},
        {"shot a/b", "line 1: a shot name holds letters, digits, '-' and '_' only: 'a/b'"},
        {"shot title\nwait 1\nshot title", "line 3: shot 'title' is already taken on line 1"},
        {"exit", "line 1: exit: missing argument: exit code"},
    };
    for (const BadScript& c : cases) {
        SCOPED_TRACE(c.text);
        PlayScript script;
        EXPECT_FALSE(script.read(c.text));
        EXPECT_EQ(std::string(c.error), script.error());
        EXPECT_TRUE(script.commands().empty()) << "a bad script plays nothing";
    }
}

}  // namespace
