// KtPalette: a logical palette built from a DIB's colour table or a surface's colours.
#pragma once
#include <windows.h>

class KtDib;
class KtVSurface;

// Owns one palette handle, released when replaced and at destruction.
class KtPalette {
public:
    KtPalette();
    virtual ~KtPalette();             // slot 0, the only virtual operation
    // Two objects owning one handle would delete it twice.
    KtPalette(const KtPalette&) = delete;
    KtPalette& operator=(const KtPalette&) = delete;

    // Keeps the new palette and deletes the old one; when the platform
    // refuses, nothing changes.
    void create(const LOGPALETTE* logical);
    // paletteSize entries of the DIB's table (flags 0); nothing for a DIB
    // without a colour table.
    void createFromDib(const KtDib& dib);
    // 256 entries of the surface's colour table, each component shifted
    // right by shift. Defined beside the surface.
    void createFromSurface(const KtVSurface& surface, int shift);
    void release();

    HPALETTE palette;

private:
    static void checkLayout();
};
