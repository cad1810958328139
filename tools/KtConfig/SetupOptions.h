// SetupOptions: the setup tool's command line.
#pragma once
#include "SetupValues.h"
#include <optional>
#include <string>

// Options, case-insensitive, separated by blanks (quotes group a value):
//   /auto            write the settings without showing the dialog
//   /width:N /height:N  screen resolution (both or neither; 0 0 = keep)
//   /depth:N         0 (keep), 16, 24 or 32 bits per pixel
//   /frame:N         0 window, 1 full screen centred on black, 2 full screen
//   /drive:X         game-disc drive ("D", "d:", "D:\" all mean "D:"); empty = none
//   /key:PATH        registry key under HKEY_CURRENT_USER instead of the product's
// Values given here override what the registry (or, with /auto, the
// defaults) would otherwise supply.
class SetupOptions {
public:
    // Returns false on an unknown option or a bad value; error() tells which.
    bool parse(const char* commandLine);

    bool automatic() const { return automatic_; }
    const std::string& keyPath() const { return keyPath_; }
    const std::string& error() const { return error_; }

    void applyTo(SetupValues& values) const;

    static const char* productKey();

private:
    bool parseOne(const std::string& option);
    bool fail(const std::string& message);
    static std::string normaliseDrive(const std::string& text, bool& ok);

    bool automatic_ = false;
    std::string keyPath_ = productKey();
    std::optional<unsigned long> width_, height_, depth_, frameMode_;
    std::optional<std::string> drive_;
    std::string error_;
};
