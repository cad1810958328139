// DriveList: the drives offered for the game disc, CD-ROM drives first.
#pragma once
#include <string>
#include <vector>

class DriveList {
public:
    // Drive kinds as the system reports them for a root directory.
    enum Kind : unsigned { unknown = 0, noRoot = 1, removable = 2, fixed = 3,
                           remote = 4, cdrom = 5, ramDisk = 6 };
    struct Drive {
        char letter;   // 'A' to 'Z'
        unsigned kind; // one of Kind
        std::string name() const { return std::string(1, letter) + ":"; }
    };

    // Takes the drives in any order; keeps the usable ones, CD-ROM drives
    // first, each group in letter order.
    explicit DriveList(std::vector<Drive> drives = {});

    const std::vector<Drive>& drives() const { return drives_; }
    // "D:" for the first CD-ROM drive, empty when there is none.
    std::string firstCdrom() const;
    // Index of the drive named like "D:" (any case), or -1.
    int find(const std::string& name) const;

private:
    std::vector<Drive> drives_;
};
