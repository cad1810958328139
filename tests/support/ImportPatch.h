// ImportPatch: replaces one function that the framework imports, for a scope.
#pragma once
#include <windows.h>

// The framework lives in KtLIB.dll, so its calls to the platform and to the
// compiler's run-time library go through KtLIB.dll's import table. Pointing
// one entry at a function of the test shows what the code does around that
// call (a flush, a failure, an allocation) without changing the code. The
// entry is put back on destruction.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the framework does not import the function.
    bool active() const { return slot_ != nullptr; }
    const void* original() const { return original_; }

private:
    static void write(void** slot, const void* value);

    void** slot_ = nullptr;
    const void* original_ = nullptr;
};
