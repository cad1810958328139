// KtRect: setting, clipping and uniting through RectMath, and the 16-byte file record.
#include "KtRect.h"
#include "KtFile.h"
#include "KtLayoutCheck.h"
#include <cstddef>

// Scenario modules reach the edges by offset.
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(KtRect) == 20, "table pointer and four edges");
static_assert(offsetof(KtRect, left) == 4 && offsetof(KtRect, top) == 8 &&
                  offsetof(KtRect, right) == 12 && offsetof(KtRect, bottom) == 16,
              "edges in the order left, top, right, bottom");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtRect, left), offsetof(KtRect, top), offsetof(KtRect, right),
                               offsetof(KtRect, bottom)}),
              "edges in the order left, top, right, bottom");
#endif
// The record is the edges' memory image, which is little-endian only here.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are little-endian");

namespace {
constexpr DWORD kRecordSize = 4 * sizeof(int32_t);
}

KtRect::~KtRect() = default;

void KtRect::write(KtFile& file)
{
    if (!file.isOpen())
        return;
    const int32_t record[4] = {left, top, right, bottom};
    file.write(record, kRecordSize);
}

void KtRect::read(KtFile& file)
{
    if (!file.isOpen())
        return;
    int32_t record[4];
    if (file.read(record, kRecordSize) != kRecordSize)
        return;
    set(record[0], record[1], record[2], record[3]);
}

void KtRect::set(int32_t l, int32_t t, int32_t r, int32_t b)
{
    left = l;
    top = t;
    right = r;
    bottom = b;
    normalise();
}

void KtRect::normalise()
{
    RectEdges e = edges();
    RectMath::normalise(e);
    assign(e);
}

int KtRect::intersect(const KtRect& other)
{
    RectEdges e = edges();
    bool notEmpty = RectMath::intersect(e, other.edges());
    assign(e);
    return notEmpty ? 1 : 0;
}

int KtRect::unite(const KtRect& other)
{
    RectEdges e = edges();
    bool notEmpty = RectMath::unite(e, other.edges());
    assign(e);
    return notEmpty ? 1 : 0;
}

void KtRect::moveTo(int32_t x, int32_t y)
{
    offset(x - left, y - top);
}

void KtRect::offset(int32_t dx, int32_t dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void KtRect::assign(const RectEdges& e)
{
    left = e.left;
    top = e.top;
    right = e.right;
    bottom = e.bottom;
}
