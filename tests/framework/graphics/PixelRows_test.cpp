// Tests of the pixel row routines: every loop kind (plain, MMX, SSE2, AVX2) against a model of the rules, inside guard pages.
#include "CpuFeatures.h"
#include "PixelLoopKinds.h"
#include "PixelRows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// What the current run is doing, printed when it touches a guard page.
char currentCase[256] = "none";

LONG CALLBACK reportGuardHit(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    std::fprintf(stderr, "access violation at %p during: %s\n",
                 reinterpret_cast<void*>(info->ExceptionRecord->ExceptionInformation[1]),
                 currentCase);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Data pages between two no-access pages. A picture is placed either flush
// against the upper guard (a byte read or written past its end faults) or
// flush against the lower one (a byte before its start faults).
class GuardedArena {
public:
    explicit GuardedArena(size_t dataPages) : capacity_(dataPages * pageSize) {
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, capacity_ + 2 * pageSize,
                                                   MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_, pageSize, PAGE_NOACCESS, &old);
        VirtualProtect(base_ + pageSize + capacity_, pageSize, PAGE_NOACCESS, &old);
    }
    ~GuardedArena() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedArena(const GuardedArena&) = delete;
    GuardedArena& operator=(const GuardedArena&) = delete;

    uint8_t* place(const std::vector<uint8_t>& bytes, bool againstEnd) {
        uint8_t* data = base_ + pageSize;
        uint8_t* p = againstEnd ? data + capacity_ - bytes.size() : data;
        std::memcpy(p, bytes.data(), bytes.size());
        return p;
    }

private:
    static constexpr size_t pageSize = 4096;
    uint8_t* base_;
    size_t capacity_;
};

enum class Routine { copy, copyKeyed, expand, expandKeyed, mix, mixKeyed, mixTable, mixTableKeyed };

const char* nameOf(Routine r) {
    static const char* const names[] = {"copy8", "copyKeyed8", "expand",
                                        "expandKeyed", "mix", "mixKeyed",
                                        "mixTable", "mixTableKeyed"};
    return names[static_cast<int>(r)];
}

bool isKeyed(Routine r) {
    return r == Routine::copyKeyed || r == Routine::expandKeyed || r == Routine::mixKeyed ||
           r == Routine::mixTableKeyed;
}

int destinationPixelBytes(Routine r) { return r == Routine::copy || r == Routine::copyKeyed ? 1 : 4; }

// A w × h rectangle at column srcX of a source and dstX of a destination. Each
// picture has h rows and ends right after the rectangle's top row, the last
// row in memory: that is where the routines' pointers start.
struct Geometry {
    int w, h;
    int srcX, dstX;
    int srcStride, dstStride;  // bytes
    int bpp;                   // destination bytes per pixel

    size_t srcBytes() const { return size_t(h - 1) * srcStride + srcX + w; }
    size_t dstBytes() const { return size_t(h - 1) * dstStride + size_t(dstX + w) * bpp; }
    size_t srcTop() const { return size_t(h - 1) * srcStride + srcX; }
    size_t dstTop() const { return size_t(h - 1) * dstStride + size_t(dstX) * bpp; }
};

struct Job {
    Routine routine;
    Geometry g;
    int level;
    uint8_t key;
};

// The rules written out per byte, row by row from the top, independent of the loops.
void model(const Job& job, const std::vector<uint8_t>& src, std::vector<uint8_t>& dst,
           const uint8_t* colours) {
    const Geometry& g = job.g;
    for (int row = 0; row < g.h; ++row) {
        const size_t s0 = g.srcTop() - size_t(row) * g.srcStride;
        const size_t d0 = g.dstTop() - size_t(row) * g.dstStride;
        for (int x = 0; x < g.w; ++x) {
            const uint8_t s = src[s0 + x];
            if (isKeyed(job.routine) && s == job.key)
                continue;
            if (g.bpp == 1) {
                dst[d0 + x] = s;
                continue;
            }
            const bool mixes = job.routine == Routine::mix || job.routine == Routine::mixKeyed ||
                               job.routine == Routine::mixTable ||
                               job.routine == Routine::mixTableKeyed;
            const int level = mixes ? job.level : 16;
            if (level <= 0)
                continue;
            for (int b = 0; b < 4; ++b) {
                const int p = colours[s * 4 + b];
                uint8_t& d = dst[d0 + size_t(x) * 4 + b];
                d = level >= 16 ? uint8_t(p) : uint8_t((d * (16 - level) + p * level) / 16);
            }
        }
    }
}

void call(const PixelRows& rows, const Job& job, uint8_t* dst, const uint8_t* src,
          const uint8_t* colours) {
    const Geometry& g = job.g;
    switch (job.routine) {
    case Routine::copy:
        return rows.copy8(dst, g.dstStride, src, g.srcStride, g.w, g.h);
    case Routine::copyKeyed:
        return rows.copyKeyed8(dst, g.dstStride, src, g.srcStride, g.w, g.h, job.key);
    case Routine::expand:
        return rows.expand(dst, g.dstStride, src, g.srcStride, g.w, g.h, colours);
    case Routine::expandKeyed:
        return rows.expandKeyed(dst, g.dstStride, src, g.srcStride, g.w, g.h, colours, job.key);
    case Routine::mix:
        return rows.mix(dst, g.dstStride, src, g.srcStride, g.w, g.h, colours, job.level);
    case Routine::mixKeyed:
        return rows.mixKeyed(dst, g.dstStride, src, g.srcStride, g.w, g.h, colours, job.level,
                             job.key);
    case Routine::mixTable:
    case Routine::mixTableKeyed: {
        MixTable table;
        table.prepare(colours, job.level);
        if (job.routine == Routine::mixTable)
            return rows.mixTable(dst, g.dstStride, src, g.srcStride, g.w, g.h, table);
        return rows.mixTableKeyed(dst, g.dstStride, src, g.srcStride, g.w, g.h, table, job.key);
    }
    }
}

const char* nameOf(PixelLoopKind k) {
    static const char* const names[] = {"plain", "mmx", "sse2", "avx2"};
    return names[static_cast<int>(k)];
}

class PixelRowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { AddVectoredExceptionHandler(1, reportGuardHit); }

    PixelRowsTest() : rng(20240607u), srcArena(4), dstArena(16) {
        colours.resize(256 * 4);
        for (uint8_t& c : colours)
            c = biased(0);
    }

    // Random bytes, one in four 0x00 or 0xFF (where lane arithmetic saturates
    // or carries) and one in four the key.
    uint8_t biased(uint8_t key) {
        switch (rng() % 8) {
        case 0: return 0x00;
        case 1: return 0xFF;
        case 2: case 3: return key;
        default: return uint8_t(rng());
        }
    }

    std::vector<uint8_t> picture(size_t bytes, uint8_t key) {
        std::vector<uint8_t> v(bytes);
        for (uint8_t& b : v)
            b = biased(key);
        return v;
    }

    // Runs the job with every loop kind on the same random pictures and
    // returns a description of the first difference from the model, or "".
    std::string check(const Job& job) {
        const Geometry& g = job.g;
        const std::vector<uint8_t> src = picture(g.srcBytes(), job.key);
        const std::vector<uint8_t> before = picture(g.dstBytes(), job.key);
        std::vector<uint8_t> expected = before;
        model(job, src, expected, colours.data());
        const bool againstEnd = (++runs % 2) == 0;
        for (PixelLoopKind kind : kit::loopKinds()) {
            std::snprintf(currentCase, sizeof currentCase,
                          "%s %s w=%d h=%d srcX=%d dstX=%d strides %d/%d level %d key %d %s",
                          nameOf(kind), nameOf(job.routine), g.w, g.h, g.srcX, g.dstX,
                          g.srcStride, g.dstStride, job.level, job.key,
                          againstEnd ? "at the upper guard" : "at the lower guard");
            const uint8_t* s = srcArena.place(src, againstEnd);
            uint8_t* d = dstArena.place(before, againstEnd);
            call(PixelRows::forKind(kind), job, d + g.dstTop(), s + g.srcTop(), colours.data());
            for (size_t i = 0; i < expected.size(); ++i)
                if (d[i] != expected[i])
                    return std::string(currentCase) + ": byte " + std::to_string(i) +
                           " is " + std::to_string(d[i]) + ", expected " +
                           std::to_string(expected[i]) + " (was " + std::to_string(before[i]) + ")";
        }
        return "";
    }

    // Odd positions and strides, varied with w so the sweeps cover them all.
    static Geometry geometry(Routine r, int w, int h, int variant) {
        Geometry g;
        g.w = w;
        g.h = h;
        g.bpp = destinationPixelBytes(r);
        g.srcX = variant % 4;
        g.dstX = (variant * 7) % 5;
        g.srcStride = g.srcX + w + (variant % 3) * 3;
        g.dstStride = (g.dstX + w) * g.bpp + (variant % 4 == 3 ? 1 : variant % 4);
        return g;
    }

    std::mt19937 rng;
    std::vector<uint8_t> colours;
    GuardedArena srcArena, dstArena;
    unsigned runs = 0;
};

TEST_F(PixelRowsTest, CopiesAndExpandsMatchTheRulesAtEveryWidth) {
    const std::vector<int> widths = [] {
        std::vector<int> v;
        for (int w = 0; w <= 40; ++w)
            v.push_back(w);
        for (int w : {47, 48, 49, 63, 64, 65, 640})
            v.push_back(w);
        return v;
    }();
    for (Routine r : {Routine::copy, Routine::copyKeyed, Routine::expand, Routine::expandKeyed})
        for (int w : widths)
            for (int variant = 0; variant < 4; ++variant) {
                const Job job{r, geometry(r, w, 1 + (w + variant) % 4, w + variant), 16,
                              uint8_t(rng())};
                ASSERT_EQ("", check(job));
            }
}

TEST_F(PixelRowsTest, MixesMatchTheRulesAtEveryLevelAndWidth) {
    for (Routine r : {Routine::mix, Routine::mixKeyed, Routine::mixTable, Routine::mixTableKeyed})
        for (int level = -1; level <= 20; ++level)
            for (int w = 0; w <= 40; ++w) {
                const Job job{r, geometry(r, w, 1 + w % 3, w + level + 1), level,
                              uint8_t(rng())};
                ASSERT_EQ("", check(job));
            }
}

TEST_F(PixelRowsTest, KeyedRoutinesHonourEveryKeyByte) {
    for (int key = 0; key <= 255; ++key) {
        const uint8_t k = uint8_t(key);
        ASSERT_EQ("", check({Routine::copyKeyed, geometry(Routine::copyKeyed, 37, 2, key), 16, k}));
        ASSERT_EQ("", check({Routine::expandKeyed, geometry(Routine::expandKeyed, 37, 2, key), 16, k}));
        ASSERT_EQ("", check({Routine::mixKeyed, geometry(Routine::mixKeyed, 37, 2, key), 1 + key % 15, k}));
    }
}

// Source colour (200, 100, 0) at level 8 over (0, 100, 200) meets in the middle
// whichever byte is blue, on every loop kind, in the head, body and tail.
TEST_F(PixelRowsTest, HalfBlendOfTwoColoursMeetsInTheMiddle) {
    std::vector<uint8_t> table(256 * 4, 0);
    const uint8_t source[4] = {200, 100, 0, 0};
    std::memcpy(&table[5 * 4], source, 4);
    const int w = 9, h = 2, stride = w * 4;
    const std::vector<uint8_t> src(size_t(w) * h, 5);
    for (PixelLoopKind kind : kit::loopKinds())
        for (bool keyed : {false, true}) {
            std::vector<uint8_t> dst(size_t(stride) * h);
            for (size_t i = 0; i < dst.size(); i += 4) {
                dst[i] = 0;
                dst[i + 1] = 100;
                dst[i + 2] = 200;
                dst[i + 3] = 0;
            }
            const PixelRows& rows = PixelRows::forKind(kind);
            uint8_t* top = dst.data() + stride;
            if (keyed)
                rows.mixKeyed(top, stride, src.data() + w, w, w, h, table.data(), 8, 6);
            else
                rows.mix(top, stride, src.data() + w, w, w, h, table.data(), 8);
            for (size_t i = 0; i < dst.size(); i += 4) {
                SCOPED_TRACE(std::string(nameOf(kind)) + (keyed ? " keyed" : "") + " pixel " +
                             std::to_string(i / 4));
                EXPECT_EQ(100, dst[i]);
                EXPECT_EQ(100, dst[i + 1]);
                EXPECT_EQ(100, dst[i + 2]);
                EXPECT_EQ(0, dst[i + 3]);
            }
        }
}

// An MMX routine that forgot to empty the MMX state leaves the x87 stack full,
// and the next floating-point operation gives a NaN.
TEST_F(PixelRowsTest, MmxLoopsLeaveFloatingPointUsable) {
    if (!CpuFeatures::thisProcessor().mmx)
        GTEST_SKIP() << "no MMX on this processor";
    const int w = 20;
    std::vector<uint8_t> src(w, 1), dst(w * 4, 7);
    const Job jobs[] = {{Routine::copy, {}, 16, 0},       {Routine::copyKeyed, {}, 16, 0},
                        {Routine::expand, {}, 16, 0},     {Routine::expandKeyed, {}, 16, 0},
                        {Routine::mix, {}, 8, 0},         {Routine::mixKeyed, {}, 8, 0}};
    for (Job job : jobs) {
        job.g = {w, 1, 0, 0, w, w * destinationPixelBytes(job.routine),
                 destinationPixelBytes(job.routine)};
        call(PixelRows::forKind(PixelLoopKind::mmx), job, dst.data(), src.data(), colours.data());
        volatile double a = 1.5, b = 3.0;
        EXPECT_EQ(4.5, a * b) << nameOf(job.routine);
    }
}

TEST(PixelLoopChoice, ForcedKindIsCappedAtWhatTheProcessorOffers) {
    const CpuFeatures& cpu = CpuFeatures::thisProcessor();
    const PixelLoopKind widest = cpu.avx2 && cpu.sse2 ? PixelLoopKind::avx2
                                 : cpu.sse2             ? PixelLoopKind::sse2
                                 : cpu.mmx              ? PixelLoopKind::mmx
                                                        : PixelLoopKind::plain;
    EXPECT_EQ(widest, PixelRows::bestKind());
    PixelRows::forceKind(PixelLoopKind::plain);
    EXPECT_EQ(PixelLoopKind::plain, PixelRows::bestKind());
    EXPECT_EQ(PixelLoopKind::plain, PixelRows::forKind(PixelRows::bestKind()).kind);
    PixelRows::forceKind(PixelLoopKind::avx2);
    EXPECT_EQ(widest, PixelRows::bestKind());
    EXPECT_EQ(widest, PixelRows::forKind(PixelLoopKind::avx2).kind);
    PixelRows::unforceKind();
    EXPECT_EQ(widest, PixelRows::bestKind());
}

TEST(PixelLoopChoice, FeatureBitsAreEdx23And26) {
    EXPECT_TRUE(CpuFeatures::fromLeaf1Edx(1u << 23).mmx);
    EXPECT_FALSE(CpuFeatures::fromLeaf1Edx(1u << 23).sse2);
    EXPECT_TRUE(CpuFeatures::fromLeaf1Edx(1u << 26).sse2);
    EXPECT_FALSE(CpuFeatures::fromLeaf1Edx(~((1u << 23) | (1u << 26))).mmx);
    EXPECT_FALSE(CpuFeatures::fromLeaf1Edx(~((1u << 23) | (1u << 26))).sse2);
}

// AVX2 counts only when the system also saves the 256-bit registers: a
// processor bit alone would let the loops corrupt other threads' registers.
TEST(PixelLoopChoice, Avx2NeedsTheProcessorBitAndTheSavedRegisterState) {
    const unsigned osxsave = 1u << 27, avx = 1u << 28, avx2 = 1u << 5;
    struct Case {
        unsigned leaf1Ecx, leaf7Ebx;
        unsigned long long xcr0;
        bool expected;
    };
    const Case cases[] = {
        {osxsave | avx, avx2, 0x7, true},
        {osxsave | avx, avx2, 0xE7, true},   // more state saved is fine
        {osxsave | avx, 0, 0x7, false},      // no AVX2 in leaf 7
        {osxsave, avx2, 0x7, false},         // AVX itself missing
        {avx, avx2, 0x7, false},             // no XGETBV: state unknown
        {osxsave | avx, avx2, 0x3, false},   // YMM state not saved
        {osxsave | avx, avx2, 0x5, false},   // XMM state not saved
        {~0u & ~osxsave, ~0u, ~0ull, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CpuFeatures::fromRegisters(c.leaf1Ecx, 1u << 26, c.leaf7Ebx, c.xcr0).avx2)
            << std::hex << c.leaf1Ecx << " " << c.leaf7Ebx << " " << c.xcr0;
    EXPECT_TRUE(CpuFeatures::fromRegisters(0, 1u << 23, 0, 0).mmx) << "leaf 1 EDX still read";
}

}  // namespace
