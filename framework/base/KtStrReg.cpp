// KtStrReg: creation, forgiving indexing and the file form of string register arrays.
#include "KtStrReg.h"
#include "KtFile.h"
#include "KtStringRecord.h"
#include "RegisterArray.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <memory>

namespace {
const RegisterCaptions captions = {"KtStrReg - create", "KtStrReg - item()"};
}

KtStrReg::KtStrReg() : strings_(nullptr), count_(0)
{
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(KtStrReg) == 12, "table pointer, strings, count");
    static_assert(offsetof(KtStrReg, strings_) == 4, "strings follow the table pointer");
    static_assert(offsetof(KtStrReg, count_) == 8, "count follows strings");
#pragma GCC diagnostic pop
#else
    static_assert(ktFieldsInOrder({offsetof(KtStrReg, strings_),
                                   offsetof(KtStrReg, count_)}),
                  "table pointer, strings, count");
#endif
}

KtStrReg::~KtStrReg()
{
    clear();
}

RegisterArray<KtString> KtStrReg::array()
{
    return RegisterArray<KtString>(strings_, count_, captions);
}

void KtStrReg::create(int count)
{
    array().create(count);
}

void KtStrReg::clear()
{
    array().clear();
}

KtString& KtStrReg::item(int index)
{
    return array().item(index);
}

void KtStrReg::save(KtFile& file)
{
    DWORD count = strings_ ? static_cast<DWORD>(count_) : 0;
    file.write(&count, sizeof count);
    for (DWORD i = 0; i < count; ++i)
        KtStringRecord::save(strings_[i], file);
}

bool KtStrReg::load(KtFile& file)
{
    // Every record takes at least its 4-byte count, which bounds how many
    // strings the rest of the file can hold.
    DWORD start = 0, count = 0;
    if (!RegisterArray<KtString>::readCount(file, start, count))
        return false;
    std::unique_ptr<KtString[]> strings(array().allocate(static_cast<int>(count)));
    for (DWORD i = 0; i < count; ++i)
        KtStringRecord::load(strings[i], file);
    array().adopt(strings.release(), static_cast<int>(count));
    return true;
}
