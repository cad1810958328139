// PopupArea: the screen and mouse codes of a popup's rectangle and the wait for a minimised parent.
#include "PopupArea.h"

namespace PopupArea {

RectEdges resolve(const RectEdges& asked, const Surroundings& around)
{
    RectEdges area = asked;
    if (asked.left == coversScreen && asked.top == coversScreen) {
        area = {around.screenOrigin.x, around.screenOrigin.y,
                around.screenOrigin.x + around.screenWidth, around.screenOrigin.y + around.screenHeight};
    } else if (asked.left == atMouse && asked.top == atMouse) {
        // Right and bottom keep their distance from the code: the size.
        area = {around.cursor.x, around.cursor.y, asked.right - atMouse + around.cursor.x,
                asked.bottom - atMouse + around.cursor.y};
    }
    RectMath::normalise(area);
    return area;
}

Place screenCorner(Place clientCorner, const std::function<Place(Place)>& toScreen,
                   const std::function<void()>& pause)
{
    Place corner = toScreen(clientCorner);
    for (int i = 0; i < conversionRetries && corner.x < offScreenLeft; ++i) {
        pause();
        corner = toScreen(clientCorner);
    }
    if (corner.x < offScreenLeft)
        corner = {0, 0};
    return corner;
}

}  // namespace PopupArea
