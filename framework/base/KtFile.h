// KtFile: the one file class, whose open, read and write offer Retry and Cancel before they give up.
#pragma once
#include "KtString.h"
#include <windows.h>

class KtPathName;

// A platform file handle and the name it was opened under. When the platform
// refuses an operation the user is told why in a box offering Retry (insert
// the disc, close the other program) and Cancel; Cancel throws. Callers thus
// see either success or an exception, never a quiet failure.
//
// The field order is shared with scenario modules: handle, then name.
class KtFile {
public:
    // Box style of the retry question: MB_RETRYCANCEL, task-modal, foreground.
    static constexpr UINT retryCancelStyle = MB_RETRYCANCEL | MB_TASKMODAL | MB_SETFOREGROUND; // 0x12005

    explicit KtFile(const char* name = nullptr);
    virtual ~KtFile();
    // Two objects owning one handle would close it twice.
    KtFile(const KtFile&) = delete;
    KtFile& operator=(const KtFile&) = delete;

    // Opens path with CreateFileA. The name field is left as it is.
    void open(const KtPathName& path, DWORD disposition, DWORD access, DWORD share, DWORD attributes);
    // Closes, remembers name, resolves it as a path (relative names in the
    // current directory, "%:" names on the game disc) and opens that.
    void open(const char* name, DWORD disposition, DWORD access, DWORD share, DWORD attributes);
    // Bytes read; 0 at the end of the file.
    DWORD read(void* buffer, DWORD size);
    // Writes the whole buffer and returns size. A refused or short write
    // asks Retry (the rest is written) or Cancel (CannotWriteException).
    DWORD write(const void* buffer, DWORD size);
    // Closes an open file and empties the name; nothing on a closed one.
    void close();

    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    const KtString& name() const { return name_; }

    // Safe save: replaces target with the complete file written beside it,
    // in one step, so that a crash leaves either the old or the new file.
    // Retry and Cancel as for open; Cancel throws CannotWriteException.
    static void replace(const char* written, const char* target);

    // The reason texts put after the subject of a box, by platform error code.
    static void appendOpenReason(KtString& text, DWORD code);
    static void appendReadReason(KtString& text, DWORD code, HANDLE handle);
    static void appendWriteReason(KtString& text, DWORD code);

    // Public: callers seek and ask the size on it directly.
    HANDLE handle;

private:
    static bool appendCommonTransferReason(KtString& text, DWORD code);
    static bool askRetry(const KtString& text, const char* caption);

    KtString name_;
};
