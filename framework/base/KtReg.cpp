// KtReg: creation, forgiving indexing and the file form of integer register arrays.
#include "KtReg.h"
#include "KtFile.h"
#include "KtStringRecord.h"
#include "RegisterArray.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <memory>

namespace {
const RegisterCaptions captions = {"KtReg - create", "KtReg - item()"};
}

KtReg::KtReg() : values_(nullptr), count_(0)
{
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(KtReg) == 12, "table pointer, values, count");
    static_assert(offsetof(KtReg, values_) == 4, "values follow the table pointer");
    static_assert(offsetof(KtReg, count_) == 8, "count follows values");
#pragma GCC diagnostic pop
#else
    static_assert(ktFieldsInOrder({offsetof(KtReg, values_), offsetof(KtReg, count_)}),
                  "table pointer, values, count");
#endif
}

KtReg::~KtReg()
{
    clear();
}

RegisterArray<DWORD> KtReg::array()
{
    return RegisterArray<DWORD>(values_, count_, captions);
}

void KtReg::create(int count)
{
    array().create(count);
}

void KtReg::clear()
{
    array().clear();
}

DWORD& KtReg::item(int index)
{
    return array().item(index);
}

void KtReg::save(KtFile& file)
{
    DWORD count = values_ ? static_cast<DWORD>(count_) : 0;
    file.write(&count, sizeof count);
    if (count)
        file.write(values_, count * sizeof(DWORD));
}

bool KtReg::load(KtFile& file)
{
    DWORD start = 0, count = 0;
    if (!RegisterArray<DWORD>::readCount(file, start, count))
        return false;
    std::unique_ptr<DWORD[]> values(array().allocate(static_cast<int>(count)));
    DWORD bytes = count * sizeof(DWORD);
    if (file.read(values.get(), bytes) != bytes) {
        KtStringRecord::rewind(file, start);
        return false;
    }
    array().adopt(values.release(), static_cast<int>(count));
    return true;
}
