// KtSusiePlugIn: tries the installed Susie image plug-ins on a file that no built-in reader knows.
#pragma once
#include "KtModule.h"
#include "KtPathName.h"
#include "PackedDib.h"
#include <windows.h>

class KtDib;
class KtFile;

// Plug-ins (".spi" libraries) are looked for first beside the program, then
// in the folder the Susie viewer registered (an absolute path; never the
// current directory, and not twice when it is the program's folder). Each is loaded, asked whether
// it is an import filter and whether it reads the file, asked to decode it,
// and unloaded again; the first one that decodes the file wins. Nothing of a
// plug-in outlives the call: no library stays loaded, no block stays held.
//
// The fields are in the order the framework's users expect; the DIB loader
// constructs one for a single load and destroys it afterwards.
class KtSusiePlugIn {
public:
    // The progress callback a plug-in receives: (done, total, data) -> 1
    // when done equals total, otherwise 0 (go on).
    using ProgressFn = int(__stdcall*)(int done, int total, long data);

    KtSusiePlugIn();
    virtual ~KtSusiePlugIn();                      // slot 0: frees blocks, unloads
    // One owner for the loaded library and the two blocks.
    KtSusiePlugIn(const KtSusiePlugIn&) = delete;
    KtSusiePlugIn& operator=(const KtSusiePlugIn&) = delete;

    // Searches the program's folder, then the Susie folder. True when a
    // plug-in filled dib; the file should stand where the image starts.
    bool load(KtFile& file, KtDib& dib);
    // Tries every plug-in matching pattern, in the order the platform lists
    // them. A pattern that is not absolute is not searched.
    bool search(const char* pattern, KtFile& file, KtDib& dib);
    // Asks the plug-in loaded now to decode the file into dib.
    bool tryPlugin(KtFile& file, KtDib& dib);

    // The same three, handing the picture over as one packed DIB block.
    bool load(KtFile& file, PackedDib& picture);
    bool search(const char* pattern, KtFile& file, PackedDib& picture);
    bool tryPlugin(KtFile& file, PackedDib& picture);

    // Asks the loaded plug-in's IsSupported about the open file; the file is
    // moved back to where it stood. False without a path, a plug-in, an open
    // file or the export.
    bool isSupported(const char* path, KtFile& file);
    // Unlocks and frees the two blocks of GetPicture; a block that cannot be
    // freed is reported in a box.
    void freeBlocks();
    // True when the loaded plug-in's version text marks an import filter.
    bool isImportFilter();

    static int __stdcall progress(int done, int total, long data);

    KtModule plugin;            // the plug-in loaded at the moment, or none
    KtPathName programPattern;  // the program's folder followed by "*.spi"
    KtPathName susiePattern;    // the registered Susie folder followed by "*.spi", or empty
    HLOCAL info;                // BITMAPINFO block from GetPicture, or null
    HLOCAL bits;                // pixel block from GetPicture, or null

private:
    static void appendWildcard(KtPathName& directory);
    static bool isAbsoluteFolder(const char* folder);
    void freeBlock(HLOCAL& block, const char* text);
};
