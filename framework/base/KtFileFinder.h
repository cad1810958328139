// KtFileFinder: walks the entries of a directory that match a wildcard pattern.
#pragma once
#include "KtPathName.h"
#include "KtString.h"
#include <windows.h>

// setPattern, then next until it returns false. Entries whose name begins
// with a full stop ("." and ".." among them) are skipped; a directory's name
// gets a backslash appended, so callers can tell it apart by its text.
class KtFileFinder {
public:
    KtFileFinder();
    explicit KtFileFinder(const char* pattern);
    virtual ~KtFileFinder();
    // Two finders closing one search handle would close it twice.
    KtFileFinder(const KtFileFinder&) = delete;
    KtFileFinder& operator=(const KtFileFinder&) = delete;

    // Closes any open search; a relative pattern is taken in the current directory.
    void setPattern(const char* pattern);
    // The next matching entry, or false when there are no more (every
    // failure of the platform reads as the end).
    bool next();
    // The pattern's directory followed by the current entry's name.
    const KtString& fullPath();
    void close();

    const WIN32_FIND_DATAA& found() const { return found_; }
    const char* name() const { return found_.cFileName; }
    bool isDirectory() const { return (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    const KtPathName& pattern() const { return pattern_; }

private:
    friend struct KtFileFinderLayout;

    bool step();
    void markDirectory();

    KtPathName pattern_;
    KtString result_;
    HANDLE search_;
    WIN32_FIND_DATAA found_;
};
