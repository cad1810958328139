// SetupKey: registry reads and writes of the setup tool.
#include "SetupKey.h"

SetupKey::~SetupKey()
{
    close();
}

LONG SetupKey::open(const std::string& path)
{
    close();
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS)
        key_ = key;
    return rc;
}

void SetupKey::close()
{
    if (key_) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

SetupValues SetupKey::load() const
{
    SetupValues values;
    values.width = readDword("screenWidth", 0);
    values.height = readDword("screenHeight", 0);
    values.depth = readDword("screenDepth", 0);
    values.frameMode = readDword("frameMode", 0);
    values.drive = readString("cdromDrive");
    return values;
}

bool SetupKey::isSetUp() const
{
    return readDword("setupMode", 0) == 1;
}

bool SetupKey::save(const SetupValues& values) const
{
    bool ok = writeDword("screenWidth", values.width);
    ok = writeDword("screenHeight", values.height) && ok;
    ok = writeDword("screenDepth", values.depth) && ok;
    ok = writeDword("frameMode", values.frameMode) && ok;
    ok = writeString("cdromDrive", values.drive) && ok;
    return ok && writeDword("setupMode", 1);
}

bool SetupKey::markUnsetIfAbsent() const
{
    return hasValue("setupMode") || writeDword("setupMode", 0);
}

bool SetupKey::hasValue(const char* name) const
{
    return key_ && RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD SetupKey::readDword(const char* name, DWORD fallback) const
{
    DWORD value = 0, type = 0, size = sizeof(value);
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof(value))
        return fallback;
    return value;
}

std::string SetupKey::readString(const char* name) const
{
    // A drive name is two characters; anything longer than this buffer is
    // not a drive and reads as "none" rather than being trusted.
    char buffer[64] = {};
    DWORD type = 0, size = sizeof(buffer) - 1;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS
        || type != REG_SZ)
        return std::string();
    buffer[size < sizeof(buffer) ? size : sizeof(buffer) - 1] = '\0';
    return buffer;
}

bool SetupKey::writeDword(const char* name, DWORD value) const
{
    return key_ && RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                  sizeof(value)) == ERROR_SUCCESS;
}

bool SetupKey::writeString(const char* name, const std::string& value) const
{
    return key_ && RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}
