// SystemDrives: the drives this machine has, read from the system.
#pragma once
#include "DriveList.h"

class SystemDrives {
public:
    static DriveList scan();
};
