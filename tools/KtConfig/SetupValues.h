// SetupValues: the settings the setup tool writes for the host.
#pragma once
#include <string>

// Zero width, height or depth means "keep what the display has now".
// frameMode: 0 window, 1 full screen with the game centred on black,
// 2 full screen. drive: "D:" form, or empty when no game disc is chosen.
struct SetupValues {
    unsigned long width = 0;
    unsigned long height = 0;
    unsigned long depth = 0;
    unsigned long frameMode = 0;
    std::string drive;
};
