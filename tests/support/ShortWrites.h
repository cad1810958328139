// ShortWrites: makes the framework's WriteFile report success after writing only part of the data.
#pragma once
#include "ImportPatch.h"
#include <windows.h>

// While the object lives, the next `times` calls of WriteFile made by the
// framework write only `keep` bytes (at most what was asked) and still
// report success with that count, as a full disk on some file systems or a
// network share does. Later calls write normally. One at a time.
class ShortWrites {
public:
    explicit ShortWrites(int times, DWORD keep = 1);
    ~ShortWrites();
    ShortWrites(const ShortWrites&) = delete;
    ShortWrites& operator=(const ShortWrites&) = delete;

    bool active() const { return patch_.active(); }
    // Calls made through the patch so far, short or not.
    int calls() const { return calls_; }

private:
    static BOOL WINAPI writeFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done,
                                 LPOVERLAPPED overlapped);

    static ShortWrites* current_;
    int left_;
    DWORD keep_;
    int calls_ = 0;
    ImportPatch patch_;
};
