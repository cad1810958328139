// KtModulePath: the absolute path of the scenario module named in the settings file.
#pragma once
#include "KtString.h"

// The module is found where it always was: beside the program, or in the
// current folder when the player starts the game from a game folder of its
// own. The name is turned into an absolute path here, so that loading it
// does not depend on the current directory being part of the DLL search
// (the host takes it out, see KtLibrarySearch).
class KtModulePath {
public:
    // The first existing file of: the program's folder followed by name,
    // then the current folder followed by name. A name without an extension
    // gets ".dll", as LoadLibrary gives it. An absolute name is kept. When
    // no candidate exists the first is returned, so that loading it fails.
    static KtString resolve(const char* name);

private:
    static bool isAbsolute(const char* name);
    static bool lacksExtension(const char* name);
    static bool isFile(const char* path);
    static KtString inFolder(int folder, const char* name);
};
