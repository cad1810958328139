// KtPathName: resolving path texts, the current directory, the game disc and well-known folders.
#include "KtPathName.h"
#include "KtMessageBox.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include <windows.h>
#include <shlobj.h>
#include <cstddef>
#include <vector>

struct KtPathNameLayout {
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(KtPathName, path_) == 4, "the path follows the vtable");
#pragma GCC diagnostic pop
    static_assert(sizeof(KtPathName) == 16, "vtable pointer and one KtString");
#else
    static_assert(offsetof(KtPathName, path_) == sizeof(void*), "the path follows the vtable");
#endif
};

namespace {

// The character test: the trail byte of a double-byte character may be 0x5C
// and must not pass for a backslash.
bool lastCharacterIsBackslash(const char* text)
{
    const char* last = nullptr;
    for (const char* p = text; *p; p = CharNextA(p))
        last = p;
    return last && *last == '\\';
}

void reportCurrentDirectoryFailure(DWORD error)
{
    KtString text("KtPathName - create()");
    text.append("でエラーが発生しました\nエラーコードは、");
    text.appendUInt(error);
    text.append("です");
    KtMessageBox::show(nullptr, text.text(), "KtString class", KtMessageBox::notice);
}

// The first drive from A to Z that reports itself as a CD-ROM drive, as a
// letter and a colon; false when there is none.
bool findFirstCdromDrive(char drive[3])
{
    DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(present & (1u << i)))
            continue;
        char root[] = "A:\\";
        root[0] = static_cast<char>('A' + i);
        if (GetDriveTypeA(root) == DRIVE_CDROM) {
            drive[0] = root[0];
            drive[1] = ':';
            drive[2] = '\0';
            return true;
        }
    }
    return false;
}

bool isShellFolder(int folder)
{
    static const int codes[] = {0, 2, 5, 8, 9, 11, 19, 20, 21, 22, 23, 24};
    for (int code : codes)
        if (code == folder)
            return true;
    return false;
}

// The executable's full path, or false when the platform gives none. The
// buffer grows until the name fits: a folder of Japanese names passes 262
// bytes long before it passes MAX_PATH characters. A name that fills the
// buffer may be cut (and unterminated on older systems); cut before a
// double-byte character it may also come out one byte short of the buffer,
// with a count that looks like success. So it counts only when it leaves
// more than two bytes free.
bool readModuleFileName(std::vector<char>& buffer)
{
    const size_t longest = 65536;   // 32767 characters of two bytes each
    for (size_t size = MAX_PATH + 2; size <= 2 * longest; size *= 2) {
        buffer.resize(size);
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(size));
        if (n == 0)
            return false;
        if (n + 2 < size) {
            buffer[n] = '\0';
            return true;
        }
    }
    return false;
}

}  // namespace

KtPathName::KtPathName()
    : path_(growth, nullptr)
{
}

KtPathName::KtPathName(const char* text)
    : KtPathName()
{
    set(text);
}

KtPathName::~KtPathName() = default;

// Reads the current directory into out with a trailing backslash. On
// failure the box is shown and false returned; out is then unchanged.
bool KtPathName::readCurrentDirectory(KtString& out)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        SetLastError(0);
        DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) {
            reportCurrentDirectoryFailure(GetLastError());
            return false;
        }
        if (n < buffer.size())
            break;
        // Deeper than MAX_PATH: n is the size needed, terminator included.
        buffer.resize(n + 1);
    }
    KtString directory(growth, buffer.data());
    if (!lastCharacterIsBackslash(directory.text()))
        directory.append("\\");
    directory.setCursor(directory.text());
    out = directory;
    return true;
}

void KtPathName::setCurrentDirectory()
{
    KtString directory(growth, nullptr);
    if (readCurrentDirectory(directory))
        path_ = directory;
    rewind();
}

void KtPathName::setInCurrentDirectory(const KtPathName& name)
{
    KtString result(growth, nullptr);
    if (!readCurrentDirectory(result))
        return;
    result.append(name.text());
    result.setCursor(result.text());
    path_ = result;
}

void KtPathName::set(const KtString& text)
{
    set(text.text());
}

void KtPathName::set(const char* text)
{
    if (!text) {
        setCurrentDirectory();
        return;
    }
    if (text[0] == '%' && text[1] == ':') {
        setGameDisc(text + 2);
        return;
    }
    bool unc = text[0] == '\\' && text[1] == '\\';
    bool driveQualified = text[0] != '\0' && text[1] == ':';
    if (unc || driveQualified) {
        // Built apart first: text may point into this path's own buffer.
        KtString result(growth, text);
        path_ = result;
        return;
    }
    // Relative; a leading single backslash is kept, giving a doubled one.
    KtString result(growth, nullptr);
    if (!readCurrentDirectory(result))
        return;
    result.append(text);
    result.setCursor(result.text());
    path_ = result;
}

// "%:" stands for the game disc's drive recorded in the framework key. When
// none is recorded the first CD-ROM drive is recorded; with no CD-ROM drive
// the path is the rest of the text alone.
void KtPathName::setGameDisc(const char* rest)
{
    KtRegistryKey key;
    key.open(HKEY_CURRENT_USER, KtRegistryNames::frameworkKey,
             KtRegistryNames::frameworkKeyOptions, nullptr);
    if (key.getString(KtRegistryNames::gameDiscDrive).length() == 0) {
        char drive[3];
        if (findFirstCdromDrive(drive))
            key.setString(KtRegistryNames::gameDiscDrive, KtString(drive));
    }
    KtString result(growth, key.getString(KtRegistryNames::gameDiscDrive).text());
    result.append(rest);
    result.setCursor(result.text());
    path_ = result;
}

void KtPathName::storeDirectory(const char* directory)
{
    KtString result(growth, directory);
    path_ = result;
    if (lacksTrailingBackslash())
        path_.append("\\");
    rewind();
}

void KtPathName::setSpecial(int folder)
{
    if (folder >= executableFile && folder <= lastCurrentDirectory) {
        char buffer[262];
        std::vector<char> program;
        switch (folder) {
        case executableFile:
            if (readModuleFileName(program)) {
                KtString result(growth, program.data());
                path_ = result;
            }
            break;
        case executableDirectory:
            if (readModuleFileName(program)) {
                KtString file(growth, program.data());
                const char* slash = file.findLastOf("\\");
                KtString result(growth, nullptr);
                result.appendN(file.text(), slash ? static_cast<int>(slash - file.text()) + 1
                                                  : file.length());
                path_ = result;
            }
            break;
        case windowsDirectory:
        case systemDirectory: {
            UINT n = folder == windowsDirectory ? GetWindowsDirectoryA(buffer, sizeof buffer)
                                                : GetSystemDirectoryA(buffer, sizeof buffer);
            if (n != 0 && n < sizeof buffer)
                storeDirectory(buffer);
            break;
        }
        default:
            setCurrentDirectory();
            break;
        }
        rewind();
        return;
    }
    if (isShellFolder(folder))
        setShellFolder(folder);
}

void KtPathName::setShellFolder(int csidl)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items)
        return;
    char buffer[MAX_PATH];
    if (SHGetPathFromIDListA(items, buffer)) {
        set(buffer);
        if (lacksTrailingBackslash())
            path_.append("\\");
        rewind();
    }
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
}

bool KtPathName::lacksTrailingBackslash()
{
    bool lacks = path_.seek(-1, 2) != '\\';
    rewind();
    return lacks;
}

void KtPathName::setExtension(const char* extension)
{
    if (!extension || lastCharacterIsBackslash(path_.text()))
        return;
    rewind();
    const char* slash = path_.findLastOf("\\");
    // Without a backslash the whole path is the file name.
    path_.setCursor(slash ? slash + 1 : path_.text());
    const char* dot = path_.findLastOf(".");
    const char* end = dot ? dot : path_.text() + path_.length();
    KtString result(growth, nullptr);
    result.appendN(path_.text(), static_cast<int>(end - path_.text()));
    result.append(extension);
    result.setCursor(result.text());
    path_ = result;
}

void KtPathName::getDirectory(KtString& out)
{
    rewind();
    const char* slash = path_.findLastOf("\\");
    int n = slash ? static_cast<int>(slash - path_.text()) + 1 : path_.length();
    out.clear();
    out.appendN(path_.text(), n);
    out.setCursor(out.text());
    rewind();
}
