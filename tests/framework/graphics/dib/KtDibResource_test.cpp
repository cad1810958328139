// KtDib from the resources of this test program: bitmap resources and "RCG" resources, sound and malformed.
#include "DibPixels.h"
#include "KtDib.h"
#include "KtString.h"
#include "MessageBoxRecorder.h"
#include <gtest/gtest.h>

namespace {

const std::string pictures = "../dib-resources/";

// Resource numbers of DibTest.rc.
const char* const picture8 = MAKEINTRESOURCEA(300);
const char* const corePicture = MAKEINTRESOURCEA(303);
const char* const cutBitmap = MAKEINTRESOURCEA(304);
const char* const goodRcg = MAKEINTRESOURCEA(310);
const char* const badMagic = MAKEINTRESOURCEA(311);
const char* const oversizeRcg = MAKEINTRESOURCEA(312);
const char* const cutRcg = MAKEINTRESOURCEA(313);

// A DIB holding something, to see whether a load left it as it was.
void fillWithMarker(KtDib& dib)
{
    dib.loadResource(picture8, nullptr);
    ASSERT_NE(nullptr, dib.header);
}

// No loader of this program shows a box; one would stop the test for good.
class KtDibResource : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(0u, boxes.count()); }
    MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(KtDibResource, BitmapResourcesByNameAndNumber)
{
    KtDib dib;
    dib.loadResource(picture8, nullptr);
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(8, dib.header->biBitCount);
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "p8.rgb"));

    dib.loadResource(MAKEINTRESOURCEA(301), GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(24, dib.header->biBitCount);
    EXPECT_EQ(nullptr, dib.colours);
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "t24.rgb"));
}

TEST_F(KtDibResource, CoreHeaderBitmapBecomesAnInfoHeaderWithFourByteEntries)
{
    KtDib dib;
    dib.loadResource(corePicture, nullptr);
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(40u, dib.header->biSize);
    EXPECT_EQ(1, dib.header->biPlanes);
    EXPECT_EQ(256, dib.colourCount());
    EXPECT_EQ(40u + 256 * 4, HeapSize(GetProcessHeap(), 0, dib.header));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(0, dib.colours[i].rgbReserved) << "entry " << i;
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "core8.rgb"));
}

TEST_F(KtDibResource, RcgResourceDecodesItsMcgImage)
{
    KtDib dib;
    dib.loadResource(goodRcg, nullptr);
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "p8.rgb"));
}

TEST_F(KtDibResource, MissingResourceAndWrongMagicLeaveTheDibAsItWas)
{
    KtDib dib;
    fillWithMarker(dib);
    BITMAPINFOHEADER* before = dib.header;
    dib.loadResource(MAKEINTRESOURCEA(399), nullptr);
    EXPECT_EQ(before, dib.header);
    dib.loadResource(MAKEINTRESOURCEA(999), nullptr);
    EXPECT_EQ(before, dib.header);
    dib.loadResource(badMagic, nullptr);
    EXPECT_EQ(before, dib.header);
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "p8.rgb"));
}

TEST_F(KtDibResource, MalformedResourcesGiveAnEmptyDib)
{
    // A stated image size beyond the resource, an image whose stream is cut,
    // and a bitmap whose rows are cut: each empties the DIB.
    for (const char* name : {oversizeRcg, cutRcg, cutBitmap}) {
        KtDib dib;
        fillWithMarker(dib);
        dib.loadResource(name, nullptr);
        EXPECT_EQ(nullptr, dib.header) << reinterpret_cast<uintptr_t>(name);
        EXPECT_EQ(nullptr, dib.pixels) << reinterpret_cast<uintptr_t>(name);
        EXPECT_EQ(nullptr, dib.colours) << reinterpret_cast<uintptr_t>(name);
    }
}

TEST_F(KtDibResource, NamePointerIsAFileName)
{
    KtDib dib;
    std::string file = pictures + "t24.bmp";
    dib.loadResource(file.c_str(), nullptr);
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ("", DibPixels::compare(dib, pictures + "t24.rgb"));
}
