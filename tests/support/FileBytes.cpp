#include "FileBytes.h"

#include <windows.h>

std::string fileBytes(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD done = 0;
    if (!bytes.empty())
        ReadFile(h, &bytes[0], static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(h);
    bytes.resize(done);
    return bytes;
}
