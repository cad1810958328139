// ktFieldsInOrder: the compile-time check of field order for layouts that
// scenario modules read by position.
//
// The 32-bit product fixes byte offsets and sizes; those checks sit inside
// `#ifndef _WIN64`. A 64-bit build has the natural sizes of pointers and
// handles, so there the same fields are checked in the same order:
//
//   #ifndef _WIN64
//   static_assert(offsetof(KtDC, kind_) == 0);
//   static_assert(offsetof(KtDC, window_) == 4);
//   #else
//   static_assert(ktFieldsInOrder({offsetof(KtDC, kind_), offsetof(KtDC, window_)}));
//   #endif
//
// A reordered field then fails to compile in both builds.
#pragma once

#include <cstddef>

// True when every offset is greater than the one before it.
template <std::size_t N>
constexpr bool ktFieldsInOrder(const std::size_t (&offsets)[N])
{
    for (std::size_t i = 1; i < N; ++i) {
        if (offsets[i - 1] >= offsets[i])
            return false;
    }
    return true;
}
