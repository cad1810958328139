// MonitorCommands: the monitor's command-line mode, for scripts and tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Usage: KtMonitor [--timeout MS] [--records] COMMAND...
//   --print                  print every register and the store's text
//   --set-game I V           game register I = V
//   --set-system I V         system register I = V (the game saves it at once)
//   --set-string I TEXT      string register I = TEXT
//   --request MSG WPARAM [LPARAM]   send one raw request (numbers may be hex)
//   --wait-end MS            wait until the game reports the end of its scenario
//   --timeout MS             how long to look for the game (default 10000)
//   --records                print "record dwData=0x... cbData=N" for each record received
// While attached, the hidden receiving window (class "KtMonitorReceiver") is
// captioned "KtMonitor attached".
// Commands run in the order given; the monitor detaches at the end.
// Exit codes: 0 done, 1 no game to attach to, 2 the game did not answer or
// did not end in time, 64 bad arguments.
struct MonitorCommand {
    enum Kind { print, setGame, setSystem, setString, request, waitEnd };
    Kind kind = print;
    std::int32_t first = 0;    // index, message or milliseconds
    std::int32_t second = 0;   // value or wParam
    std::int32_t third = 0;    // lParam
    std::string text;
};

struct MonitorOptions {
    unsigned timeout = 10000;
    bool records = false;
    std::vector<MonitorCommand> commands;

    // False with a reason in error on anything it does not understand.
    bool parse(const std::vector<std::string>& arguments, std::string* error);
};

// Runs the commands; output goes to standard output. Returns the exit code.
int runMonitorCommands(const MonitorOptions& options);
