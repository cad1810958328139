// Stands in for the setup tool in end-to-end tests: writes the setup state it is told to.
//
// POMELO_STANDIN_SETUPMODE holds the value to write to "setupMode", or
// "delete" to remove it, or nothing to leave it alone. Every run leaves a
// file "standin-ran.txt" in the current folder, so a test sees that it ran.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
{
    if (FILE* ran = std::fopen("standin-ran.txt", "a")) {
        std::fputs("ran\n", ran);
        std::fclose(ran);
    }
    const char* wanted = std::getenv("POMELO_STANDIN_SETUPMODE");
    if (!wanted || !*wanted)
        return 0;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lumen\\VELKA\\Pomelo", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 1;
    if (std::strcmp(wanted, "delete") == 0) {
        RegDeleteValueA(key, "setupMode");
    } else {
        DWORD value = std::strtoul(wanted, nullptr, 10);
        RegSetValueExA(key, "setupMode", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
    }
    RegCloseKey(key);
    return 0;
}
