// ScreenFit: the taskbar's edge from its rectangle, and fitting a window into what is left.
#include "ScreenFit.h"

ScreenArea ScreenFit::usableArea(int screenWidth, int screenHeight, bool taskbarAutoHides,
                                 RectEdges taskbar)
{
    ScreenArea area{0, 0, screenWidth, screenHeight};
    if (taskbarAutoHides)
        return area;
    RectMath::normalise(taskbar);
    int barWidth = taskbar.right - taskbar.left;
    int barHeight = taskbar.bottom - taskbar.top;
    if (taskbar.left >= 1) {            // at the right edge
        area.limitW -= barWidth;
    } else if (taskbar.top >= 1) {      // at the bottom
        area.limitH -= barHeight;
    } else if (barWidth <= barHeight) { // at the left edge
        area.originX = barWidth;
        area.limitW -= barWidth;
    } else {                            // at the top
        area.originY = barHeight;
        area.limitH -= barHeight;
    }
    return area;
}

bool ScreenFit::fit(const ScreenArea& area, int& x, int& y, int width, int height)
{
    if (width > area.limitW || height > area.limitH)
        return false;
    if (x < 0)
        x = area.originX;
    if (y < 0)
        y = area.originY;
    // The limits are compared with the right and bottom edges as they are,
    // also when the bar takes the left or top of the screen.
    if (x + width > area.limitW)
        x = area.limitW - width;
    if (y + height > area.limitH)
        y = area.limitH - height;
    return true;
}
