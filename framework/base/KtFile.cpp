// KtFile: opening, reading, writing and closing files with the Retry/Cancel loop.
#include "KtFile.h"
#include "Diagnostic.h"
#include "KtMessageBox.h"
#include "KtPathName.h"
#include <cstddef>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#ifndef _WIN64
static_assert(sizeof(KtFile) == 20, "vtable pointer, handle, name");
static_assert(offsetof(KtFile, handle) == 4, "the handle follows the vtable pointer");
#else
static_assert(offsetof(KtFile, handle) == sizeof(void*), "the handle follows the vtable pointer");
#endif
#pragma GCC diagnostic pop

namespace {
constexpr int nameGrowth = 256;
constexpr DWORD badNetPath = 53;     // ERROR_BAD_NETPATH
constexpr DWORD badNetName = 67;     // ERROR_BAD_NET_NAME
constexpr DWORD netAccessDenied = 2118;
}

KtFile::KtFile(const char* name) : handle(INVALID_HANDLE_VALUE), name_(nameGrowth, name ? name : "")
{
}

KtFile::~KtFile()
{
    close();
}

void KtFile::open(const KtPathName& path, DWORD disposition, DWORD access, DWORD share,
                  DWORD attributes)
{
    // A handle still open here would be lost when the new one is stored.
    if (isOpen()) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    for (;;) {
        HANDLE opened = CreateFileA(path.text(), access, share, nullptr, disposition, attributes,
                                    nullptr);
        if (opened != INVALID_HANDLE_VALUE) {
            handle = opened;
            return;
        }
        DWORD code = GetLastError();
        KtString text(nameGrowth, path.text());
        appendOpenReason(text, code);
        if (!askRetry(text, "KtFile - open"))
            throw CannotOpenException("cannot open", path.text());
    }
}

void KtFile::open(const char* name, DWORD disposition, DWORD access, DWORD share, DWORD attributes)
{
    close();
    name_.create(nameGrowth, name);
    KtPathName path(name);
    open(path, disposition, access, share, attributes);
}

DWORD KtFile::read(void* buffer, DWORD size)
{
    for (;;) {
        DWORD done = 0;
        if (ReadFile(handle, buffer, size, &done, nullptr))
            return done;
        DWORD code = GetLastError();
        KtString text(name_);
        appendReadReason(text, code, handle);
        if (!askRetry(text, "KtFile - read"))
            throw CannotReadException("cannot read", name_.text());
    }
}

DWORD KtFile::write(const void* buffer, DWORD size)
{
    const char* next = static_cast<const char*>(buffer);
    DWORD left = size;
    for (;;) {
        DWORD done = 0;
        DWORD code = 0;
        if (!WriteFile(handle, next, left, &done, nullptr))
            code = GetLastError();
        else if (done >= left)
            return size;
        else
            code = ERROR_DISK_FULL;  // a short write says nothing; the usual cause is a full disk
        // What did reach the file stays; Retry writes the rest after it, so a
        // caller sees the whole buffer written or an exception.
        done = done < left ? done : left;
        next += done;
        left -= done;
        KtString text(name_);
        appendWriteReason(text, code);
        if (!askRetry(text, "KtFile - write"))
            throw CannotWriteException("cannot write", name_.text());
    }
}

void KtFile::close()
{
    if (!isOpen())
        return;
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    name_.clear();
}

void KtFile::replace(const char* written, const char* target)
{
    KtPathName from(written);
    KtPathName to(target);
    for (;;) {
        if (MoveFileExA(from.text(), to.text(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        DWORD code = GetLastError();
        KtString text(nameGrowth, to.text());
        appendWriteReason(text, code);
        if (!askRetry(text, "KtFile - write"))
            throw CannotWriteException("cannot write", to.text());
    }
}

void KtFile::appendOpenReason(KtString& text, DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        text.append("が\n見付かりません");
        return;
    case ERROR_PATH_NOT_FOUND:
        text.append("で\n指定されたパスが見付かりません");
        return;
    case ERROR_ACCESS_DENIED:
        text.append("\nアクセスが拒否されました");
        return;
    case ERROR_NOT_READY:
        text.append("\nドライブの準備ができていません");
        return;
    case ERROR_GEN_FAILURE:
        text.append("\nメディアはフォーマットされていないか、準備ができていません");
        return;
    case ERROR_SHARING_VIOLATION:
        text.append("は\n他のアプリケーションによって開かれています");
        return;
    case badNetPath:
    case badNetName:
        text.append("ネットワークドライブにアクセスできません");
        return;
    case netAccessDenied:
        text.append("\nネットワークドライブにアクセス権がありません");
        return;
    default:
        text.append("\n未知のエラーです code:");
        text.appendUInt(code, 10);
        return;
    }
}

// Reasons that read and write word alike; false when the code is not one of them.
bool KtFile::appendCommonTransferReason(KtString& text, DWORD code)
{
    switch (code) {
    case ERROR_NOT_READY:
        text.append("\nドライブの準備ができていません");
        return true;
    case ERROR_GEN_FAILURE:
        text.append("\nメディアはフォーマットされていないか、準備ができていません");
        return true;
    case ERROR_SHARING_VIOLATION:
        text.append("は\n他のアプリケーションから利用されています");
        return true;
    case ERROR_LOCK_VIOLATION:
        text.append("は\n他のプロセスがファイルをロックしています");
        return true;
    default:
        return false;
    }
}

void KtFile::appendReadReason(KtString& text, DWORD code, HANDLE handle)
{
    if (code == ERROR_ACCESS_DENIED) {
        text.append("への\nアクセスは拒否されました。");
        return;
    }
    if (appendCommonTransferReason(text, code))
        return;
    text.append("読み込みできません\nError code : ");
    text.appendUInt(code, 10);
    text.append("\nFile handle : ");
    text.appendUInt(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(handle)), 10);
}

void KtFile::appendWriteReason(KtString& text, DWORD code)
{
    if (code == ERROR_ACCESS_DENIED) {
        text.append("は\n読み込み専用で開かれています");
        return;
    }
    if (appendCommonTransferReason(text, code))
        return;
    text.append("書き込みできません\nError code : ");
    text.appendUInt(code, 10);
}

bool KtFile::askRetry(const KtString& text, const char* caption)
{
    return KtMessageBox::show(nullptr, text.text(), caption, retryCancelStyle) == IDRETRY;
}
