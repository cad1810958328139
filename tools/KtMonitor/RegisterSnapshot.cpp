// RegisterSnapshot: the registers as text, one line each.
#include "RegisterSnapshot.h"
#include <windows.h>

std::string RegisterSnapshot::escaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // A double-byte character goes over whole: its trail byte may be
        // 0x5C, which is no backslash there.
        if (IsDBCSLeadByte(BYTE(c)) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::string RegisterSnapshot::format(const char* lineEnd) const
{
    std::string out;
    auto values = [&](const char* name, const std::vector<std::uint32_t>& list) {
        for (size_t i = 0; i < list.size(); ++i)
            out += std::string(name) + "[" + std::to_string(i) + "]="
                   + std::to_string(static_cast<std::int32_t>(list[i])) + lineEnd;
    };
    values("game", game);
    values("system", system);
    for (size_t i = 0; i < strings.size(); ++i)
        out += "string[" + std::to_string(i) + "]=" + escaped(strings[i]) + lineEnd;
    if (hasText)
        out += "text=" + escaped(text) + lineEnd;
    return out;
}
