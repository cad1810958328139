// RegisterSnapshot: the registers of the running game as the monitor last received them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RegisterSnapshot {
    std::vector<std::uint32_t> game;
    std::vector<std::uint32_t> system;
    std::vector<std::string> strings;
    std::string text;
    bool hasGame = false;
    bool hasSystem = false;
    bool hasText = false;

    void clear() { *this = RegisterSnapshot(); }

    // One line per register, "game[3]=42", "system[0]=1", "string[1]=...",
    // then "text=..."; values as signed decimals, texts with backslashes,
    // carriage returns and line ends escaped, so every entry is one line.
    std::string format(const char* lineEnd) const;

    static std::string escaped(const std::string& text);
};
