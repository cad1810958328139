// SetupKey: the product's registry key as the setup tool reads and writes it.
#pragma once
#include "SetupValues.h"
#include <windows.h>
#include <string>

// Owns one open key under HKEY_CURRENT_USER (created when absent,
// non-volatile). Missing values read as their defaults.
class SetupKey {
public:
    SetupKey() = default;
    ~SetupKey();
    SetupKey(const SetupKey&) = delete;
    SetupKey& operator=(const SetupKey&) = delete;

    // Returns the Win32 error code, ERROR_SUCCESS when the key is open.
    LONG open(const std::string& path);
    void close();
    bool isOpen() const { return key_ != nullptr; }

    // The stored settings; defaults (all zero, no drive) where missing.
    SetupValues load() const;
    // True when "setupMode" says the product has been set up (1).
    bool isSetUp() const;
    // Writes every setting and "setupMode" 1 last, so a half-written set
    // never reads as set up. Returns false if any write failed.
    bool save(const SetupValues& values) const;
    // Records "never set up" (0) unless the product already has a state.
    bool markUnsetIfAbsent() const;

private:
    bool hasValue(const char* name) const;
    DWORD readDword(const char* name, DWORD fallback) const;
    std::string readString(const char* name) const;
    bool writeDword(const char* name, DWORD value) const;
    bool writeString(const char* name, const std::string& value) const;

    HKEY key_ = nullptr;
};
