// KtPoint: the 8-byte file record through slots one and two, and a closed file.
#include "KtFile.h"
#include "KtPoint.h"
#include "MessageBoxRecorder.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>

namespace {

const char* const kFileName = "KtPoint_test.tmp";

TEST(KtPoint, WritesEightLittleEndianBytesAndReadsThemBack)
{
    MessageBoxRecorder boxes;
    {
        KtFile file;
        file.open(kFileName, CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(file.isOpen());
        KtPoint p(-1, 0x0A0B);
        callSlot<void>(&p, 1, &file);
        EXPECT_EQ(8u, GetFileSize(file.handle, nullptr));

        SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN);
        unsigned char bytes[8];
        ASSERT_EQ(8u, file.read(bytes, 8));
        const unsigned char expected[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0x0B, 0x0A, 0x00, 0x00};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(expected[i], bytes[i]) << "byte " << i;

        SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN);
        KtPoint back;
        callSlot<void>(&back, 2, &file);
        EXPECT_EQ(p, back);
        // At the end of the file nothing is read and nothing changes.
        back.read(file);
        EXPECT_EQ(p, back);
    }
    DeleteFileA(kFileName);
    EXPECT_EQ(0u, boxes.count());
}

TEST(KtPoint, AClosedFileIsLeftAlone)
{
    MessageBoxRecorder boxes;
    KtFile closed;
    KtPoint p(3, 4);
    p.write(closed);
    p.read(closed);
    EXPECT_EQ(KtPoint(3, 4), p);
    EXPECT_EQ(KtPoint(0, 0), KtPoint());
    EXPECT_EQ(0u, boxes.count());
    POINT platform = p.as<POINT>();
    EXPECT_EQ(KtPoint(3, 4), KtPoint::from(platform));
}

}  // namespace
