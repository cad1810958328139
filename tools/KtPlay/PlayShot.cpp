// PlayShot: capture from the screen and the BMP file.
#include "PlayShot.h"
#include <cstdio>

bool PlayShot::capture(HWND window)
{
    RECT r;
    if (!window || !GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    width = r.right - r.left;
    height = r.bottom - r.top;
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                       &bits, nullptr, 0);
    bool taken = false;
    if (picture) {
        HGDIOBJ old = SelectObject(memory, picture);
        taken = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != 0;
        GdiFlush();
        const BYTE* from = static_cast<const BYTE*>(bits);
        pixels.assign(from, from + size_t(stride(width)) * height);
        SelectObject(memory, old);
        DeleteObject(picture);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return taken;
}

bool PlayShot::write(const std::string& path) const
{
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, DWORD(pixels.size()), 0, 0, 0, 0};
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
    BITMAPFILEHEADER file{0x4D42, DWORD(offset + pixels.size()), 0, 0, offset};
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   (pixels.empty() || std::fwrite(pixels.data(), pixels.size(), 1, out) == 1);
    return std::fclose(out) == 0 && written;
}

COLORREF PlayShot::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    const BYTE* p = pixels.data() + size_t(height - 1 - y) * stride(width) + size_t(x) * 3;
    return RGB(p[2], p[1], p[0]);
}
