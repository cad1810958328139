// KtStringBuffer: the shared, reference-counted text behind KtString handles.
#pragma once

#include <cstddef>

class KtStringBuffer {
public:
    // Copies text and then second (either may be null) into a block of
    // ((length + 1) / growth + 1) * growth bytes, growth at least 16.
    // Throws NotEnoughMemoryException with the given title when out of memory
    // or when the block would not fit a 32-bit signed size.
    KtStringBuffer(int growth, const char* text, const char* second, const char* failureTitle);
    virtual ~KtStringBuffer();
    KtStringBuffer(const KtStringBuffer&) = delete;
    KtStringBuffer& operator=(const KtStringBuffer&) = delete;

    // Buffers and their texts come from one replaceable allocator, so that a
    // test can make any allocation fail. operator new throws std::bad_alloc.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    using Allocator = void* (*)(std::size_t size);
    using Deallocator = void (*)(void* block);
    struct Allocators {
        Allocator allocate;
        Deallocator deallocate;
    };
    // Nulls restore the defaults (malloc and free). Returns the pair it replaced.
    static Allocators setAllocators(Allocators allocators);
    static void* allocate(std::size_t size);
    static void deallocate(void* block) noexcept;

    volatile long references;   // changed only by interlocked increment and decrement
    int length;                 // bytes of text without the terminating NUL
    int capacity;               // bytes allocated for the text
    int growth;                 // growth unit in bytes, at least 16
    char* text;                 // NUL-terminated, owned
};
