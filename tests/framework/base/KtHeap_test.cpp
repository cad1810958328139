// KtHeap: the throwing flag, zero-filling, and null handling.
#include "Diagnostic.h"
#include "KtHeap.h"
#include <gtest/gtest.h>

namespace {

// More than the largest block KtHeap hands out (and than a 32-bit process has room for).
constexpr DWORD impossible = 0xFFFFFFF0;

TEST(KtHeap, FailureThrowsOnlyWithTheThrowingFlag)
{
    EXPECT_EQ(nullptr, KtHeap::malloc(impossible, 0));
    EXPECT_EQ(nullptr, KtHeap::malloc(impossible, KtHeap::zeroFill));
    try {
        KtHeap::malloc(impossible, KtHeap::throwOnFailure | KtHeap::zeroFill);
        FAIL() << "no exception";
    } catch (NotEnoughMemoryException& e) {
        EXPECT_STREQ("KtHeap - malloc", e.title());
        EXPECT_STREQ("メモリが足りません！", e.message());
    }
}

TEST(KtHeap, ZeroFillClearsAReusedBlock)
{
    // Dirty a block and give it back, so the next one of that size is likely
    // the same memory and would show the old bytes without the flag.
    const DWORD size = 4096;
    auto* dirty = static_cast<unsigned char*>(KtHeap::malloc(size, KtHeap::throwOnFailure));
    ASSERT_NE(nullptr, dirty);
    memset(dirty, 0xAA, size);
    EXPECT_TRUE(KtHeap::free(dirty, 0));

    auto* clean = static_cast<unsigned char*>(
        KtHeap::malloc(size, KtHeap::throwOnFailure | KtHeap::zeroFill));
    ASSERT_NE(nullptr, clean);
    for (DWORD i = 0; i < size; ++i)
        ASSERT_EQ(0, clean[i]) << "byte " << i;
    // The throwing flag is taken out before HeapFree too.
    EXPECT_TRUE(KtHeap::free(clean, KtHeap::throwOnFailure));
}

TEST(KtHeap, FreeOfNullReturnsZero)
{
    EXPECT_EQ(0, KtHeap::free(nullptr, 0));
    EXPECT_EQ(0, KtHeap::free(nullptr, KtHeap::throwOnFailure));
}

} // namespace
