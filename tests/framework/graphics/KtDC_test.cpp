// KtDC: obtaining and giving back contexts, and every selection code's restore.
#include "KtDC.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

#ifndef _WIN64
// The byte sizes that modules of the 32-bit product rely on; a 64-bit build
// checks the same fields' order where the classes are defined.
TEST(KtDCLayout32BitOnly, ByteSizes)
{
    static_assert(sizeof(KtDC) == 40);
}
#endif

class KtDCTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateWindowExA(0, "STATIC", "dc", WS_POPUP | WS_VISIBLE, 0, 0, 64, 32,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
};

TEST_F(KtDCTest, EmptyHolderIgnoresEverything)
{
    KtDC dc;
    EXPECT_EQ(0, dc.kind());
    EXPECT_EQ(nullptr, dc.handle());
    dc.select(GetStockObject(BLACK_BRUSH), KtDC::object768Code);
    dc.restore(KtDC::object768Code);
    dc.release();
    EXPECT_EQ(nullptr, dc.handle());
}

TEST_F(KtDCTest, MemoryContextIsDeletedOnRelease)
{
    KtDC dc;
    dc.attach(nullptr, KtDC::memoryKind);
    HDC memory = dc.handle();
    ASSERT_NE(nullptr, memory);
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(memory));
    dc.release();
    EXPECT_EQ(0, dc.kind());
    EXPECT_EQ(nullptr, dc.handle());
    EXPECT_EQ(0u, GetObjectType(memory));
}

TEST_F(KtDCTest, BorrowedContextIsForgottenNotFreed)
{
    HDC own = CreateCompatibleDC(nullptr);
    {
        KtDC dc;
        dc.attach(own, KtDC::borrowedKind);
        EXPECT_EQ(own, dc.handle());
        dc.release();
        EXPECT_EQ(nullptr, dc.handle());
        dc.attach(own, KtDC::borrowedKind);
    }   // the destructor releases too
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(own));
    DeleteDC(own);
}

TEST_F(KtDCTest, WindowContextIsGivenBackBeforeTheNextAttach)
{
    KtDC dc;
    dc.attach(window, KtDC::windowKind);
    EXPECT_EQ(1, dc.kind());
    EXPECT_EQ(window, dc.window());
    HDC first = dc.handle();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(window, WindowFromDC(first));

    dc.attach(nullptr, KtDC::memoryKind);
    EXPECT_EQ(2, dc.kind());
    EXPECT_EQ(nullptr, dc.window());
    // A released cache context gives a second ReleaseDC nothing to do.
    EXPECT_EQ(0, ReleaseDC(window, first));
}

TEST_F(KtDCTest, ScreenContextWhenNoWindowIsGiven)
{
    KtDC dc;
    dc.attach(nullptr, KtDC::windowKind);
    ASSERT_NE(nullptr, dc.handle());
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), GetDeviceCaps(dc.handle(), HORZRES));
}

TEST_F(KtDCTest, EachSavedCodePutsBackWhatItReplaced)
{
    KtDC dc;
    dc.attach(nullptr, KtDC::memoryKind);
    HDC h = dc.handle();
    HGDIOBJ stockBitmap = GetCurrentObject(h, OBJ_BITMAP);
    HGDIOBJ stockPen = GetCurrentObject(h, OBJ_PEN);
    HGDIOBJ stockBrush = GetCurrentObject(h, OBJ_BRUSH);
    HGDIOBJ stockFont = GetCurrentObject(h, OBJ_FONT);
    HGDIOBJ stockPalette = GetCurrentObject(h, OBJ_PAL);

    HBITMAP bitmap = CreateCompatibleBitmap(h, 8, 8);
    LOGPALETTE logical{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE palette = CreatePalette(&logical);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");

    dc.select(bitmap, KtDC::bitmapCode);
    dc.select(palette, KtDC::paletteCode, TRUE);
    dc.select(pen, KtDC::object768Code);
    dc.select(brush, KtDC::object1024Code);
    dc.select(font, KtDC::fontCode);
    dc.select(TRANSPARENT, KtDC::bkModeCode);
    dc.select(RGB(200, 10, 20), KtDC::textColorCode);
    EXPECT_EQ(bitmap, GetCurrentObject(h, OBJ_BITMAP));
    EXPECT_EQ(palette, GetCurrentObject(h, OBJ_PAL));
    EXPECT_EQ(pen, GetCurrentObject(h, OBJ_PEN));
    EXPECT_EQ(brush, GetCurrentObject(h, OBJ_BRUSH));
    EXPECT_EQ(font, GetCurrentObject(h, OBJ_FONT));
    EXPECT_EQ(TRANSPARENT, GetBkMode(h));
    EXPECT_EQ(RGB(200, 10, 20), GetTextColor(h));

    dc.restore(KtDC::textColorCode);
    dc.restore(KtDC::bkModeCode);
    dc.restore(KtDC::fontCode);
    dc.restore(KtDC::object1024Code);
    dc.restore(KtDC::object768Code);
    dc.restore(KtDC::paletteCode);
    dc.restore(KtDC::bitmapCode);
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(h));
    EXPECT_EQ(OPAQUE, GetBkMode(h));
    EXPECT_EQ(stockFont, GetCurrentObject(h, OBJ_FONT));
    EXPECT_EQ(stockBrush, GetCurrentObject(h, OBJ_BRUSH));
    EXPECT_EQ(stockPen, GetCurrentObject(h, OBJ_PEN));
    EXPECT_EQ(stockPalette, GetCurrentObject(h, OBJ_PAL));
    EXPECT_EQ(stockBitmap, GetCurrentObject(h, OBJ_BITMAP));

    dc.release();
    DeleteObject(bitmap);
    DeleteObject(palette);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST_F(KtDCTest, UnsavedAndUnknownCodesLeaveNothingToRestore)
{
    KtDC dc;
    dc.attach(nullptr, KtDC::memoryKind);
    HDC h = dc.handle();
    HGDIOBJ before = GetCurrentObject(h, OBJ_BRUSH);
    dc.select(GetStockObject(BLACK_BRUSH), KtDC::unsavedCode);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetCurrentObject(h, OBJ_BRUSH));
    dc.restore(KtDC::unsavedCode);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetCurrentObject(h, OBJ_BRUSH));
    dc.select(GetStockObject(WHITE_BRUSH), 300);
    dc.restore(300);
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetCurrentObject(h, OBJ_BRUSH));
    dc.select(before, KtDC::unsavedCode);
}

// Text the way the input field draws it: font, transparent background, colour,
// then the three restored in reverse order. Only glyph pixels may change.
TEST_F(KtDCTest, TransparentTextLeavesTheBackgroundAlone)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < 64 * 16; ++i)
        pixels[i] = 0x0000FF00;   // green
    HFONT font = CreateFontA(14, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
    {
        KtDC dc;
        dc.attach(nullptr, KtDC::memoryKind);
        dc.select(dib, KtDC::bitmapCode);
        dc.select(font, KtDC::fontCode);
        dc.select(TRANSPARENT, KtDC::bkModeCode);
        dc.select(RGB(255, 0, 0), KtDC::textColorCode);
        TextOutA(dc.handle(), 2, 1, "WM", 2);
        dc.restore(KtDC::textColorCode);
        dc.restore(KtDC::bkModeCode);
        dc.restore(KtDC::fontCode);
        dc.restore(KtDC::bitmapCode);
    }   // the release flushes GDI before the pixels are read
    int red = 0, other = 0;
    for (int i = 0; i < 64 * 16; ++i) {
        DWORD p = pixels[i] & 0x00FFFFFF;
        if (p == 0x00FF0000)
            ++red;
        else if (p != 0x0000FF00)
            ++other;    // anti-aliased edges
    }
    EXPECT_GT(red, 10);
    EXPECT_LT(red + other, 64 * 16 / 2) << "the background was painted";
    DeleteObject(font);
    DeleteObject(dib);
}

} // namespace
