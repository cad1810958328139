// PlayRunner: plays a script's commands against the game, one after another, and keeps the screenshots.
#pragma once
#include "GameInput.h"
#include "GameProcess.h"
#include "PlayCommand.h"
#include "PlayShot.h"
#include "RegisterWatch.h"
#include <string>
#include <vector>

class PlayRunner {
public:
    explicit PlayRunner(GameProcess& game) : game_(game), input_(game) {}

    // Runs the commands in order and stops at the first that fails.
    // Returns empty when all of them passed, else
    // "line N: COMMAND: what happened".
    std::string run(const std::vector<PlayCommand>& commands);
    const std::vector<PlayShot>& shots() const { return shots_; }

private:
    // Each returns empty when the command passed, else what happened.
    std::string step(const PlayCommand& command);
    std::string awaitWindow(unsigned limitMs);
    std::string awaitCondition(const PlayCondition& condition, unsigned limitMs);
    std::string repeatUntil(const PlayCommand& command);
    std::string typeText(const std::string& text, unsigned limitMs);
    std::string takeShot(const std::string& name);
    std::string closeAndAnswer(bool yes, unsigned limitMs);
    std::string expectExit(int code, unsigned limitMs);
    std::string ended() const;

    GameProcess& game_;
    GameInput input_;
    RegisterWatch registers_;
    std::vector<PlayShot> shots_;
};
