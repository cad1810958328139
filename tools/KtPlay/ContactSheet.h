// ContactSheet: every screenshot of a play at half size on one picture, each with its name.
#pragma once
#include "PlayShot.h"
#include <vector>

class ContactSheet {
public:
    static constexpr int columns = 3;
    static constexpr int gap = 8;
    static constexpr int labelHeight = 20;
    // The sheet of the shots in their order, left to right, top to bottom.
    static PlayShot compose(const std::vector<PlayShot>& shots);
};
