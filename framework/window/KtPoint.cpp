// KtPoint: the 8-byte file record.
#include "KtPoint.h"
#include "KtFile.h"
#include "KtLayoutCheck.h"
#include <cstddef>

// Scenario modules reach the coordinates by offset.
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(KtPoint) == 12, "table pointer, x and y");
static_assert(offsetof(KtPoint, x) == 4 && offsetof(KtPoint, y) == 8, "x, then y");
#pragma GCC diagnostic pop
#else
static_assert(ktFieldsInOrder({offsetof(KtPoint, x), offsetof(KtPoint, y)}), "x, then y");
#endif
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are little-endian");

namespace {
constexpr DWORD kRecordSize = 2 * sizeof(int32_t);
}

KtPoint::~KtPoint() = default;

void KtPoint::write(KtFile& file)
{
    if (!file.isOpen())
        return;
    const int32_t record[2] = {x, y};
    file.write(record, kRecordSize);
}

void KtPoint::read(KtFile& file)
{
    if (!file.isOpen())
        return;
    int32_t record[2];
    if (file.read(record, kRecordSize) != kRecordSize)
        return;
    x = record[0];
    y = record[1];
}
