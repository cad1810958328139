// KtRuntimeSlot: the one scenario runtime of the process, held where the program and every module find it.
#pragma once

// KtLIB.dll is shared by the program and every scenario module, so a value
// kept here is the same for all of them. The framework never looks into the
// runtime: it keeps an untyped pointer that the runtime stores and reads back.
class KtRuntimeSlot {
public:
    static void* get();
    // Stores runtime; returns the one it replaced.
    static void* set(void* runtime);
    // Empties the slot only if it still holds runtime, so a runtime that ends
    // after a newer one started leaves the newer one in place.
    static void clear(void* runtime);
};
