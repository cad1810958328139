// PlayCommand: one command of a play script, as the script reader leaves it for the player.
#pragma once
#include <cstdint>
#include <string>

// A register condition: game or system register `index` equal (or not
// equal) to `value`.
struct PlayCondition {
    enum Bank { game, system };
    Bank bank = game;
    int index = 0;
    bool equal = true;
    std::int32_t value = 0;
};

struct PlayCommand {
    enum Kind {
        window,   // wait until the game's window shows
        pause,    // wait a given time
        until,    // wait until a register condition holds
        key,      // press a key
        click,    // left click at a client position
        move,     // move the mouse to a client position
        type,     // type text into the focused input
        shot,     // take a screenshot with a name
        close,    // close the window and answer the question
        exit      // expect the process to end with a code
    };
    Kind kind = window;
    int line = 0;                // 1-based line of the script
    std::string source;          // the line as written, for messages
    int x = 0, y = 0;            // click, move: client coordinates of the game's window
    unsigned keyCode = 0;        // key: virtual-key code
    std::string text;            // type: the text as written; shot: the name
    bool repeat = false;         // key, click: repeated until `condition` holds
    PlayCondition condition;     // until, and key or click with repeat
    bool answerYes = true;       // close: the answer to the close question
    int exitCode = 0;            // exit
    unsigned milliseconds = 0;   // pause: the time; every other wait: its time-out
};
