// KtStringRecord: the file record of a KtString (a 32-bit count of length + 1, then the text and its NUL).
#pragma once
#include "KtString.h"
#include <windows.h>

class KtFile;

// Reads and writes strings in record form through a KtFile. Each operation
// does nothing when the file is not open; file errors are KtFile's (Retry or
// Cancel, then an exception).
class KtStringRecord {
public:
    // Writes count = length + 1, then the text with its NUL.
    static void save(const KtString& string, KtFile& file);
    // Replaces string's content (growth 256) with the record at the file's
    // position and leaves the file just after it. A count larger than what
    // the file still holds reads only what is there; a record without a NUL
    // keeps at most count bytes.
    static void load(KtString& string, KtFile& file);
    // Length of the text of the record at the file's position, without
    // moving it; 0 for a count of 0 or when no whole count is left.
    static DWORD storedLength(KtFile& file);

    // Reads the 4-byte count at the file's position; false when fewer than
    // four bytes are left (the position has then moved past what was read).
    static bool readCount(KtFile& file, DWORD& count);
    // The file position, to go back to with rewind.
    static DWORD position(KtFile& file);
    static void rewind(KtFile& file, DWORD position);

    KtStringRecord() = delete;
};
