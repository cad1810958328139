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
    // A fresh block may come zeroed from the system anyway: the test takes a
    // block back that it has dirtied, and first proves that without the flag
    // the old bytes would still be there.
    const DWORD size = 4096;
    const DWORD header = 64;   // the heap may keep its own links at the start of a free block
    auto* dirty = static_cast<unsigned char*>(KtHeap::malloc(size, KtHeap::throwOnFailure));
    ASSERT_NE(nullptr, dirty);
    memset(dirty, 0xAA, size);
    EXPECT_TRUE(KtHeap::free(dirty, 0));

    auto* again = static_cast<unsigned char*>(KtHeap::malloc(size, KtHeap::throwOnFailure));
    ASSERT_EQ(dirty, again) << "the heap did not hand the same block back";
    ASSERT_EQ(0xAA, again[header]) << "the heap clears blocks itself: nothing to prove";
    memset(again, 0xAA, size);
    EXPECT_TRUE(KtHeap::free(again, 0));

    auto* clean = static_cast<unsigned char*>(
        KtHeap::malloc(size, KtHeap::throwOnFailure | KtHeap::zeroFill));
    ASSERT_EQ(dirty, clean);
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
