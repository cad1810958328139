// KtRect: a normalised rectangle value that can write itself to a file and read itself back.
#pragma once
#include "RectMath.h"
#include <cstdint>

class KtFile;

// Embedded in window and layer objects that the scenario module reaches, so
// the layout is fixed: the virtual table, then left, top, right, bottom
// (right and bottom exclusive). Every set through the class swaps reversed
// edges; the empty rectangle is all zeros. The header stays free of the
// platform headers; as<RECT>() and from(rect) convert where Win32 needs it.
class KtRect {
public:
    KtRect() : left(0), top(0), right(0), bottom(0) {}
    KtRect(int32_t l, int32_t t, int32_t r, int32_t b) { set(l, t, r, b); }
    KtRect(const KtRect&) = default;
    KtRect& operator=(const KtRect&) = default;
    virtual ~KtRect();                        // slot 0

    // The four edges as 32-bit little-endian values, 16 bytes; a closed
    // file is left alone.
    virtual void write(KtFile& file);         // slot 1
    // Reads what write wrote. A short read (the end of the file) leaves the
    // rectangle as it was; what is read is normalised like any other set.
    virtual void read(KtFile& file);          // slot 2

    void set(int32_t l, int32_t t, int32_t r, int32_t b);
    void normalise();
    // This becomes the common part; returns non-zero when it is not empty.
    int intersect(const KtRect& other);
    // This becomes the smallest rectangle holding both; an empty operand
    // does not count. Returns non-zero when the result is not empty.
    int unite(const KtRect& other);
    // Moves the top-left corner to (x, y), keeping the size.
    void moveTo(int32_t x, int32_t y);
    void offset(int32_t dx, int32_t dy);

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return RectMath::isEmpty(edges()); }
    bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const KtRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const KtRect& o) const { return !(*this == o); }

    // Conversions to and from any type with left, top, right and bottom (RECT).
    template <class RectT>
    RectT as() const
    {
        RectT r;
        r.left = left;
        r.top = top;
        r.right = right;
        r.bottom = bottom;
        return r;
    }
    template <class RectT>
    static KtRect from(const RectT& r)
    {
        return KtRect(r.left, r.top, r.right, r.bottom);
    }

    RectEdges edges() const { return RectEdges{left, top, right, bottom}; }

    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

private:
    void assign(const RectEdges& e);
};
