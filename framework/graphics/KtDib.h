// KtDib: one device-independent bitmap in memory, the form in which every picture enters the system.
#pragma once
#include <windows.h>
#include <cstddef>

class KtFile;
class KtPathName;
class KtString;

// Two owned blocks from the process heap: the 40-byte info header followed
// by the bit-field masks (with bit-field compression) and the colour table,
// and the pixel rows, bottom row first, each padded to whole 32-bit words.
// A KtDib is empty (all three pointers null) or full.
//
// The fields are read directly by the surfaces, the readers and scenario
// modules, so their order is fixed: header, colours, pixels, colourFlags.
class KtDib {
public:
    static constexpr int flagCount = 256;

    KtDib();
    virtual ~KtDib();                 // slot 0, the only virtual operation
    // Two objects owning the same blocks would free them twice.
    KtDib(const KtDib&) = delete;
    KtDib& operator=(const KtDib&) = delete;

    // Frees both blocks and nulls the three pointers.
    void clear();

    // Pixel (x, y), y counted from the top; bytes per pixel = bit count / 8.
    // Null when empty. Not bounds-checked: the caller keeps to the picture.
    BYTE* pixelAddress(int x, int y) const;
    // Without a header false; true up to 8 bits a pixel; above that only when
    // the header states a used-colour count.
    bool hasColourTable() const;
    // 4-byte entries between the 40-byte header and the rows: the used-colour
    // count, or 2 to the bit count up to 8 bits, plus the three masks of a
    // bit-field picture.
    int colourCount() const;
    // Palette entries: the used-colour count, or 2 to the bit count up to 8 bits.
    int paletteSize() const;
    // The table after the header (and after the masks of a bit-field picture),
    // or null when the picture has none.
    RGBQUAD* colourTable() const;

    // Builds the DIB from a packed block (header, table, rows). The block is
    // trusted to hold what its header states: for blocks the program made.
    // Null only clears.
    void setPacked(const void* block);
    // The same from a block of size bytes from outside (a resource, a file):
    // a header that is malformed or does not fit leaves the DIB empty.
    void setPacked(const void* block, size_t size);

    // Reads a picture from the file's current position: a BMP file, an "MCG "
    // or "SLD" image, or whatever an installed Susie plug-in reads. A file of
    // no known form, or a malformed one, leaves the DIB empty.
    void load(KtFile& file);
    // Opens the named file for reading and loads it; an empty name asks the
    // user in an Open dialog and empties the DIB when the user cancels.
    void loadFile(const KtString& name);
    void loadPath(const KtPathName& path);
    // A value above 65535 is a file name for loadFile. Otherwise a resource
    // name or number in module (null: the program): a bitmap resource, or an
    // "RCG" resource holding an "MCG " image. A missing resource, or an "RCG"
    // resource without its magic, leaves the DIB as it was.
    void loadResource(const char* nameOrId, HMODULE module);

    BITMAPINFOHEADER* header;
    RGBQUAD* colours;
    BYTE* pixels;
    // One flag per colour index; construction sets 10 to 245, a BMP clears
    // all, an "MCG " image stores the fourth byte of each of its colours.
    DWORD colourFlags[flagCount];

private:
    static void checkLayout();
    void setChecked(const BYTE* block, size_t size);
    void adoptReaderBlock(void* block);
    void loadBitmapFile(KtFile& file);
    bool loadFromReaders(KtFile& file, DWORD start);
    bool loadRcgResource(const char* nameOrId, HMODULE module);
};
