// KtModulePath: finding the scenario module beside the program or in the current folder.
#include "KtModulePath.h"
#include "KtPathName.h"
#include <windows.h>

bool KtModulePath::isAbsolute(const char* name)
{
    const bool drive = name[0] != '\0' && name[1] == ':' && (name[2] == '\\' || name[2] == '/');
    const bool unc = (name[0] == '\\' || name[0] == '/') && (name[1] == '\\' || name[1] == '/');
    return drive || unc;
}

// No full stop in the last part of the name; walked by character, since a
// trail byte of a double-byte character may be a backslash.
bool KtModulePath::lacksExtension(const char* name)
{
    bool dot = false;
    for (const char* p = name; *p; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            dot = false;
        else if (*p == '.')
            dot = true;
    }
    return !dot;
}

bool KtModulePath::isFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

KtString KtModulePath::inFolder(int folder, const char* name)
{
    KtPathName directory;
    directory.setSpecial(folder);
    KtString path(directory.string());
    path.append(name);
    return path;
}

KtString KtModulePath::resolve(const char* name)
{
    if (!name || !name[0])
        return KtString(name ? name : "");
    KtString file(name);
    if (lacksExtension(name))
        file.append(".dll");
    if (isAbsolute(name))
        return file;
    KtString beside = inFolder(KtPathName::executableDirectory, file.text());
    if (isFile(beside.text()))
        return beside;
    KtString current = inFolder(KtPathName::currentDirectory, file.text());
    if (isFile(current.text()))
        return current;
    return beside;
}
