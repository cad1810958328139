// KtStringBuffer: sizing, allocation and copying of a shared text block.
#include "KtStringBuffer.h"
#include "Diagnostic.h"
#include "KtLayoutCheck.h"
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#ifndef _WIN64
static_assert(sizeof(KtStringBuffer) == 24, "vtable, references, length, capacity, growth, text");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(KtStringBuffer, references) == 4, "references follow the vtable");
static_assert(offsetof(KtStringBuffer, length) == 8, "length");
static_assert(offsetof(KtStringBuffer, capacity) == 12, "capacity");
static_assert(offsetof(KtStringBuffer, growth) == 16, "growth");
static_assert(offsetof(KtStringBuffer, text) == 20, "text");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtStringBuffer, references),
                               offsetof(KtStringBuffer, length), offsetof(KtStringBuffer, capacity),
                               offsetof(KtStringBuffer, growth), offsetof(KtStringBuffer, text)}),
              "vtable, references, length, capacity, growth, text");
#endif

namespace {
const char kNoMemory[] = "メモリが足りません！";
const int kMinimumGrowth = 16;

// Replaced only by tests, before the strings they exercise are made.
KtStringBuffer::Allocator volatile currentAllocator = nullptr;
KtStringBuffer::Deallocator volatile currentDeallocator = nullptr;

long long byteLength(const char* text)
{
    return text ? static_cast<long long>(std::strlen(text)) : 0;
}
}

KtStringBuffer::KtStringBuffer(int requestedGrowth, const char* first, const char* second,
                               const char* failureTitle)
    : references(0), length(0), capacity(0), growth(0), text(nullptr)
{
    growth = requestedGrowth < kMinimumGrowth ? kMinimumGrowth : requestedGrowth;
    // Sized in 64 bits: a huge growth unit or text must fail cleanly rather
    // than wrap around to a small block that the copy then overruns.
    long long total = byteLength(first) + byteLength(second);
    long long blocks = (total + 1) / growth + 1;
    long long bytes = blocks * growth;
    if (bytes > INT_MAX)
        throw NotEnoughMemoryException(failureTitle, kNoMemory);
    text = static_cast<char*>(allocate(static_cast<std::size_t>(bytes)));
    if (!text)
        throw NotEnoughMemoryException(failureTitle, kNoMemory);
    length = static_cast<int>(total);
    capacity = static_cast<int>(bytes);
    std::size_t firstBytes = static_cast<std::size_t>(byteLength(first));
    if (firstBytes)
        std::memcpy(text, first, firstBytes);
    std::memcpy(text + firstBytes, second ? second : "", static_cast<std::size_t>(byteLength(second)) + 1);
}

KtStringBuffer::~KtStringBuffer()
{
    deallocate(text);
    text = nullptr;
}

void* KtStringBuffer::operator new(std::size_t size)
{
    void* block = allocate(size);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void KtStringBuffer::operator delete(void* block) noexcept
{
    deallocate(block);
}

KtStringBuffer::Allocators KtStringBuffer::setAllocators(Allocators allocators)
{
    Allocators old = {currentAllocator, currentDeallocator};
    currentAllocator = allocators.allocate;
    currentDeallocator = allocators.deallocate;
    return old;
}

void* KtStringBuffer::allocate(std::size_t size)
{
    Allocator a = currentAllocator;
    return a ? a(size) : std::malloc(size);
}

void KtStringBuffer::deallocate(void* block) noexcept
{
    Deallocator d = currentDeallocator;
    if (d)
        d(block);
    else
        std::free(block);
}
