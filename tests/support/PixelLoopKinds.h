// The pixel loop kinds a test can run on this processor, and a scope that
// forces one of them.
#pragma once
#include "PixelRows.h"
#include <vector>

namespace kit {

// Every loop kind the processor offers, plain first.
inline std::vector<PixelLoopKind> loopKinds()
{
    std::vector<PixelLoopKind> kinds;
    for (PixelLoopKind k : {PixelLoopKind::plain, PixelLoopKind::mmx, PixelLoopKind::sse2,
                            PixelLoopKind::avx2})
        if (PixelRows::forKind(k).kind == k)
            kinds.push_back(k);
    return kinds;
}

// Makes every surface with hasMmx set use one loop kind for a scope.
class ForcedKind {
public:
    explicit ForcedKind(PixelLoopKind kind) { PixelRows::forceKind(kind); }
    ~ForcedKind() { PixelRows::unforceKind(); }
    ForcedKind(const ForcedKind&) = delete;
    ForcedKind& operator=(const ForcedKind&) = delete;
};

}  // namespace kit
