// ContactSheet: laid out in a grid, each shot scaled down with halftone and named below.
#include "ContactSheet.h"
#include <algorithm>

namespace {

BITMAPINFOHEADER header24(int width, int height)
{
    return BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
}

}  // namespace

PlayShot ContactSheet::compose(const std::vector<PlayShot>& shots)
{
    PlayShot sheet;
    sheet.name = "sheet";
    int cellW = 1, cellH = 1;
    for (const PlayShot& s : shots) {
        cellW = std::max(cellW, s.width / 2);
        cellH = std::max(cellH, s.height / 2);
    }
    const int count = std::max<int>(1, int(shots.size()));
    const int cols = std::min(columns, count), rows = (count + columns - 1) / columns;
    sheet.width = gap + cols * (cellW + gap);
    sheet.height = gap + rows * (cellH + labelHeight + gap);
    BITMAPINFOHEADER header = header24(sheet.width, sheet.height);
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP picture = CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
    if (!picture) {
        DeleteDC(memory);
        sheet.width = sheet.height = 0;
        return sheet;
    }
    HGDIOBJ old = SelectObject(memory, picture);
    RECT all{0, 0, sheet.width, sheet.height};
    HBRUSH background = CreateSolidBrush(RGB(0x20, 0x20, 0x20));
    FillRect(memory, &all, background);
    DeleteObject(background);
    SetStretchBltMode(memory, HALFTONE);
    SetBrushOrgEx(memory, 0, 0, nullptr);
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0xF0, 0xF0, 0xF0));
    for (size_t i = 0; i < shots.size(); ++i) {
        const PlayShot& s = shots[i];
        const int x = gap + int(i % columns) * (cellW + gap);
        const int y = gap + int(i / columns) * (cellH + labelHeight + gap);
        BITMAPINFOHEADER from = header24(s.width, s.height);
        StretchDIBits(memory, x, y, s.width / 2, s.height / 2, 0, 0, s.width, s.height, s.pixels.data(),
                      reinterpret_cast<BITMAPINFO*>(&from), DIB_RGB_COLORS, SRCCOPY);
        TextOutA(memory, x, y + cellH + 2, s.name.c_str(), int(s.name.size()));
    }
    GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(bits);
    sheet.pixels.assign(p, p + size_t(PlayShot::stride(sheet.width)) * sheet.height);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    return sheet;
}
