// ScreenFit: windows-free keep-on-screen rule that keeps a window clear of the taskbar.
#pragma once
#include "RectMath.h"

// The part of the screen a window may use: origin and right/bottom limits.
struct ScreenArea {
    int originX;
    int originY;
    int limitW;
    int limitH;
};

namespace ScreenFit {

// The usable area of a screen of the given size. A visible taskbar (not set
// to hide itself) takes its width or height off the edge it stands on.
ScreenArea usableArea(int screenWidth, int screenHeight, bool taskbarAutoHides,
                      RectEdges taskbar);

// Moves x and y so that a window of the given size lies inside the area.
// A window larger than the area keeps its position; the result is then false.
bool fit(const ScreenArea& area, int& x, int& y, int width, int height);

}  // namespace ScreenFit
