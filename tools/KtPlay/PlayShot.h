// PlayShot: one screenshot of the game, as 24-bit pixels, written as a BMP file.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Rows are bottom-up and each is padded to a multiple of 4 bytes, as a
// 24-bit DIB keeps them, so the pixels go to a file as they are.
class PlayShot {
public:
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<BYTE> pixels;

    static int stride(int width) { return (width * 3 + 3) & ~3; }
    // What the screen shows of the window, with whatever covers it.
    bool capture(HWND window);
    bool write(const std::string& path) const;
    // The colour at a point counted from the top-left, as RGB.
    COLORREF at(int x, int y) const;
};
