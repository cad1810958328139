// RectMath: the rectangle arithmetic, kept free of the platform headers.
#include "RectMath.h"
#include <algorithm>

namespace RectMath {

namespace {

void makeEmpty(RectEdges& r)
{
    r = RectEdges{0, 0, 0, 0};
}

}  // namespace

bool isEmpty(const RectEdges& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void normalise(RectEdges& r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
}

bool intersect(RectEdges& r, const RectEdges& other)
{
    RectEdges common{std::max(r.left, other.left), std::max(r.top, other.top),
                     std::min(r.right, other.right), std::min(r.bottom, other.bottom)};
    if (isEmpty(r) || isEmpty(other) || isEmpty(common)) {
        makeEmpty(r);
        return false;
    }
    r = common;
    return true;
}

bool unite(RectEdges& r, const RectEdges& other)
{
    bool thisEmpty = isEmpty(r);
    bool otherEmpty = isEmpty(other);
    if (thisEmpty && otherEmpty) {
        makeEmpty(r);
        return false;
    }
    if (thisEmpty) {
        r = other;
        return true;
    }
    if (!otherEmpty)
        r = RectEdges{std::min(r.left, other.left), std::min(r.top, other.top),
                      std::max(r.right, other.right), std::max(r.bottom, other.bottom)};
    return true;
}

}  // namespace RectMath
