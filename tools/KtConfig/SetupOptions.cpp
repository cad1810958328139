// SetupOptions: parsing of the setup tool's command line.
#include "SetupOptions.h"
#include <cctype>
#include <vector>

namespace {

// Splits at blanks; a double quote starts or ends a quoted run, so that
// /key:"Software\My Key" stays one word.
std::vector<std::string> splitWords(const char* text)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (*p == ' ' || *p == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += *p;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Decimal digits only, at most 65535: no sign, no hex, no trailing junk.
bool readNumber(const std::string& text, unsigned long& value)
{
    if (text.empty() || text.size() > 5)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    return value <= 65535;
}

} // namespace

const char* SetupOptions::productKey()
{
    return "Software\\Lumen\\VELKA\\Pomelo";
}

bool SetupOptions::parse(const char* commandLine)
{
    for (const std::string& word : splitWords(commandLine))
        if (!parseOne(word))
            return false;
    if (width_.has_value() != height_.has_value() || (width_ && (*width_ == 0) != (*height_ == 0)))
        return fail("/width and /height go together (both 0 keeps the current resolution)");
    return true;
}

bool SetupOptions::parseOne(const std::string& word)
{
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return fail("not an option: " + word);
    size_t colon = word.find(':');
    std::string name = lower(word.substr(1, colon == std::string::npos ? std::string::npos : colon - 1));
    bool hasValue = colon != std::string::npos;
    std::string value = hasValue ? word.substr(colon + 1) : std::string();

    if (name == "auto" && !hasValue) {
        automatic_ = true;
        return true;
    }
    if (name == "key" && hasValue) {
        if (value.empty())
            return fail("/key needs a registry path");
        keyPath_ = value;
        return true;
    }
    if (name == "drive" && hasValue) {
        bool ok = false;
        drive_ = normaliseDrive(value, ok);
        return ok || fail("bad drive: " + value);
    }
    unsigned long number = 0;
    if (!hasValue || !readNumber(value, number))
        return fail("bad option or value: " + word);
    if (name == "width" || name == "height") {
        if (number != 0 && number < 320)
            return fail("resolution too small: " + word);
        (name == "width" ? width_ : height_) = number;
    } else if (name == "depth") {
        if (number != 0 && number != 16 && number != 24 && number != 32)
            return fail("depth must be 0, 16, 24 or 32: " + word);
        depth_ = number;
    } else if (name == "frame") {
        if (number > 2)
            return fail("frame must be 0, 1 or 2: " + word);
        frameMode_ = number;
    } else {
        return fail("unknown option: " + word);
    }
    return true;
}

bool SetupOptions::fail(const std::string& message)
{
    error_ = message;
    return false;
}

std::string SetupOptions::normaliseDrive(const std::string& text, bool& ok)
{
    ok = true;
    if (text.empty())
        return std::string();
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    std::string rest = text.substr(1);
    ok = letter >= 'A' && letter <= 'Z' && (rest.empty() || rest == ":" || rest == ":\\");
    return ok ? std::string(1, letter) + ":" : std::string();
}

void SetupOptions::applyTo(SetupValues& values) const
{
    if (width_) {
        values.width = *width_;
        values.height = *height_;
    }
    if (depth_)
        values.depth = *depth_;
    if (frameMode_)
        values.frameMode = *frameMode_;
    if (drive_)
        values.drive = *drive_;
}
