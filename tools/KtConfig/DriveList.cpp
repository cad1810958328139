// DriveList: ordering of the drives offered for the game disc.
#include "DriveList.h"
#include <algorithm>
#include <cctype>

DriveList::DriveList(std::vector<Drive> drives)
{
    for (const Drive& d : drives)
        if (d.kind != unknown && d.kind != noRoot && std::isalpha(static_cast<unsigned char>(d.letter)))
            drives_.push_back({static_cast<char>(std::toupper(static_cast<unsigned char>(d.letter))), d.kind});
    std::stable_sort(drives_.begin(), drives_.end(), [](const Drive& a, const Drive& b) {
        bool aDisc = a.kind == cdrom, bDisc = b.kind == cdrom;
        return aDisc != bDisc ? aDisc : a.letter < b.letter;
    });
}

std::string DriveList::firstCdrom() const
{
    return !drives_.empty() && drives_.front().kind == cdrom ? drives_.front().name() : std::string();
}

int DriveList::find(const std::string& name) const
{
    if (name.size() != 2 || name[1] != ':')
        return -1;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    for (size_t i = 0; i < drives_.size(); ++i)
        if (drives_[i].letter == letter)
            return static_cast<int>(i);
    return -1;
}
