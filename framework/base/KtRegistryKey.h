// KtRegistryKey: one open registry key whose values read as defaults when absent.
#pragma once
#include "KtString.h"
#include <windows.h>
#include <memory>

// A thin, scoped wrapper: open a key, read or write a few values, let the
// destructor close it. Nothing here throws or shows a box; a failed open
// leaves the key null and every later read gives its default.
class KtRegistryKey {
public:
    KtRegistryKey();
    virtual ~KtRegistryKey();
    // Two objects closing one HKEY would close it twice.
    KtRegistryKey(const KtRegistryKey&) = delete;
    KtRegistryKey& operator=(const KtRegistryKey&) = delete;

    // Creates or opens subKey under root (KEY_ALL_ACCESS). options is
    // REG_OPTION_VOLATILE or 0; keyClass null means the empty class.
    // Returns the registry's result code, 0 on success.
    LONG open(HKEY root, const char* subKey, DWORD options = 0, const char* keyClass = nullptr);
    // Opens an existing key for reading only (KEY_READ); a key that does
    // not exist stays absent. Returns the registry's result code.
    LONG openForReading(HKEY root, const char* subKey);
    void close();

    void setValue(const char* name, DWORD type, const BYTE* data, DWORD size);
    // The value's data in a block of its own, or null when there is no key,
    // no such value or no memory. The block always holds two NUL bytes past
    // the data, so string data stored without its terminator is still safe
    // to read as text. size (optional) receives the data's byte count.
    // The stored type is not compared with type.
    std::unique_ptr<BYTE[]> queryValue(const char* name, DWORD type, DWORD* size = nullptr);

    void setString(const char* name, const KtString& text);
    // The reference stays valid until the next getString or destruction.
    const KtString& getString(const char* name);
    void setInt(const char* name, DWORD value);
    // Data shorter than four bytes is widened from the bytes present.
    DWORD getInt(const char* name, DWORD defaultValue = 0);

    HKEY handle() const { return key_; }
    // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY, from the last open.
    DWORD disposition() const { return disposition_; }

private:
    friend struct KtRegistryKeyLayout;

    DWORD disposition_;
    HKEY key_;
    KtString value_;
};
