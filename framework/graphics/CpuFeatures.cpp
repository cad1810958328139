// CpuFeatures: the processor check behind the choice of pixel loops.
#include "CpuFeatures.h"
#include <cpuid.h>

CpuFeatures CpuFeatures::fromLeaf1Edx(unsigned edx) {
    CpuFeatures f;
    f.mmx = (edx & bit_MMX) != 0;
    f.sse2 = (edx & bit_SSE2) != 0;
    return f;
}

CpuFeatures CpuFeatures::query() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // __get_cpuid first checks that CPUID exists and that leaf 1 is in range.
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return CpuFeatures();
    return fromLeaf1Edx(edx);
}

const CpuFeatures& CpuFeatures::thisProcessor() {
    static const CpuFeatures features = query();
    return features;
}
