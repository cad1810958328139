// KtRegistryKey: opening, closing and reading and writing values of one registry key.
#include "KtRegistryKey.h"
#include <cstddef>
#include <cstring>
#include <new>

// The scenario module reaches these fields directly: vtable pointer,
// disposition, key, then the text of the last string read.
struct KtRegistryKeyLayout {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(KtRegistryKey, disposition_) == 4, "disposition follows the vtable");
    static_assert(offsetof(KtRegistryKey, key_) == 8, "key follows disposition");
    static_assert(offsetof(KtRegistryKey, value_) == 12, "value follows key");
#pragma GCC diagnostic pop
    static_assert(sizeof(KtRegistryKey) == 24, "vtable, disposition, key, KtString");
};

namespace {
// Room past the data so that string data without its terminator (single or
// double byte) still reads as a terminated text.
constexpr DWORD terminatorRoom = 2;
}

KtRegistryKey::KtRegistryKey()
    : disposition_(0), key_(nullptr), value_(256, nullptr)
{
}

KtRegistryKey::~KtRegistryKey()
{
    close();
}

LONG KtRegistryKey::open(HKEY root, const char* subKey, DWORD options, const char* keyClass)
{
    close();
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = RegCreateKeyExA(root, subKey, 0, const_cast<char*>(keyClass ? keyClass : ""),
                                  options, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    disposition_ = disposition;
    key_ = result == ERROR_SUCCESS ? key : nullptr;
    return result;
}

LONG KtRegistryKey::openForReading(HKEY root, const char* subKey)
{
    close();
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(root, subKey, 0, KEY_READ, &key);
    disposition_ = REG_OPENED_EXISTING_KEY;
    key_ = result == ERROR_SUCCESS ? key : nullptr;
    return result;
}

void KtRegistryKey::close()
{
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

void KtRegistryKey::setValue(const char* name, DWORD type, const BYTE* data, DWORD size)
{
    if (key_)
        RegSetValueExA(key_, name, 0, type, data, size);
}

std::unique_ptr<BYTE[]> KtRegistryKey::queryValue(const char* name, DWORD type, DWORD* size)
{
    if (size)
        *size = 0;
    if (!key_)
        return nullptr;
    DWORD needed = 0;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, &needed) != ERROR_SUCCESS)
        return nullptr;
    if (needed > 0xFFFFFFFFu - terminatorRoom)
        return nullptr;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[needed + terminatorRoom]);
    if (!block)
        return nullptr;
    // The value may have grown since its size was asked: the read then fails
    // instead of writing past the block.
    DWORD got = needed;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, block.get(), &got) != ERROR_SUCCESS)
        return nullptr;
    if (got > needed)
        got = needed;
    std::memset(block.get() + got, 0, needed + terminatorRoom - got);
    if (size)
        *size = got;
    return block;
}

void KtRegistryKey::setString(const char* name, const KtString& text)
{
    setValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text.text()),
             static_cast<DWORD>(text.length()) + 1);
}

const KtString& KtRegistryKey::getString(const char* name)
{
    value_.clear();
    if (!key_)
        return value_;
    std::unique_ptr<BYTE[]> block = queryValue(name, REG_SZ);
    if (block)
        value_.create(256, reinterpret_cast<const char*>(block.get()));
    return value_;
}

void KtRegistryKey::setInt(const char* name, DWORD value)
{
    setValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

DWORD KtRegistryKey::getInt(const char* name, DWORD defaultValue)
{
    DWORD size = 0;
    std::unique_ptr<BYTE[]> block = queryValue(name, REG_DWORD, &size);
    if (!block)
        return defaultValue;
    // Little-endian: shorter data is widened with zero high bytes and never
    // read past its end.
    DWORD result = 0;
    for (DWORD i = 0; i < size && i < 4; ++i)
        result |= static_cast<DWORD>(block[i]) << (8 * i);
    return result;
}
