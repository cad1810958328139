// WindowPixels: reads what a window shows on the screen, as 32-bit pixels top-down.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

// Copies the client area from the window's device context into a 32-bit
// DIB section (exact on a depth-24 display). Pixels are 0x00RRGGBB, rows
// from the top; any thread may read any window.
class WindowPixels {
public:
    WindowPixels(HWND window, int width, int height);

    uint32_t at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};
