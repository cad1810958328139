// KtSusiePlugIn: the plug-in search, the three plug-in calls and the release of their blocks.
#include "KtSusiePlugIn.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtFileFinder.h"
#include "KtLibrarySearch.h"
#include "KtMessageBox.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "SusiePicture.h"
#include "KtLayoutCheck.h"
#include <cstddef>

// Users of the framework reach these fields by offset.
#ifndef _WIN64
static_assert(sizeof(KtSusiePlugIn) == 52, "table, module, two patterns, two handles");
static_assert(offsetof(KtSusiePlugIn, plugin) == 4, "module after the table pointer");
static_assert(offsetof(KtSusiePlugIn, programPattern) == 12, "program pattern after the module");
static_assert(offsetof(KtSusiePlugIn, susiePattern) == 28, "Susie pattern after the program pattern");
static_assert(offsetof(KtSusiePlugIn, info) == 44, "header block after the patterns");
static_assert(offsetof(KtSusiePlugIn, bits) == 48, "pixel block last");
#else
static_assert(ktFieldsInOrder({offsetof(KtSusiePlugIn, plugin), offsetof(KtSusiePlugIn, programPattern),
                               offsetof(KtSusiePlugIn, susiePattern), offsetof(KtSusiePlugIn, info),
                               offsetof(KtSusiePlugIn, bits)}),
              "table, module, two patterns, two handles");
#endif

namespace {

// The public plug-in interface, all __stdcall.
using GetPluginInfoFn = int(__stdcall*)(int infoNumber, LPSTR buffer, int length);
using IsSupportedFn = int(__stdcall*)(LPCSTR fileName, DWORD_PTR fileHandle);
using GetPictureFn = int(__stdcall*)(LPCSTR source, long offset, unsigned flags, HLOCAL* info,
                                     HLOCAL* bits, KtSusiePlugIn::ProgressFn progress, long data);

// GetPicture's flag for "source is a file name, offset is where the image starts".
constexpr unsigned sourceIsFile = 0;

// Unloads the plug-in when a search step ends, however it ends.
class UnloadOnExit {
public:
    explicit UnloadOnExit(KtModule& module) : module_(module) {}
    ~UnloadOnExit() { module_.free(); }
    UnloadOnExit(const UnloadOnExit&) = delete;
    UnloadOnExit& operator=(const UnloadOnExit&) = delete;

private:
    KtModule& module_;
};

}  // namespace

KtSusiePlugIn::KtSusiePlugIn() : info(nullptr), bits(nullptr)
{
    // Neither pattern ever names the current directory: the Open dialog moves
    // it to the folder of the picked file, and every ".spi" lying beside a
    // picture would then be loaded and run. Without a registered folder the
    // Susie pattern stays empty and only the program's folder is searched.
    KtRegistryKey key;
    if (key.openForReading(HKEY_CURRENT_USER, KtRegistryNames::susieKey) == ERROR_SUCCESS) {
        const KtString& folder = key.getString(KtRegistryNames::susiePath);
        if (isAbsoluteFolder(folder.text())) {
            susiePattern.set(folder);
            appendWildcard(susiePattern);
        }
    }
    // When the program's path cannot be read the pattern stays empty, which
    // no search takes.
    programPattern.setSpecial(KtPathName::executableDirectory);
    if (isAbsoluteFolder(programPattern.text()))
        appendWildcard(programPattern);
}

// A drive-qualified ("C:\...") or UNC ("\\server\...") folder; anything
// else would be resolved against the current directory.
bool KtSusiePlugIn::isAbsoluteFolder(const char* folder)
{
    if (!folder || !folder[0])
        return false;
    const bool drive = folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/');
    const bool unc = folder[0] == '\\' && folder[1] == '\\';
    return drive || unc;
}

KtSusiePlugIn::~KtSusiePlugIn()
{
    freeBlocks();
    plugin.free();
}

// A folder registered with or without its closing backslash gives one
// backslash before the wildcard.
void KtSusiePlugIn::appendWildcard(KtPathName& directory)
{
    KtString pattern(KtPathName::growth, directory.text());
    pattern.append(directory.lacksTrailingBackslash() ? "\\*.spi" : "*.spi");
    directory.set(pattern);
}

bool KtSusiePlugIn::load(KtFile& file, PackedDib& picture)
{
    if (search(programPattern.text(), file, picture))
        return true;
    // A folder is searched once, even when the viewer's is the program's.
    if (susiePattern.length() == 0 || lstrcmpiA(susiePattern.text(), programPattern.text()) == 0)
        return false;
    return search(susiePattern.text(), file, picture);
}

bool KtSusiePlugIn::search(const char* pattern, KtFile& file, PackedDib& picture)
{
    // A relative pattern would be taken in the current directory.
    if (!isAbsoluteFolder(pattern))
        return false;
    KtFileFinder finder(pattern);
    bool found = false;
    while (!found && finder.next()) {
        if (finder.isDirectory())
            continue;
        KtString path(finder.fullPath());
        plugin.free();
        UnloadOnExit unload(plugin);
        // By its absolute path; what it imports comes from its own folder
        // and the system's, never from the current directory.
        if (plugin.load(path.text(), KtLibrarySearch::pluginFlags()) && isImportFilter())
            found = tryPlugin(file, picture);
    }
    finder.close();
    return found;
}

bool KtSusiePlugIn::isImportFilter()
{
    auto getPluginInfo = reinterpret_cast<GetPluginInfoFn>(plugin.procAddress("GetPluginInfo"));
    if (!getPluginInfo)
        return false;
    char version[5] = {};
    getPluginInfo(0, version, sizeof version);
    return version[2] == 'I' && version[3] == 'N';
}

bool KtSusiePlugIn::tryPlugin(KtFile& file, PackedDib& picture)
{
    if (!plugin.handle || !file.isOpen())
        return false;
    // A relative name is taken in the current directory.
    KtPathName path;
    path.set(file.name());
    if (!isSupported(path.text(), file))
        return false;
    auto getPicture = reinterpret_cast<GetPictureFn>(plugin.procAddress("GetPicture"));
    if (!getPicture)
        return false;
    bool decoded = false;
    if (getPicture(path.text(), 0, sourceIsFile, &info, &bits, progress, 0) == 0) {
        auto* header = static_cast<const uint8_t*>(LocalLock(info));
        auto* rows = static_cast<const uint8_t*>(LocalLock(bits));
        // The blocks are the plug-in's: their real sizes bound every copy.
        if (header && rows) {
            picture = SusiePicture::pack(header, LocalSize(info), rows, LocalSize(bits));
            decoded = !picture.empty();
        }
    }
    freeBlocks();
    return decoded;
}

bool KtSusiePlugIn::isSupported(const char* path, KtFile& file)
{
    if (!path || !plugin.handle || !file.isOpen())
        return false;
    LONG high = 0;
    DWORD low = SetFilePointer(file.handle, 0, &high, FILE_CURRENT);
    auto isSupportedFn = reinterpret_cast<IsSupportedFn>(plugin.procAddress("IsSupported"));
    // A handle is a small number, below 0x10000, which tells the plug-in
    // that it is a handle and not a buffer.
    bool supported =
        isSupportedFn && isSupportedFn(path, reinterpret_cast<DWORD_PTR>(file.handle)) != 0;
    SetFilePointer(file.handle, static_cast<LONG>(low), &high, FILE_BEGIN);
    return supported;
}

void KtSusiePlugIn::freeBlocks()
{
    freeBlock(info, "KtSusiePlugIn - 解放できない:header");
    freeBlock(bits, "KtSusiePlugIn - 解放できない:data");
}

void KtSusiePlugIn::freeBlock(HLOCAL& block, const char* text)
{
    if (!block)
        return;
    // The lock count has eight bits; the bound keeps a block that never
    // reports 0 from holding the loop.
    for (int i = 0; i < 256 && (LocalFlags(block) & LMEM_LOCKCOUNT) != 0; ++i)
        LocalUnlock(block);
    block = LocalFree(block);
    if (block)
        KtMessageBox::show(nullptr, text, "KtString class", KtMessageBox::notice);
}

int __stdcall KtSusiePlugIn::progress(int done, int total, long data)
{
    return done == total ? 1 : 0;
}

// The picture was checked when it was packed; the DIB checks it once more
// against the block's size, as it does for every block from outside.
bool KtSusiePlugIn::load(KtFile& file, KtDib& dib)
{
    PackedDib picture;
    if (!load(file, picture))
        return false;
    dib.setPacked(picture.data(), picture.size());
    return dib.header != nullptr;
}

bool KtSusiePlugIn::search(const char* pattern, KtFile& file, KtDib& dib)
{
    PackedDib picture;
    if (!search(pattern, file, picture))
        return false;
    dib.setPacked(picture.data(), picture.size());
    return dib.header != nullptr;
}

bool KtSusiePlugIn::tryPlugin(KtFile& file, KtDib& dib)
{
    PackedDib picture;
    if (!tryPlugin(file, picture))
        return false;
    dib.setPacked(picture.data(), picture.size());
    return dib.header != nullptr;
}
