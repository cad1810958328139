// KtHeap: blocks from the process heap for pixel data, file contents and other large or temporary memory.
#pragma once
#include <windows.h>

// Two functions over the process heap. The flag word goes to HeapAlloc and
// HeapFree unchanged except for throwOnFailure, which the heap would read as
// HEAP_GENERATE_EXCEPTIONS (a structured exception, not a C++ one) and which
// is therefore taken out first.
class KtHeap {
public:
    // Turns a failed allocation into NotEnoughMemoryException instead of null.
    static constexpr DWORD throwOnFailure = 0x4;
    // HEAP_ZERO_MEMORY: the block comes zero-filled.
    static constexpr DWORD zeroFill = 0x8;
    // Larger blocks are refused like any other failed allocation. The 32-bit
    // program has 2 GB of address space and could never get one; a 64-bit
    // build would otherwise hand out whatever a corrupt size asks for.
    static constexpr DWORD largestBlock = 0x7FFFFFFF;

    // Returns the block, or null when the heap refuses and throwOnFailure is clear.
    static void* malloc(DWORD size, DWORD flags);
    // Null does nothing and returns 0; otherwise the result of HeapFree.
    static BOOL free(void* block, DWORD flags);

    KtHeap() = delete;
};
