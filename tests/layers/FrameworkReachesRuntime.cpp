// Never built by default: a framework source that includes a runtime header.
// Compiled with KtLIB's include folders, it must fail with "KtVelka.h: No
// such file", which the LayerIncludeFolders test checks.
#include "KtString.h"
#include "KtVelka.h"

int frameworkReachesRuntime()
{
    return sizeof(KtVelka) + sizeof(KtString);
}
