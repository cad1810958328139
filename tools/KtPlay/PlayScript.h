// PlayScript: reads a play script, one command a line, and says which line is wrong and why.
#pragma once
#include "PlayCommand.h"
#include <string>
#include <vector>

// The script is plain text: one command a line, words separated by blanks,
// "#" starts a comment line, blank lines are skipped. Reading stops at the
// first bad line; error() then holds "line N: what is wrong".
//
//   window [TIME]                         the game's window shows
//   wait TIME                             time passes
//   until game|system INDEX =|!= VALUE [TIME]
//   key NAME [until CONDITION [TIME]]     repeated until the condition holds
//   click X Y [until CONDITION [TIME]]
//   move X Y
//   type TEXT                             the rest of the line
//   shot NAME                             letters, digits, "-" and "_"
//   close [yes|no] [TIME]                 the close question answered
//   exit CODE [TIME]                      the game ends with CODE
//
// TIME is milliseconds, or seconds with an "s" after the number; a wait
// without one ends after defaultTimeoutMs.
class PlayScript {
public:
    static constexpr unsigned defaultTimeoutMs = 20000;
    // Register indexes a script may name; the game's own counts are checked
    // when the script runs.
    static constexpr int registerLimit = 65536;

    bool read(const std::string& text);
    const std::vector<PlayCommand>& commands() const { return commands_; }
    const std::string& error() const { return error_; }

private:
    std::vector<PlayCommand> commands_;
    std::string error_;
};
