// CpuFeatures: which of the wide instruction sets the pixel loops use this processor offers.
#pragma once

struct CpuFeatures {
    bool mmx = false;   // CPUID leaf 1, EDX bit 23
    bool sse2 = false;  // CPUID leaf 1, EDX bit 26

    // Asks the processor; a processor without CPUID (or without leaf 1) has neither.
    static CpuFeatures query();

    // What query() gives, asked once per process.
    static const CpuFeatures& thisProcessor();

    // Reads the two bits out of leaf 1's EDX.
    static CpuFeatures fromLeaf1Edx(unsigned edx);
};
