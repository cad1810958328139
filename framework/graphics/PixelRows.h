// PixelRows: the row routines that copy, expand and blend 8-bit pixels, in plain, MMX, SSE2 and AVX2 loops.
#pragma once
#include "MixTable.h"
#include <cstdint>

// Every routine works on a rectangle of w × h pixels, already clipped by the
// caller. The pointers address the TOP row of each rectangle (its leftmost
// pixel); rows are stored bottom-up, so the next row down is reached by
// SUBTRACTING the stride. Strides are in bytes: an 8-bit surface's stride is
// its width rounded up to a multiple of 4, a true-colour surface's its width × 4.
//
// 8-bit pixels are indices into the source's colour table: 256 entries of four
// bytes each (blue, green, red, reserved), the layout of a DIB colour table.
// True-colour pixels are four bytes: blue, green, red and a fourth byte that is
// expanded and blended like the other three.
//
// A key is a byte: source pixels equal to it are left out. Resolving the
// caller's key arguments (no key, the top-left pixel) is the caller's job.
//
// Levels are the source's weight in sixteenths. Any int is accepted: a level of
// 0 or below writes nothing, 16 or above writes the table colours.
//
// Every loop kind gives the same bytes for the same arguments, as long as the
// source and destination rectangles do not overlap. With an overlap the rows go
// from the top down and each row left to right, but how many bytes move at once
// depends on the loop kind.
//
// No routine allocates, locks or calls GDI; a caller writing into a DIB section
// flushes GDI first.

enum class PixelLoopKind { plain = 0, mmx = 1, sse2 = 2, avx2 = 3 };

using Copy8Fn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                         int srcStride, int w, int h);
using CopyKeyed8Fn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                              int srcStride, int w, int h, std::uint8_t key);
using ExpandFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                          int srcStride, int w, int h, const void* colours);
using ExpandKeyedFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                               int srcStride, int w, int h, const void* colours,
                               std::uint8_t key);
using MixFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                       int srcStride, int w, int h, const void* colours, int level);
using MixKeyedFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                            int srcStride, int w, int h, const void* colours, int level,
                            std::uint8_t key);
// The mixes with the colours and level of a prepared table.
using MixTableFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                            int srcStride, int w, int h, const MixTable& table);
using MixTableKeyedFn = void (*)(std::uint8_t* dst, int dstStride, const std::uint8_t* src,
                                 int srcStride, int w, int h, const MixTable& table,
                                 std::uint8_t key);

// One loop kind's routines. A surface picks its set once, at construction:
//   const PixelRows* rows = &PixelRows::forKind(PixelRows::bestKind());
//   rows->mixKeyed(dst, dstStride, src, srcStride, w, h, colours, level, key);
struct PixelRows {
    PixelLoopKind kind;
    // 8-bit to 8-bit, every pixel.
    Copy8Fn copy8;
    // 8-bit to 8-bit, pixels that differ from the key.
    CopyKeyed8Fn copyKeyed8;
    // 8-bit to true colour: each destination pixel becomes the table colour.
    ExpandFn expand;
    ExpandKeyedFn expandKeyed;
    // 8-bit to true colour: each destination byte D becomes
    // (D × (16 − level) + P × level) / 16, P the same byte of the table colour.
    MixFn mix;
    MixKeyedFn mixKeyed;
    // The same as mix and mixKeyed with the table's colours and level, for a
    // caller that blends one table at one level over many pieces.
    MixTableFn mixTable;
    MixTableKeyedFn mixTableKeyed;

    // The set of one loop kind. A kind the processor lacks gives the best one it has.
    static const PixelRows& forKind(PixelLoopKind kind);

    // The widest kind this processor offers (checked once), or the forced kind.
    static PixelLoopKind bestKind();

    // What a surface's hasMmx field holds: 1 when the processor offers MMX,
    // else 0. Modules read the field with that meaning.
    static long mmxFlag();
    // The set a surface uses: plain when its hasMmx is 0 (a module may clear
    // it to get the plain loops), otherwise bestKind's, so that a processor
    // with SSE2 runs the SSE2 loops.
    static const PixelRows& forSurface(long hasMmx);

    // For tests and benchmarks: makes bestKind return `kind` (capped at what the
    // processor offers) until unforceKind; every surface whose hasMmx is set
    // uses that kind meanwhile.
    static void forceKind(PixelLoopKind kind);
    static void unforceKind();
};

// The routines of each kind, for tests and benchmarks that call one directly.
// The MMX, SSE2 and AVX2 ones must only run where the processor has the instructions.
void copy8Plain(std::uint8_t*, int, const std::uint8_t*, int, int, int);
void copy8Mmx(std::uint8_t*, int, const std::uint8_t*, int, int, int);
void copy8Sse2(std::uint8_t*, int, const std::uint8_t*, int, int, int);
void copy8Avx2(std::uint8_t*, int, const std::uint8_t*, int, int, int);
void copyKeyed8Plain(std::uint8_t*, int, const std::uint8_t*, int, int, int, std::uint8_t);
void copyKeyed8Mmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, std::uint8_t);
void copyKeyed8Sse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, std::uint8_t);
void copyKeyed8Avx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, std::uint8_t);
void expandPlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*);
void expandMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*);
void expandSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*);
void expandAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*);
void expandKeyedPlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*,
                      std::uint8_t);
void expandKeyedMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*,
                    std::uint8_t);
void expandKeyedSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*,
                     std::uint8_t);
void expandKeyedAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*,
                     std::uint8_t);
void mixPlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int);
void mixMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int);
void mixSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int);
void mixAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int);
void mixKeyedPlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int,
                   std::uint8_t);
void mixKeyedMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int,
                 std::uint8_t);
void mixKeyedSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int,
                  std::uint8_t);
void mixKeyedAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const void*, int,
                  std::uint8_t);
void mixTablePlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&);
void mixTableMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&);
void mixTableSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&);
void mixTableAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&);
void mixTableKeyedPlain(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&,
                        std::uint8_t);
void mixTableKeyedMmx(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&,
                        std::uint8_t);
void mixTableKeyedSse2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&,
                        std::uint8_t);
void mixTableKeyedAvx2(std::uint8_t*, int, const std::uint8_t*, int, int, int, const MixTable&,
                        std::uint8_t);
