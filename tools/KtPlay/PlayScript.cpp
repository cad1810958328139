// PlayScript: the script reader: words, numbers, times, key names, register conditions.
#include "PlayScript.h"
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// Thrown inside the reader with the text of the error; never leaves read().
struct BadLine {
    std::string why;
};

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

long long integer(const std::string& word, const char* what)
{
    errno = 0;
    char* end = nullptr;
    const long long value = word.empty() ? 0 : std::strtoll(word.c_str(), &end, 0);
    if (word.empty() || *end || errno)
        throw BadLine{std::string(what) + " is not a number: '" + word + "'"};
    return value;
}

// Milliseconds, or seconds when the number ends in "s".
unsigned duration(const std::string& word)
{
    const bool seconds = word.size() > 1 && (word.back() == 's' || word.back() == 'S');
    const long long value = integer(seconds ? word.substr(0, word.size() - 1) : word, "the time");
    const long long ms = seconds ? value * 1000 : value;
    if (value < 0 || ms > 24LL * 3600 * 1000)
        throw BadLine{"the time is out of range (0 to 24 hours): '" + word + "'"};
    return static_cast<unsigned>(ms);
}

// Virtual-key codes by name; single letters and digits are their own codes.
unsigned keyCode(const std::string& word)
{
    static const std::map<std::string, unsigned> named = {
        {"return", 0x0D}, {"enter", 0x0D}, {"space", 0x20}, {"escape", 0x1B}, {"esc", 0x1B},
        {"tab", 0x09},    {"back", 0x08},  {"backspace", 0x08}, {"left", 0x25}, {"up", 0x26},
        {"right", 0x27},  {"down", 0x28},  {"home", 0x24}, {"end", 0x23}, {"delete", 0x2E},
        {"shift", 0x10},  {"control", 0x11}};
    const std::string name = lower(word);
    auto found = named.find(name);
    if (found != named.end())
        return found->second;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f' && std::isdigit(static_cast<unsigned char>(name[1]))) {
        const long long n = integer(name.substr(1), "the function key");
        if (n >= 1 && n <= 12)
            return static_cast<unsigned>(0x70 + n - 1);
    }
    if (name.size() > 2 && name.compare(0, 2, "0x") == 0) {
        const long long code = integer(name, "the key code");
        if (code > 0 && code < 0xFF)
            return static_cast<unsigned>(code);
    }
    throw BadLine{"unknown key '" + word + "'"};
}

// The words of one line after its command, taken from the front.
class Words {
public:
    Words(const std::string& command, std::vector<std::string> words)
        : command_(command), words_(std::move(words)) {}

    bool empty() const { return at_ >= words_.size(); }
    const std::string& peek() const { return words_[at_]; }
    std::string take(const char* what)
    {
        if (empty())
            throw BadLine{command_ + ": missing argument: " + what};
        return words_[at_++];
    }
    void end() const
    {
        if (!empty())
            throw BadLine{command_ + ": unexpected argument '" + words_[at_] + "'"};
    }

private:
    std::string command_;
    std::vector<std::string> words_;
    size_t at_ = 0;
};

unsigned timeoutIfAny(Words& words)
{
    if (words.empty())
        return PlayScript::defaultTimeoutMs;
    const unsigned ms = duration(words.take("time"));
    words.end();
    return ms;
}

PlayCondition condition(Words& words)
{
    PlayCondition c;
    const std::string bank = lower(words.take("game or system"));
    if (bank != "game" && bank != "system")
        throw BadLine{"the register bank is game or system, not '" + bank + "'"};
    c.bank = bank == "game" ? PlayCondition::game : PlayCondition::system;
    const long long index = integer(words.take("register index"), "the register index");
    if (index < 0 || index >= PlayScript::registerLimit)
        throw BadLine{"register " + std::to_string(index) + " out of range (0 to " +
                      std::to_string(PlayScript::registerLimit - 1) + ")"};
    c.index = static_cast<int>(index);
    const std::string op = words.take("= or !=");
    if (op != "=" && op != "!=")
        throw BadLine{"the comparison is = or !=, not '" + op + "'"};
    c.equal = op == "=";
    const long long value = integer(words.take("value"), "the value");
    if (value < INT32_MIN || value > static_cast<long long>(UINT32_MAX))
        throw BadLine{"the value does not fit 32 bits: " + std::to_string(value)};
    c.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return c;
}

void position(Words& words, PlayCommand& command)
{
    command.x = static_cast<int>(integer(words.take("X"), "X"));
    command.y = static_cast<int>(integer(words.take("Y"), "Y"));
    if (command.x < 0 || command.y < 0 || command.x > 0x7FFF || command.y > 0x7FFF)
        throw BadLine{"the position is out of range (0 to 32767)"};
}

void repeatIfAny(Words& words, PlayCommand& command)
{
    if (words.empty())
        return;
    const std::string word = words.take("until");
    if (lower(word) != "until")
        throw BadLine{"unexpected argument '" + word + "' (only 'until' may follow)"};
    command.repeat = true;
    command.condition = condition(words);
    command.milliseconds = timeoutIfAny(words);
}

std::string shotName(Words& words)
{
    std::string name = words.take("name");
    words.end();
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_')
            throw BadLine{"a shot name holds letters, digits, '-' and '_' only: '" + name + "'"};
    return name;
}

// Everything after the command word and its blanks, trailing blanks cut.
std::string restOfLine(const std::string& line, size_t commandEnd)
{
    size_t from = line.find_first_not_of(" \t", commandEnd);
    size_t to = line.find_last_not_of(" \t\r");
    if (from == std::string::npos || to < from)
        return std::string();
    return line.substr(from, to - from + 1);
}

PlayCommand command(const std::string& line, int number)
{
    std::istringstream in(line);
    std::string name;
    in >> name;
    std::vector<std::string> rest;
    for (std::string word; in >> word;)
        rest.push_back(word);
    Words words(name, rest);
    PlayCommand c;
    c.line = number;
    c.source = restOfLine(line, 0);
    c.milliseconds = PlayScript::defaultTimeoutMs;
    const std::string kind = lower(name);
    if (kind == "window") {
        c.kind = PlayCommand::window;
        c.milliseconds = timeoutIfAny(words);
    } else if (kind == "wait") {
        c.kind = PlayCommand::pause;
        c.milliseconds = duration(words.take("time"));
        words.end();
    } else if (kind == "until") {
        c.kind = PlayCommand::until;
        c.condition = condition(words);
        c.milliseconds = timeoutIfAny(words);
    } else if (kind == "key") {
        c.kind = PlayCommand::key;
        c.keyCode = keyCode(words.take("key name"));
        repeatIfAny(words, c);
    } else if (kind == "click" || kind == "move") {
        c.kind = kind == "click" ? PlayCommand::click : PlayCommand::move;
        position(words, c);
        if (c.kind == PlayCommand::click)
            repeatIfAny(words, c);
        else
            words.end();
    } else if (kind == "type") {
        c.kind = PlayCommand::type;
        c.text = restOfLine(line, line.find(name) + name.size());
        if (c.text.empty())
            throw BadLine{"type: missing argument: text"};
    } else if (kind == "shot") {
        c.kind = PlayCommand::shot;
        c.text = shotName(words);
    } else if (kind == "close") {
        c.kind = PlayCommand::close;
        if (!words.empty() && (lower(words.peek()) == "yes" || lower(words.peek()) == "no"))
            c.answerYes = lower(words.take("answer")) == "yes";
        c.milliseconds = timeoutIfAny(words);
    } else if (kind == "exit") {
        c.kind = PlayCommand::exit;
        c.exitCode = static_cast<int>(integer(words.take("exit code"), "the exit code"));
        c.milliseconds = timeoutIfAny(words);
    } else {
        throw BadLine{"unknown command '" + name + "'"};
    }
    return c;
}

bool skipped(const std::string& line)
{
    size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

bool PlayScript::read(const std::string& text)
{
    commands_.clear();
    error_.clear();
    std::map<std::string, int> shots;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (skipped(line))
            continue;
        try {
            PlayCommand c = command(line, number);
            if (c.kind == PlayCommand::shot && !shots.emplace(c.text, number).second)
                throw BadLine{"shot '" + c.text + "' is already taken on line " +
                              std::to_string(shots[c.text])};
            commands_.push_back(c);
        } catch (const BadLine& bad) {
            error_ = "line " + std::to_string(number) + ": " + bad.why;
            commands_.clear();
            return false;
        }
    }
    return true;
}
