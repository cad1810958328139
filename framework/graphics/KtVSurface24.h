// KtVSurface24: the true-colour off-screen surface of 32-bit pixels, with its lock and transfers.
#pragma once
#include "KtCriticalSection.h"
#include "KtDC.h"
#include <windows.h>

class KtDib;
class KtFile;
class KtRect;
class KtVSurface;
class KtWindow;

// A 32-bit DIB section without a colour table: bytes blue, green, red and a
// fourth byte per pixel, rows bottom-up with a stride of width × 4 (never any
// padding). The 8-bit surfaces blend into it; it is drawn with GDI through a
// memory device context that exists only while locked, as KtVSurface is.
//
// Scenario modules read the fields and call the virtual operations by slot,
// so neither order may change (the field order differs from KtVSurface's).
// hasMmx is 1 when the processor has MMX, as in KtVSurface.
class KtVSurface24 {
public:
    KtVSurface24();
    KtVSurface24(const KtVSurface24&) = delete;           // would delete the DIB section twice
    KtVSurface24& operator=(const KtVSurface24&) = delete;

    virtual ~KtVSurface24();                                                     // 0
    // Takes uncompressed bottom-up DIBs of 8, 24 or 32 bits; others are ignored.
    virtual void createFromDib(const KtDib& dib, int ignored);                   // 1
    virtual void loadResource(const char* nameOrId, int ignored);                // 2
    virtual void create(int width, int height);                                  // 3
    virtual void stretchTo(KtVSurface& dest, int x, int y, int w, int h);        // 4
    virtual int showRect(KtDC& dc, const KtRect& r);                             // 5
    virtual int show(KtDC& dc);                                                  // 6
    virtual int blitTo(KtDC& dc, int x, int y, int w, int h, int sx, int sy);    // 7
    virtual int showInWindow(const KtWindow& window);                            // 8
    virtual void drawDib(const KtDib& dib);                                      // 9
    virtual void tileTo(KtVSurface24& dest, const KtRect* area);                 // 10
    virtual void tileToDC(KtDC& dc, const KtRect& area);                         // 11
    virtual void save(KtFile& file);                                             // 12
    virtual void load(KtFile& file);                                             // 13
    virtual void writeBmp(KtFile& file);                                         // 14

    void destroy();
    KtDC& lock();
    void unlock();
    // Copies 32-bit words, clipped at both surfaces' edges; no colour key.
    void transfer24(KtVSurface24& dest, int dx, int dy, int sx, int sy, int w, int h);

    int width() const { return info ? info->biWidth : 0; }
    int height() const { return info ? info->biHeight : 0; }
    int stride() const { return width() * 4; }
    bool hasPixels() const { return bits != nullptr; }
    // Pixel (x, y) with y from the top; no bounds check.
    BYTE* pixelAddress(int x, int y) const { return bits + ((height() - 1 - y) * width() + x) * 4; }

    HBITMAP bitmap;
    BITMAPINFOHEADER* info;
    BYTE* bits;
    LONG hasMmx;
    KtCriticalSection lockGuard;
    KtDC dc;
    LONG lockCount;

private:
    friend struct KtVSurface24Layout;

    int pixelWidth() const { return bits ? width() : 0; }
    int pixelHeight() const { return bits ? height() : 0; }
    void convertDibPixels(const KtDib& dib);
    int blitPieces(KtDC& dc, int x, int y, int w, int h, int sx, int sy, int cols, int rows);
};
