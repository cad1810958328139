// KtVSurface: the 8-bit palettized off-screen surface with its colour table, lock and pixel transfers.
#pragma once
#include "KtCriticalSection.h"
#include "KtDC.h"
#include <windows.h>

class KtDib;
class KtFile;
class KtPathName;
class KtRect;
class KtString;
class KtVSurface24;
class KtWindow;

// The header and colour table of a surface's DIB section, in one block:
// what CreateDIBSection takes as its BITMAPINFO, and what is stored.
struct KtSurfaceInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// An 8-bit DIB section with a colour table of its own. The pixel memory is
// written directly by the transfer routines (after GdiFlush) and drawn with
// GDI through a memory device context that exists only while the surface is
// locked. The lock guards just that context and its nesting count; the
// scenario thread draws into the pixels while the window thread paints them
// without further locking.
//
// Rows are stored bottom-up (positive header height) with a stride of the
// width rounded up to a multiple of 4 bytes, as every 8-bit DIB is.
//
// Scenario modules read the fields and call the virtual operations by slot,
// so neither order may change. hasMmx is 1 when the processor has MMX, else
// 0; the pixel routines then use the widest loops the processor offers
// (SSE2 where present), and the plain ones when it is 0.
class KtVSurface {
public:
    KtVSurface();
    KtVSurface(const KtVSurface&) = delete;               // would delete the DIB section twice
    KtVSurface& operator=(const KtVSurface&) = delete;

    virtual ~KtVSurface();                                                       // 0
    virtual void loadPath(const KtPathName& path, int ignored);                  // 1
    // An empty name lets the user pick the file.
    virtual void loadFile(const KtString& name, int ignored);                    // 2
    // Takes uncompressed bottom-up 8-bit DIBs only; others leave the surface as it is.
    virtual void createFromDib(const KtDib& dib, int ignored);                   // 3
    // nameOrId above 65535 is a file name, otherwise a resource of module.
    virtual void loadResource(const char* nameOrId, int ignored, HMODULE module); // 4
    virtual void create(int width, int height);                                  // 5
    virtual void stretchTo(KtVSurface& dest, int x, int y, int width, int height); // 6
    virtual int showRect(KtDC& dc, const KtRect& r);                             // 7
    virtual int show(KtDC& dc);                                                  // 8
    // A zero w or h means the surface's; 0 when dc holds no context.
    virtual int blitTo(KtDC& dc, int x, int y, int w, int h, int sx, int sy);    // 9
    virtual int showInWindow(const KtWindow& window);                            // 10
    virtual void drawDib(const KtDib& dib);                                      // 11
    // Repeats the picture over area (null: all of dest) from its top-left corner.
    virtual void tileTo(KtVSurface& dest, const KtRect* area, BOOL copyColours); // 12
    virtual void tileToDC(KtDC& dc, const KtRect& area);                         // 13
    virtual void setColours(const RGBQUAD* src, int first, int srcFirst, int count); // 14
    // src is indexed from first, like the table.
    virtual void setColourRange(const RGBQUAD* src, int first, int count);       // 15
    virtual void copyColours(const KtVSurface& other);                           // 16
    virtual void copyDibColours(const KtDib& dib);                               // 17
    // Shows step of steps of a fade toward target without changing the stored
    // table; a step outside 0..steps stores target.
    virtual void fadeColours(const RGBQUAD* target, int step, int steps);        // 18
    virtual void save(KtFile& file);                                             // 19
    virtual void load(KtFile& file);                                             // 20
    virtual void saveBmp(const KtString& path);                                  // 21
    virtual void writeBmp(KtFile& file);                                         // 22
    // Tells an owner which area was drawn; nothing here.
    virtual void changed(const KtRect* area);                                    // 23

    void destroy();
    KtDC& lock();
    void unlock();
    // Writes index into every pixel, or into the part of area inside the surface.
    void fill(BYTE index, const KtRect* area);

    // --- Pixel transfers; this surface is the source ------------------------
    // key -2: opaque; -1: the source's top-left pixel is transparent; 0..255:
    // that index is transparent. Any other key matches no pixel.
    void transfer(KtVSurface& dest, int dx, int dy, int sx, int sy, int w, int h, int key);
    // Mixes the table colours into dest at level sixteenths (clamped to 0..16).
    void blend(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h, int level);
    void blendKeyed(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h, int level,
                    int key);
    // Fits the rectangle inside this surface (source) and dest; false when nothing remains.
    bool clip(const KtVSurface& dest, int& dx, int& dy, int& sx, int& sy, int& w, int& h) const;
    bool clip(const KtVSurface24& dest, int& dx, int& dy, int& sx, int& sy, int& w, int& h) const;

    // --- Reading the picture --------------------------------------------------
    // The header's size; 0 before create.
    int width() const;
    int height() const;
    int stride() const { return (width() + 3) & ~3; }
    bool hasPixels() const { return bits != nullptr; }
    const RGBQUAD* colours() const { return info ? info->colours : nullptr; }
    // Pixel (x, y) with y from the top; no bounds check.
    BYTE* pixelAddress(int x, int y) const { return bits + (height() - 1 - y) * stride() + x; }
    // The index a key argument makes transparent: -1 reads the top-left
    // pixel (the surface must have pixels), 0..255 are themselves, anything
    // else gives -2 (none).
    int resolveKey(int key) const;

    HBITMAP bitmap;
    KtSurfaceInfo* info;
    BYTE* bits;
    KtCriticalSection lockGuard;
    KtDC dc;
    LONG lockCount;
    LONG hasMmx;

private:
    friend struct KtVSurfaceLayout;

    int pixelWidth() const { return bits ? width() : 0; }
    int pixelHeight() const { return bits ? height() : 0; }
    void refreshColours();
    void setSectionColours(const RGBQUAD* table);
    void fillInitialColours(HDC screen);
    void copyDibPixels(const KtDib& dib);
    int blitPieces(KtDC& dc, int x, int y, int w, int h, int sx, int sy, int cols, int rows);
};
