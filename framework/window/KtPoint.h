// KtPoint: a point value that can write itself to a file and read itself back.
#pragma once
#include <cstdint>

class KtFile;

// Embedded in objects the scenario module reaches: the virtual table, then
// x and y, read and written directly. as<POINT>() and from(point) convert
// where Win32 needs it.
class KtPoint {
public:
    KtPoint() : x(0), y(0) {}
    KtPoint(int32_t px, int32_t py) : x(px), y(py) {}
    KtPoint(const KtPoint&) = default;
    KtPoint& operator=(const KtPoint&) = default;
    virtual ~KtPoint();                       // slot 0

    // x and y as 32-bit little-endian values, 8 bytes; a closed file is left alone.
    virtual void write(KtFile& file);         // slot 1
    // Reads what write wrote; a short read leaves the point as it was.
    virtual void read(KtFile& file);          // slot 2

    bool operator==(const KtPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const KtPoint& o) const { return !(*this == o); }

    template <class PointT>
    PointT as() const
    {
        PointT p;
        p.x = x;
        p.y = y;
        return p;
    }
    template <class PointT>
    static KtPoint from(const PointT& p)
    {
        return KtPoint(p.x, p.y);
    }

    int32_t x;
    int32_t y;
};
