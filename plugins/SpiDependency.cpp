// SpiDependency: a library a plug-in imports; it lies in no folder a host searches unless a test puts it there.
#define KT_SPI_DEPENDENCY_BUILD
#include "SpiDependency.h"

extern "C" int spiDependencyPresent()
{
    return 1;
}
