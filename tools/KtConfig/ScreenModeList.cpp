// ScreenModeList: collecting and ordering screen resolutions.
#include "ScreenModeList.h"
#include <algorithm>

ScreenModeList::ScreenModeList()
{
    addAlways(640, 480);
}

void ScreenModeList::add(unsigned long width, unsigned long height)
{
    if (width >= 640 && height >= 480)
        addAlways(width, height);
}

void ScreenModeList::addAlways(unsigned long width, unsigned long height)
{
    if (width == 0 || height == 0 || find(width, height) >= 0)
        return;
    Size size{width, height};
    auto at = std::lower_bound(sizes_.begin(), sizes_.end(), size, [](const Size& a, const Size& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    sizes_.insert(at, size);
}

int ScreenModeList::find(unsigned long width, unsigned long height) const
{
    auto it = std::find(sizes_.begin(), sizes_.end(), Size{width, height});
    return it == sizes_.end() ? -1 : static_cast<int>(it - sizes_.begin());
}
