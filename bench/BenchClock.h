#pragma once
#include <windows.h>

// Milliseconds of the performance counter: the one clock every benchmark
// reads, so that figures of different programs are measured alike.
inline double benchNowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / ticksPerMs;
}
