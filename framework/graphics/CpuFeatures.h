// CpuFeatures: which of the wide instruction sets the pixel loops use this processor offers.
#pragma once

struct CpuFeatures {
    bool mmx = false;   // CPUID leaf 1, EDX bit 23
    bool sse2 = false;  // CPUID leaf 1, EDX bit 26
    // CPUID leaf 7 EBX bit 5, and the system saves the 256-bit registers:
    // leaf 1 ECX bits 27 (OSXSAVE) and 28 (AVX), XCR0 bits 1 and 2.
    bool avx2 = false;

    // Asks the processor; a processor without CPUID (or without leaf 1) has none.
    static CpuFeatures query();

    // What query() gives, asked once per process.
    static const CpuFeatures& thisProcessor();

    // Reads the two bits out of leaf 1's EDX.
    static CpuFeatures fromLeaf1Edx(unsigned edx);
    // All of them from the registers query() reads; xcr0 is only meaningful
    // when leaf 1 ECX has OSXSAVE.
    static CpuFeatures fromRegisters(unsigned leaf1Ecx, unsigned leaf1Edx, unsigned leaf7Ebx,
                                     unsigned long long xcr0);
};
