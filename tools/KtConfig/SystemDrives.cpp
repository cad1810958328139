// SystemDrives: listing the logical drives and their kinds.
#include "SystemDrives.h"
#include <windows.h>

DriveList SystemDrives::scan()
{
    std::vector<DriveList::Drive> drives;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        char root[4] = {static_cast<char>('A' + i), ':', '\\', '\0'};
        drives.push_back({root[0], GetDriveTypeA(root)});
    }
    return DriveList(drives);
}
