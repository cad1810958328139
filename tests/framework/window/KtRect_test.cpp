// KtRect: normalising, clipping and uniting (checked against the platform's own), moves, and the file record.
#include "KtFile.h"
#include "KtRect.h"
#include "MessageBoxRecorder.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <ostream>

void PrintTo(const KtRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

const char* const kFileName = "KtRect_test.tmp";

TEST(KtRect, EverySetSwapsReversedEdges)
{
    EXPECT_EQ(KtRect(0, 5, 10, 20), KtRect(10, 20, 0, 5));
    KtRect r(0, 5, 10, 20);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(5, r.top);
    EXPECT_EQ(10, r.right);
    EXPECT_EQ(20, r.bottom);

    r.set(-3, 8, -7, 2);
    EXPECT_EQ(KtRect(-7, 2, -3, 8), r);
    // Edges written directly are swapped only when asked.
    r.left = 100;
    r.normalise();
    EXPECT_EQ(KtRect(-3, 2, 100, 8), r);

    RECT platform{30, 40, 10, 20};
    EXPECT_EQ(KtRect(10, 20, 30, 40), KtRect::from(platform));
    RECT back = KtRect(1, 2, 3, 4).as<RECT>();
    EXPECT_EQ(1, back.left);
    EXPECT_EQ(4, back.bottom);
    EXPECT_EQ(KtRect(0, 0, 0, 0), KtRect());
}

TEST(KtRect, IntersectClipsAndStoresAnEmptyResultAsZeros)
{
    KtRect r(0, 0, 10, 10);
    EXPECT_NE(0, r.intersect(KtRect(5, -5, 20, 7)));
    EXPECT_EQ(KtRect(5, 0, 10, 7), r);

    KtRect touching(0, 0, 10, 10);
    EXPECT_EQ(0, touching.intersect(KtRect(10, 0, 20, 10)));
    EXPECT_EQ(KtRect(), touching);

    KtRect apart(50, 50, 60, 60);
    EXPECT_EQ(0, apart.intersect(KtRect(0, 0, 10, 10)));
    EXPECT_EQ(KtRect(), apart);
}

TEST(KtRect, UniteIgnoresEmptyOperands)
{
    KtRect empty;
    EXPECT_NE(0, empty.unite(KtRect(1, 1, 4, 4)));
    EXPECT_EQ(KtRect(1, 1, 4, 4), empty);

    KtRect r(1, 1, 4, 4);
    EXPECT_NE(0, r.unite(KtRect(9, 9, 9, 20)));   // zero width: empty, does not count
    EXPECT_EQ(KtRect(1, 1, 4, 4), r);
    EXPECT_NE(0, r.unite(KtRect(-2, 3, 2, 10)));
    EXPECT_EQ(KtRect(-2, 1, 4, 10), r);

    KtRect both(5, 5, 5, 5);
    EXPECT_EQ(0, both.unite(KtRect(7, 7, 8, 7)));
    EXPECT_EQ(KtRect(), both);
}

// The windows-free arithmetic must give what IntersectRect and UnionRect give.
TEST(KtRect, ClippingAndUnitingMatchThePlatformOnRandomRectangles)
{
    srand(20240611);
    auto coordinate = [] { return rand() % 41 - 20; };
    for (int i = 0; i < 2000; ++i) {
        KtRect a(coordinate(), coordinate(), coordinate(), coordinate());
        KtRect b(coordinate(), coordinate(), coordinate(), coordinate());
        RECT ra = a.as<RECT>(), rb = b.as<RECT>(), out;

        KtRect clipped = a;
        int notEmpty = clipped.intersect(b);
        BOOL platformNotEmpty = IntersectRect(&out, &ra, &rb);
        ASSERT_EQ(platformNotEmpty != FALSE, notEmpty != 0) << "intersect case " << i;
        ASSERT_EQ(KtRect::from(out), clipped) << "intersect case " << i;

        KtRect united = a;
        notEmpty = united.unite(b);
        platformNotEmpty = UnionRect(&out, &ra, &rb);
        ASSERT_EQ(platformNotEmpty != FALSE, notEmpty != 0) << "unite case " << i;
        ASSERT_EQ(KtRect::from(out), united) << "unite case " << i;
    }
}

TEST(KtRect, MoveToKeepsTheSizeAndOffsetShiftsBothEdges)
{
    KtRect r(10, 10, 30, 20);
    r.moveTo(100, 50);
    EXPECT_EQ(KtRect(100, 50, 120, 60), r);
    r.offset(-200, 5);
    EXPECT_EQ(KtRect(-100, 55, -80, 65), r);
    EXPECT_EQ(20, r.width());
    EXPECT_EQ(10, r.height());
    EXPECT_TRUE(r.contains(-100, 55));
    EXPECT_FALSE(r.contains(-80, 60)) << "right edge is exclusive";
}

class KtRectFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.open(kFileName, CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    }
    void TearDown() override
    {
        file.close();
        DeleteFileA(kFileName);
    }
    void rewind() { SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN); }
    DWORD size() { return GetFileSize(file.handle, nullptr); }

    MessageBoxRecorder boxes;
    KtFile file;
};

TEST_F(KtRectFile, WriteStoresFourLittleEndianEdgesAndReadGivesThemBack)
{
    ASSERT_TRUE(file.isOpen());
    KtRect(-2, 0x0102, 640, 0x01020304).write(file);
    ASSERT_EQ(16u, size());
    rewind();
    unsigned char bytes[16];
    ASSERT_EQ(16u, file.read(bytes, 16));
    const unsigned char expected[16] = {0xFE, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x00, 0x00,
                                        0x80, 0x02, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(expected[i], bytes[i]) << "byte " << i;

    rewind();
    KtRect back;
    back.read(file);
    EXPECT_EQ(KtRect(-2, 0x0102, 640, 0x01020304), back);
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(KtRectFile, SlotsOneAndTwoAreWriteAndRead)
{
    KtRect r(1, 2, 3, 4);
    callSlot<void>(&r, 1, &file);
    EXPECT_EQ(16u, size());
    rewind();
    KtRect back;
    callSlot<void>(&back, 2, &file);
    EXPECT_EQ(r, back);
}

TEST_F(KtRectFile, ReadNormalisesReversedEdgesAndIgnoresAShortRecord)
{
    const int32_t reversed[4] = {50, 60, 10, 20};
    DWORD written = 0;
    WriteFile(file.handle, reversed, sizeof reversed, &written, nullptr);
    WriteFile(file.handle, reversed, 8, &written, nullptr);   // half a record
    rewind();
    KtRect r(7, 7, 8, 8);
    r.read(file);
    EXPECT_EQ(KtRect(10, 20, 50, 60), r);
    r.read(file);
    EXPECT_EQ(KtRect(10, 20, 50, 60), r) << "a short record must not change the rectangle";
    EXPECT_EQ(0u, boxes.count());
}

TEST(KtRectClosedFile, WriteAndReadDoNothing)
{
    MessageBoxRecorder boxes;
    KtFile closed(kFileName);
    KtRect r(1, 2, 3, 4);
    r.write(closed);
    r.read(closed);
    EXPECT_EQ(KtRect(1, 2, 3, 4), r);
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kFileName));
}

}  // namespace
