// CpuFeatures: the processor check behind the choice of pixel loops.
#include "CpuFeatures.h"
#include <cpuid.h>

namespace {

const unsigned osxsaveBit = 1u << 27;   // leaf 1 ECX
const unsigned avxBit = 1u << 28;       // leaf 1 ECX
const unsigned avx2Bit = 1u << 5;       // leaf 7 EBX
const unsigned long long sseAndAvxState = 6;   // XCR0: XMM and YMM state saved

// XGETBV(0) as bytes, so this file needs no instruction-set flag of its own.
// Only run when OSXSAVE says the instruction exists.
unsigned long long readXcr0()
{
    unsigned lo = 0, hi = 0;
    __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

}  // namespace

CpuFeatures CpuFeatures::fromLeaf1Edx(unsigned edx) {
    CpuFeatures f;
    f.mmx = (edx & bit_MMX) != 0;
    f.sse2 = (edx & bit_SSE2) != 0;
    return f;
}

CpuFeatures CpuFeatures::fromRegisters(unsigned leaf1Ecx, unsigned leaf1Edx, unsigned leaf7Ebx,
                                       unsigned long long xcr0) {
    CpuFeatures f = fromLeaf1Edx(leaf1Edx);
    const bool systemSavesYmm = (leaf1Ecx & osxsaveBit) != 0 && (leaf1Ecx & avxBit) != 0 &&
                                (xcr0 & sseAndAvxState) == sseAndAvxState;
    f.avx2 = systemSavesYmm && (leaf7Ebx & avx2Bit) != 0;
    return f;
}

CpuFeatures CpuFeatures::query() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // __get_cpuid first checks that CPUID exists and that leaf 1 is in range.
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return CpuFeatures();
    const unsigned leaf1Ecx = ecx, leaf1Edx = edx;
    unsigned leaf7Ebx = 0;
    if (__get_cpuid_max(0, nullptr) >= 7) {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        leaf7Ebx = ebx;
    }
    const unsigned long long xcr0 = (leaf1Ecx & osxsaveBit) ? readXcr0() : 0;
    return fromRegisters(leaf1Ecx, leaf1Edx, leaf7Ebx, xcr0);
}

const CpuFeatures& CpuFeatures::thisProcessor() {
    static const CpuFeatures features = query();
    return features;
}
