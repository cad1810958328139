// RectMath: windows-free rectangle arithmetic behind KtRect (normalising, clipping, uniting).
#pragma once
#include <cstdint>

// Edges of a rectangle; right and bottom are exclusive. A rectangle with
// right <= left or bottom <= top is empty and covers nothing.
struct RectEdges {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

namespace RectMath {

bool isEmpty(const RectEdges& r);
// Swaps reversed edges so that left <= right and top <= bottom.
void normalise(RectEdges& r);
// r becomes the common part of r and other; an empty result is stored as
// all zeros. Returns true when the result is not empty.
bool intersect(RectEdges& r, const RectEdges& other);
// r becomes the smallest rectangle holding both; an empty operand does not
// count, two empty operands give all zeros. Returns true when the result is
// not empty.
bool unite(RectEdges& r, const RectEdges& other);

}  // namespace RectMath
