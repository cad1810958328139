// PlayRunner: every wait polls with a short pause that keeps this program's messages moving, up to its time-out.
#include "PlayRunner.h"

namespace {

const DWORD pollMs = 50;
// How long a repeated key or click waits for its effect before it is given again.
const DWORD repeatMs = 1000;

// Keeps the receiver window answering while time passes.
void pause(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < ms; passed = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

std::string timedOut(unsigned ms)
{
    return "timed out after " + std::to_string(ms) + " ms";
}

std::string describe(const PlayCondition& c)
{
    return std::string(c.bank == PlayCondition::game ? "game" : "system") + "[" + std::to_string(c.index) + "]";
}

}  // namespace

std::string PlayRunner::run(const std::vector<PlayCommand>& commands)
{
    for (const PlayCommand& command : commands) {
        std::string failure = step(command);
        if (!failure.empty())
            return "line " + std::to_string(command.line) + ": " + command.source + ": " + failure;
    }
    return std::string();
}

std::string PlayRunner::step(const PlayCommand& c)
{
    switch (c.kind) {
    case PlayCommand::window: return awaitWindow(c.milliseconds);
    case PlayCommand::pause: pause(c.milliseconds); return std::string();
    case PlayCommand::until: return awaitCondition(c.condition, c.milliseconds);
    case PlayCommand::key:
        if (c.repeat)
            return repeatUntil(c);
        return input_.key(c.keyCode) ? std::string() : "the game has no window" + ended();
    case PlayCommand::click:
        if (c.repeat)
            return repeatUntil(c);
        return input_.click(c.x, c.y) ? std::string() : "the game has no window" + ended();
    case PlayCommand::move:
        return input_.move(c.x, c.y) ? std::string() : "the game has no window" + ended();
    case PlayCommand::type: return typeText(GameInput::shiftJis(c.text), c.milliseconds);
    case PlayCommand::shot: return takeShot(c.text);
    case PlayCommand::close: return closeAndAnswer(c.answerYes, c.milliseconds);
    case PlayCommand::exit: return expectExit(c.exitCode, c.milliseconds);
    }
    return "unknown command";
}

std::string PlayRunner::ended() const
{
    if (game_.running())
        return std::string();
    return " (the game ended with exit code " + std::to_string(game_.exitCode()) + ")";
}

std::string PlayRunner::awaitWindow(unsigned limitMs)
{
    const DWORD start = GetTickCount();
    do {
        if (game_.window())
            return std::string();
        if (!game_.running())
            return "no window" + ended();
        pause(pollMs);
    } while (GetTickCount() - start < limitMs);
    return timedOut(limitMs);
}

std::string PlayRunner::awaitCondition(const PlayCondition& condition, unsigned limitMs)
{
    const DWORD start = GetTickCount();
    std::int32_t value = 0;
    bool read = false;
    do {
        std::string why;
        switch (registers_.test(condition, &value, &why)) {
        case RegisterWatch::holds: return std::string();
        case RegisterWatch::failed: return why;
        case RegisterWatch::differs: read = true; break;
        case RegisterWatch::notYet: break;
        }
        if (!game_.running())
            return "the condition never held" + ended();
        pause(pollMs);
    } while (GetTickCount() - start < limitMs);
    if (!read)
        return timedOut(limitMs) + "; the game never answered the register monitor";
    return timedOut(limitMs) + "; " + describe(condition) + " is " + std::to_string(value);
}

std::string PlayRunner::repeatUntil(const PlayCommand& c)
{
    // The game may ask for input a moment after it shows that it waits:
    // input that came first is lost, so it is given again until it counts.
    const DWORD start = GetTickCount();
    std::string last;
    do {
        const bool given = c.kind == PlayCommand::key ? input_.key(c.keyCode) : input_.click(c.x, c.y);
        if (!given && !game_.running())
            return "the game has no window" + ended();
        last = awaitCondition(c.condition, repeatMs);
        if (last.empty())
            return last;
        if (last.compare(0, 9, "timed out") != 0)
            return last;
    } while (GetTickCount() - start < c.milliseconds);
    return timedOut(c.milliseconds) + last.substr(last.find(';'));
}

std::string PlayRunner::typeText(const std::string& text, unsigned limitMs)
{
    const DWORD start = GetTickCount();
    do {
        if (input_.type(text))
            return std::string();
        if (!game_.running())
            return "nothing to type into" + ended();
        pause(pollMs);
    } while (GetTickCount() - start < limitMs);
    return timedOut(limitMs) + "; the game has no keyboard focus";
}

std::string PlayRunner::takeShot(const std::string& name)
{
    PlayShot shot;
    shot.name = name;
    if (!shot.capture(game_.window()))
        return "no picture of the game's window" + ended();
    shots_.push_back(std::move(shot));
    return std::string();
}

std::string PlayRunner::closeAndAnswer(bool yes, unsigned limitMs)
{
    HWND window = game_.window();
    if (!window)
        return "the game has no window" + ended();
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const DWORD start = GetTickCount();
    HWND box = nullptr;
    while (!(box = game_.messageBox())) {
        if (!game_.running())
            return std::string();   // it closed without asking
        if (GetTickCount() - start >= limitMs)
            return timedOut(limitMs) + "; no close question";
        pause(pollMs);
    }
    const int answer = yes ? IDYES : IDNO;
    HWND button = GetDlgItem(box, answer);
    DWORD_PTR ignored = 0;
    if (!button || !SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, limitMs, &ignored))
        return std::string("the close question has no ") + (yes ? "Yes" : "No") + " button";
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (GetTickCount() - start >= limitMs)
            return timedOut(limitMs) + "; the close question stays";
        pause(pollMs);
    }
    return std::string();
}

std::string PlayRunner::expectExit(int code, unsigned limitMs)
{
    // The game tells the monitor of its end by a sent message: this side
    // keeps answering while it waits.
    const DWORD start = GetTickCount();
    while (!game_.waitEnd(0)) {
        if (GetTickCount() - start >= limitMs)
            return timedOut(limitMs) + "; the game still runs";
        pause(pollMs);
    }
    const DWORD actual = game_.exitCode();
    if (actual != static_cast<DWORD>(code))
        return "the game ended with exit code " + std::to_string(actual) + ", not " + std::to_string(code);
    return std::string();
}
