// KtStringBuffer: the shared, reference-counted text behind KtString handles.
#pragma once

class KtStringBuffer {
public:
    // Copies text and then second (either may be null) into a block of
    // ((length + 1) / growth + 1) * growth bytes, growth at least 16.
    // Throws NotEnoughMemoryException with the given title when out of memory.
    KtStringBuffer(int growth, const char* text, const char* second, const char* failureTitle);
    virtual ~KtStringBuffer();
    KtStringBuffer(const KtStringBuffer&) = delete;
    KtStringBuffer& operator=(const KtStringBuffer&) = delete;

    volatile long references;   // changed only by interlocked increment and decrement
    int length;                 // bytes of text without the terminating NUL
    int capacity;               // bytes allocated for the text
    int growth;                 // growth unit in bytes, at least 16
    char* text;                 // NUL-terminated, owned
};
