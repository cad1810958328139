// PopupArea: where a scenario's popup viewport opens, from the codes its rectangle may carry.
#pragma once
#include "RectMath.h"
#include <cstdint>
#include <functional>

// Windows-free: the caller supplies the screen and cursor positions and the
// conversion to screen coordinates.
namespace PopupArea {

// rect.left and rect.top both set to one of these ask for a placement.
constexpr int32_t coversScreen = 0xFFFFB;   // the whole screen
constexpr int32_t atMouse = 0xFFFFE;        // at the cursor; right and bottom carry the size plus this

// A corner this far left is on no screen: its window is minimised (the
// system keeps minimised windows far off screen while it restores them).
constexpr int32_t offScreenLeft = -1000;
constexpr int conversionRetries = 5;

struct Place {
    int32_t x;
    int32_t y;
};

// What the codes refer to, in the parent's client coordinates.
struct Surroundings {
    Place screenOrigin;   // the screen's top-left corner
    int32_t screenWidth;
    int32_t screenHeight;
    Place cursor;
};

// The popup's client rectangle in the parent's client coordinates, normalised.
RectEdges resolve(const RectEdges& asked, const Surroundings& around);

// The popup's top-left corner on the screen. toScreen converts the client
// corner; while the result lies off screen to the left, pause() is called
// and the corner converted again, up to conversionRetries times. A corner
// still off screen becomes (0, 0).
Place screenCorner(Place clientCorner, const std::function<Place(Place)>& toScreen,
                   const std::function<void()>& pause);

}  // namespace PopupArea
