// ImportPatch: replaces one imported function of the test program for a scope.
#pragma once
#include <windows.h>

// The framework is linked into each test program, so its calls to the
// platform go through the program's import table. Pointing one entry at a
// function of the test shows what the code does around that call (a flush,
// a failure) without changing the code. The entry is put back on
// destruction.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // False when the program does not import the function.
    bool active() const { return slot_ != nullptr; }
    const void* original() const { return original_; }

private:
    static void write(void** slot, const void* value);

    void** slot_ = nullptr;
    const void* original_ = nullptr;
};
