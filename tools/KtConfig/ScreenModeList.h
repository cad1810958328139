// ScreenModeList: the screen resolutions offered by the setup tool.
#pragma once
#include <vector>

// Distinct resolutions of at least 640 x 480 (the game's own size), sorted
// by width, then height. Always holds 640 x 480, so a display that reports
// nothing still offers the game's size.
class ScreenModeList {
public:
    struct Size {
        unsigned long width, height;
        bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    };

    ScreenModeList();
    // Adds a resolution the display reports; smaller and repeated ones are dropped.
    void add(unsigned long width, unsigned long height);
    // Adds a resolution even below 640 x 480 (a value already stored must
    // stay selectable).
    void addAlways(unsigned long width, unsigned long height);

    const std::vector<Size>& sizes() const { return sizes_; }
    int find(unsigned long width, unsigned long height) const;

private:
    std::vector<Size> sizes_;
};
