// SurfaceClip: fitting a transfer rectangle inside both the source and the destination surface.
#pragma once

// Shared by every transfer between surfaces: only the two sizes matter, so
// one routine serves 8-bit and true-colour surfaces alike. Positions and
// sizes are in pixels with y counted from the top.
class SurfaceClip {
public:
    // Moves both positions right (down) until neither is negative, shrinking
    // the size by as much, then cuts the size at the right and bottom edges
    // of both surfaces. Returns false when nothing remains to transfer.
    static bool clip(int destWidth, int destHeight, int srcWidth, int srcHeight,
                     int& dx, int& dy, int& sx, int& sy, int& w, int& h);

    // Tiles of size tile laid side by side from start, the last one ending at
    // or past end: which of them meet [low, high). Gives the position of the
    // first such tile and their number; false when none does. Worked in 64
    // bits, so a huge area over a small destination costs only what is seen.
    static bool tileSpan(long long start, long long end, int tile, long long low, long long high,
                         int& firstPosition, int& count);

    SurfaceClip() = delete;

private:
    static void shiftToOrigin(int& d, int& s, int& size);
    static int cut(int d, int size, int destLimit, int s, int srcLimit);
};
