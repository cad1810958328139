// PixelRows: the sets of row routines per loop kind and the choice of the kind for this processor.
#include "PixelRows.h"
#include "CpuFeatures.h"
#include <atomic>

namespace {

const PixelRows plainRows = {PixelLoopKind::plain, copy8Plain,  copyKeyed8Plain,
                             expandPlain,          expandKeyedPlain, mixPlain,
                             mixKeyedPlain, mixTablePlain, mixTableKeyedPlain};
const PixelRows mmxRows = {PixelLoopKind::mmx, copy8Mmx, copyKeyed8Mmx, expandMmx,
                           expandKeyedMmx,     mixMmx,   mixKeyedMmx, mixTableMmx, mixTableKeyedMmx};
const PixelRows sse2Rows = {PixelLoopKind::sse2, copy8Sse2, copyKeyed8Sse2, expandSse2,
                            expandKeyedSse2,     mixSse2,   mixKeyedSse2, mixTableSse2, mixTableKeyedSse2};
const PixelRows avx2Rows = {PixelLoopKind::avx2, copy8Avx2, copyKeyed8Avx2, expandAvx2,
                            expandKeyedAvx2,     mixAvx2,   mixKeyedAvx2, mixTableAvx2, mixTableKeyedAvx2};

// -1 while nothing is forced.
std::atomic<int> forcedKind{-1};

PixelLoopKind widestKind() {
    const CpuFeatures& cpu = CpuFeatures::thisProcessor();
    if (cpu.avx2 && cpu.sse2)
        return PixelLoopKind::avx2;
    if (cpu.sse2)
        return PixelLoopKind::sse2;
    if (cpu.mmx)
        return PixelLoopKind::mmx;
    return PixelLoopKind::plain;
}

PixelLoopKind cap(PixelLoopKind kind) {
    const PixelLoopKind widest = widestKind();
    return static_cast<int>(kind) <= static_cast<int>(widest) ? kind : widest;
}

}  // namespace

const PixelRows& PixelRows::forKind(PixelLoopKind kind) {
    switch (cap(kind)) {
    case PixelLoopKind::avx2:
        return avx2Rows;
    case PixelLoopKind::sse2:
        return sse2Rows;
    case PixelLoopKind::mmx:
        return mmxRows;
    default:
        return plainRows;
    }
}

PixelLoopKind PixelRows::bestKind() {
    const int forced = forcedKind.load();
    return forced < 0 ? widestKind() : cap(static_cast<PixelLoopKind>(forced));
}

long PixelRows::mmxFlag() { return CpuFeatures::thisProcessor().mmx ? 1 : 0; }

const PixelRows& PixelRows::forSurface(long hasMmx) {
    return hasMmx ? forKind(bestKind()) : plainRows;
}

void PixelRows::forceKind(PixelLoopKind kind) { forcedKind.store(static_cast<int>(kind)); }

void PixelRows::unforceKind() { forcedKind.store(-1); }
