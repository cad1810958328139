// KtFileFinder: the directory search behind the plug-in list and other folder walks.
#include "KtFileFinder.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <cstring>

struct KtFileFinderLayout {
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(KtFileFinder, pattern_) == 4, "pattern follows the vtable");
    static_assert(offsetof(KtFileFinder, result_) == 20, "result follows the pattern");
    static_assert(offsetof(KtFileFinder, search_) == 32, "search handle follows the result");
    static_assert(offsetof(KtFileFinder, found_) == 36, "find record follows the handle");
#pragma GCC diagnostic pop
    static_assert(sizeof(WIN32_FIND_DATAA) == 320, "the platform's find record");
    static_assert(sizeof(KtFileFinder) == 356, "vtable, KtPathName, KtString, HANDLE, find record");
#else
    static_assert(ktFieldsInOrder({offsetof(KtFileFinder, pattern_), offsetof(KtFileFinder, result_),
                                   offsetof(KtFileFinder, search_), offsetof(KtFileFinder, found_)}),
                  "vtable, KtPathName, KtString, HANDLE, find record");
#endif
};

KtFileFinder::KtFileFinder()
    : result_(KtPathName::growth, nullptr), search_(INVALID_HANDLE_VALUE), found_()
{
}

KtFileFinder::KtFileFinder(const char* pattern)
    : KtFileFinder()
{
    setPattern(pattern);
}

KtFileFinder::~KtFileFinder()
{
    close();
}

void KtFileFinder::setPattern(const char* pattern)
{
    close();
    pattern_.set(pattern);
}

void KtFileFinder::close()
{
    if (search_ != INVALID_HANDLE_VALUE) {
        FindClose(search_);
        search_ = INVALID_HANDLE_VALUE;
    }
}

// One raw step of the search: the first call starts it, later ones continue.
// An exhausted search keeps its handle, so further calls keep reporting the
// end instead of starting over.
bool KtFileFinder::step()
{
    if (search_ == INVALID_HANDLE_VALUE) {
        search_ = FindFirstFileA(pattern_.text(), &found_);
        return search_ != INVALID_HANDLE_VALUE;
    }
    return FindNextFileA(search_, &found_) != FALSE;
}

bool KtFileFinder::next()
{
    while (step()) {
        if (found_.cFileName[0] == '.')
            continue;
        markDirectory();
        return true;
    }
    return false;
}

// The record holds MAX_PATH bytes; a name that already fills it keeps its
// text unmarked rather than overrun the record (the attribute still tells).
void KtFileFinder::markDirectory()
{
    if (!(found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    size_t n = std::strlen(found_.cFileName);
    if (n + 1 < sizeof found_.cFileName) {
        found_.cFileName[n] = '\\';
        found_.cFileName[n + 1] = '\0';
    }
}

const KtString& KtFileFinder::fullPath()
{
    pattern_.getDirectory(result_);
    result_.append(found_.cFileName);
    result_.setCursor(result_.text());
    return result_;
}
