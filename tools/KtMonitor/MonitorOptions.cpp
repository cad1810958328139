// MonitorOptions: parsing of the monitor's command line.
#include "MonitorCommands.h"
#include <cerrno>
#include <cstdlib>

namespace {
bool number(const std::string& text, std::int32_t* value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (*end || errno || parsed < INT32_MIN || parsed > static_cast<long long>(UINT32_MAX))
        return false;
    *value = static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed));
    return true;
}
}  // namespace

bool MonitorOptions::parse(const std::vector<std::string>& arguments, std::string* error)
{
    size_t at = 0;
    auto need = [&](size_t count, const std::string& name) {
        if (at + count < arguments.size())
            return true;
        *error = name + " needs " + std::to_string(count) + " value(s)";
        return false;
    };
    auto numberAt = [&](size_t index, std::int32_t* value) {
        if (number(arguments[index], value))
            return true;
        *error = "not a number: " + arguments[index];
        return false;
    };
    for (; at < arguments.size(); ++at) {
        const std::string& name = arguments[at];
        MonitorCommand command;
        if (name == "--records") {
            records = true;
            continue;
        }
        if (name == "--timeout") {
            std::int32_t value = 0;
            if (!need(1, name) || !numberAt(at + 1, &value))
                return false;
            timeout = static_cast<unsigned>(value);
            ++at;
            continue;
        }
        if (name == "--print") {
            command.kind = MonitorCommand::print;
        } else if (name == "--set-game" || name == "--set-system") {
            command.kind = name == "--set-game" ? MonitorCommand::setGame : MonitorCommand::setSystem;
            if (!need(2, name) || !numberAt(at + 1, &command.first) || !numberAt(at + 2, &command.second))
                return false;
            at += 2;
        } else if (name == "--set-string") {
            command.kind = MonitorCommand::setString;
            if (!need(2, name) || !numberAt(at + 1, &command.first))
                return false;
            command.text = arguments[at + 2];
            at += 2;
        } else if (name == "--request") {
            command.kind = MonitorCommand::request;
            if (!need(2, name) || !numberAt(at + 1, &command.first) || !numberAt(at + 2, &command.second))
                return false;
            at += 2;
            if (at + 1 < arguments.size() && arguments[at + 1].compare(0, 2, "--") != 0) {
                if (!numberAt(at + 1, &command.third))
                    return false;
                ++at;
            }
        } else if (name == "--wait-end") {
            command.kind = MonitorCommand::waitEnd;
            if (!need(1, name) || !numberAt(at + 1, &command.first))
                return false;
            ++at;
        } else {
            *error = "unknown option: " + name;
            return false;
        }
        commands.push_back(command);
    }
    if (commands.empty()) {
        *error = "nothing to do";
        return false;
    }
    return true;
}
