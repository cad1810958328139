// SurfaceClip: fitting a transfer rectangle inside both the source and the destination surface.
#include "SurfaceClip.h"
#include <algorithm>
#include <cstdint>

void SurfaceClip::shiftToOrigin(int& d, int& s, int& size)
{
    const int64_t shift = std::max<int64_t>({0, -int64_t(d), -int64_t(s)});
    d = int(d + shift);
    s = int(s + shift);
    // A shift larger than the size leaves nothing; keep the value from
    // wrapping round for sizes near the limits of int.
    size = int(std::max<int64_t>(int64_t(size) - shift, -1));
}

int SurfaceClip::cut(int d, int size, int destLimit, int s, int srcLimit)
{
    // Worked in 64 bits: d + size may pass INT_MAX for a caller's "everything".
    int64_t n = std::min<int64_t>(int64_t(d) + size, destLimit) - d;
    n = std::min<int64_t>(n + s, srcLimit) - s;
    return int(n);
}

bool SurfaceClip::clip(int destWidth, int destHeight, int srcWidth, int srcHeight,
                       int& dx, int& dy, int& sx, int& sy, int& w, int& h)
{
    shiftToOrigin(dx, sx, w);
    shiftToOrigin(dy, sy, h);
    if (w < 1 || h < 1 || dx >= destWidth || sx >= srcWidth || dy >= destHeight || sy >= srcHeight)
        return false;
    w = cut(dx, w, destWidth, sx, srcWidth);
    h = cut(dy, h, destHeight, sy, srcHeight);
    return true;
}

bool SurfaceClip::tileSpan(long long start, long long end, int tile, long long low,
                           long long high, int& firstPosition, int& count)
{
    const long long from = std::max(start, low);
    const long long to = std::min(end, high);
    if (tile < 1 || from >= to)
        return false;
    const long long first = (from - start) / tile;
    const long long last = (to - 1 - start) / tile;
    firstPosition = int(start + first * tile);
    count = int(last - first + 1);
    return true;
}
