// Tests of the clipping shared by every transfer between surfaces.
#include "SurfaceClip.h"
#include <climits>
#include <gtest/gtest.h>

namespace {
struct Box {
    int dx, dy, sx, sy, w, h;
};

// Destination 40 × 30, source 20 × 10.
bool clipped(Box& b)
{
    return SurfaceClip::clip(40, 30, 20, 10, b.dx, b.dy, b.sx, b.sy, b.w, b.h);
}
}

TEST(SurfaceClip, NegativePositionsShiftBothSidesAndShrinkTheSize)
{
    Box b{-5, 0, 0, 0, 10, 4};
    ASSERT_TRUE(clipped(b));
    EXPECT_EQ(0, b.dx);
    EXPECT_EQ(5, b.sx);
    EXPECT_EQ(5, b.w);

    Box c{-3, 2, -5, 0, 12, 4};
    ASSERT_TRUE(clipped(c));
    EXPECT_EQ(2, c.dx);
    EXPECT_EQ(0, c.sx);
    EXPECT_EQ(7, c.w);

    Box d{0, -2, 0, -6, 5, 8};   // the same rule vertically
    ASSERT_TRUE(clipped(d));
    EXPECT_EQ(4, d.dy);
    EXPECT_EQ(0, d.sy);
    EXPECT_EQ(2, d.h);
}

TEST(SurfaceClip, SizeIsCutAtTheNearerEdgeOfEitherSurface)
{
    Box atDest{35, 26, 0, 0, 20, 10};
    ASSERT_TRUE(clipped(atDest));
    EXPECT_EQ(5, atDest.w);
    EXPECT_EQ(4, atDest.h);

    Box atSource{0, 0, 15, 7, 20, 10};
    ASSERT_TRUE(clipped(atSource));
    EXPECT_EQ(5, atSource.w);
    EXPECT_EQ(3, atSource.h);
}

TEST(SurfaceClip, NothingRemainsOnOrPastAnyEdge)
{
    Box right{40, 0, 0, 0, 5, 5}, bottom{0, 30, 0, 0, 5, 5};
    Box sourceRight{0, 0, 20, 0, 5, 5}, sourceBottom{0, 0, 0, 10, 5, 5};
    Box allLeft{-5, 0, 0, 0, 5, 5}, empty{0, 0, 0, 0, 0, 5};
    EXPECT_FALSE(clipped(right));
    EXPECT_FALSE(clipped(bottom));
    EXPECT_FALSE(clipped(sourceRight));
    EXPECT_FALSE(clipped(sourceBottom));
    EXPECT_FALSE(clipped(allLeft));
    EXPECT_FALSE(clipped(empty));
}

TEST(SurfaceClip, ExtremeSizesDoNotWrapAround)
{
    Box huge{10, 5, 0, 0, INT_MAX, INT_MAX};
    ASSERT_TRUE(clipped(huge));
    EXPECT_EQ(20, huge.w);
    EXPECT_EQ(10, huge.h);

    Box farLeft{INT_MIN, 0, 0, 0, 10, 5};
    EXPECT_FALSE(clipped(farLeft));
}
