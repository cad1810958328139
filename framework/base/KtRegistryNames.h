// KtRegistryNames: the registry keys and value names where the product and the framework keep their settings.
#pragma once

// All keys live under HKEY_CURRENT_USER. A value that is absent reads as its
// default (0 for integers, the empty text for strings).
namespace KtRegistryNames {

// The product key: the setup tool writes it and the host mostly reads it.
// It is created non-volatile, so the setup survives a restart of Windows.
constexpr const char* productKey = "Software\\Lumen\\VELKA\\Pomelo";
constexpr unsigned long productKeyOptions = 0;        // REG_OPTION_NON_VOLATILE

constexpr const char* setupMode = "setupMode";         // REG_DWORD: 0, 1 or 2
constexpr const char* screenWidth = "screenWidth";     // REG_DWORD
constexpr const char* screenHeight = "screenHeight";   // REG_DWORD
constexpr const char* screenDepth = "screenDepth";     // REG_DWORD
constexpr const char* frameMode = "frameMode";         // REG_DWORD
constexpr const char* windowX = "sx";                  // REG_DWORD, written on close
constexpr const char* windowY = "sy";                  // REG_DWORD, written on close
constexpr const char* cdromDrive = "cdromDrive";       // REG_SZ, the setup tool's choice

// The framework key holds the drive of the game disc that "%:" paths stand
// for. It is created volatile: a drive found here is looked for again after
// the next restart of Windows, when the drives may have changed.
constexpr const char* frameworkKey = "Software\\Rowan\\KtLIB";
constexpr unsigned long frameworkKeyOptions = 1;      // REG_OPTION_VOLATILE

constexpr const char* gameDiscDrive = "CD-ROM";        // REG_SZ, letter and colon ("E:")

// The Susie viewer's plug-in folder. The key is the viewer's: it is opened
// read-only and never created here.
constexpr const char* susieKey = "Software\\Hollin\\Susie\\Plug-in";
constexpr const char* susiePath = "Path";              // REG_SZ

}  // namespace KtRegistryNames
