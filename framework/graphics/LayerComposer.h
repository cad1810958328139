// LayerComposer: blends a stack of 8-bit layers into a true-colour frame in one pass, row by row.
#pragma once
#include "PixelRows.h"
#include "RectMath.h"
#include <cstdint>

// One layer as the composer sees it: an 8-bit picture (rows bottom-up in
// memory, addressed from its top row) shown through `clip` of the frame.
// Frame point (x, y) shows picture point (x + shiftX, y + shiftY); on an axis
// with a period of 1 or more picture space repeats, every point reduced into
// 0 .. period − 1 first. A picture point inside `picture` is source pixel
// (point − picture's corner) when that lies inside the source's size.
struct ComposeLayer {
    const std::uint8_t* topRow;   // source pixel (0, 0); the next row is topRow − stride
    int stride;
    int width, height;            // source pixels, 0 when there are none
    const void* colours;          // 256 entries of blue, green, red, reserved
    const PixelRows* rows;        // the loops the layer's surface asks for
    int level;                    // 1 .. 16
    int key;                      // 0 .. 255, or −1: no pixel is transparent
    RectEdges clip;               // frame pixels the layer may touch
    RectEdges picture;
    long long shiftX, shiftY;
    int periodX, periodY;         // below 1: no repeat on that axis
};

// The true-colour frame: rows bottom-up, addressed from the top row.
struct ComposeFrame {
    std::uint8_t* topRow;
    int stride;
    int width, height;
};

// The result is byte for byte that of blending every layer in turn, lowest
// first, each piece with the layer's row loop: every band of frame rows is
// finished for all layers while it is in cache, and a part of a band that a
// higher layer paints opaquely (level 16, no key pixel in that part) is not
// drawn by the layers below it.
class LayerComposer {
public:
    // Composes layers[0 .. count) inside `area` (cut to the frame) and
    // returns the union of the rectangles the layers' pieces cover, whether
    // or not a covered piece was drawn.
    static RectEdges compose(const ComposeFrame& frame, const ComposeLayer* layers, int count,
                             RectEdges area);
};
